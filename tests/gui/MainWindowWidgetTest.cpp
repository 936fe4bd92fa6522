// Wiring of the desktop window: a click reaches its handler, the model reaches the
// widgets. The rules themselves are tested in core.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/Accessibility.h"
#include "gui/AnalysisTabs.h"
#include "gui/CorpusWindow.h"
#include "gui/ExplorerWindow.h"
#include "gui/GuiWindows.h"
#include "gui/MainWindowWidget.h"
#include "gui/QtHost.h"
#include "support/PdfFiles.h"
#include "support/TestFiles.h"
#include "support/Text.h"
#include "ui/InputFile.h"
#include "ui/Program.h"
#include "ui/Startup.h"

namespace quillmoor {
namespace {

std::string FileText(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

using testing::ReadWholeFile;

TEST(MainWindowWidgetTest, ClicksReachTheCoreAndTheModelReachesTheWidgets) {
  Window w;
  MainWindowWidget& window = *w.widget;
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Quillmoor"));
  auto* listWords = Find<QPushButton>(window, "cmdListWords");
  EXPECT_EQ(listWords->text(), QStringLiteral("Create concordance"));
  EXPECT_FALSE(Find<QLineEdit>(window, "txbFile2")->isEnabled());
  // Search mode without an input: refused, and the window shows Create again.
  QTest::mouseClick(Find<QRadioButton>(window, "optSearch"), Qt::LeftButton);
  EXPECT_TRUE(Find<QRadioButton>(window, "optCreate")->isChecked());
  // A typed input, then the main button: the listing reaches the output box.
  testing::TempDir dir;
  auto* box = Find<QLineEdit>(window, "txbFile0");
  box->setText(
      QString::fromStdString(dir.Write("doc.txt", "The rivers ran past the old mills.\r\n")));
  emit box->editingFinished();
  QTest::mouseClick(listWords, Qt::LeftButton);
  EXPECT_TRUE(w.p.blnOutputFileCreated);
  EXPECT_TRUE(Find<QPlainTextEdit>(window, "txbOutput")
                  ->toPlainText()
                  .contains(QStringLiteral("[river 1]")));
  // An option reaches the model and lists again.
  Find<QCheckBox>(window, "chkFrequencies")->click();
  EXPECT_TRUE(
      Find<QPlainTextEdit>(window, "txbOutput")->toPlainText().contains(QStringLiteral("[river]")));
  // Help shows the viewer window with the help text; Close hides it.
  QTest::mouseClick(Find<QPushButton>(window, "cmdHelp"), Qt::LeftButton);
  QWidget* viewer = window.findChild<QWidget*>(QStringLiteral("frmView"));
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Help for Quillmoor"));
  QTest::mouseClick(Find<QPushButton>(*viewer, "cmdClose"), Qt::LeftButton);
  EXPECT_FALSE(viewer->isVisible());
  // F1 shows it too.
  QApplication::setActiveWindow(&window);
  listWords->setFocus();
  QTest::keyClick(listWords, Qt::Key_F1);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_TRUE(Find<QPlainTextEdit>(*viewer, "txbText1")
                  ->toPlainText()
                  .contains(QStringLiteral("STOP WORDS")));
  // The window is as tall as the top of Quit plus 1200 twips (80 pixels).
  auto* quit = Find<QPushButton>(window, "cmdQuit");
  EXPECT_EQ(window.height(), quit->mapTo(&window, QPoint(0, 0)).y() + 80);
}

TEST(MainWindowWidgetTest, StopDuringALongRunStopsIt) {
  Window w;
  w.host.set_unattended_answer(MsgResult::kYes);  // "Do you really wish to stop?"
  testing::TempDir dir;
  std::string text;
  for (int i = 0; i < 400000; ++i)
    text += "word" + std::string(1, static_cast<char>('a' + i % 26)) + " ";
  w.p.frmMain.txbFile[0].text = dir.Write("long.txt", text + "\r\n");
  InputFileLostFocus(w.p, 0);
  w.widget->PushModel();
  auto* button = Find<QPushButton>(*w.widget, "cmdListWords");
  // Stop is pressed at the run's first look at events, whatever the machine's speed.
  bool pressed = false;
  w.host.set_event_interval(0);
  w.host.set_on_events([&] {
    if (pressed) return;
    pressed = true;
    button->click();
  });
  button->click();
  EXPECT_TRUE(pressed);
  const std::string output = w.p.frmMain.txbOutput.text;
  EXPECT_TRUE(output.starts_with("Stopped ") || output.ends_with("Listing stopped.\r\n")) << output;
  EXPECT_EQ(button->text(), QStringLiteral("Create concordance"));
}

// The explorer opens on the run's words, sorts by R1 from the column header with the
// deciding words coloured, and a double-click shows the line's place in the source.
TEST(MainWindowWidgetTest, TheExplorerSortsLinesAndTracesThemToTheSource) {
  Window w;
  auto* explore = Find<QPushButton>(*w.widget, "cmdExplore");
  EXPECT_FALSE(explore->isEnabled());  // no words yet
  testing::TempDir dir;
  w.MakeConcordance(dir.Write(
      "doc.txt", "The river ran past the mill. A river, said he, winds on.\r\nRivers bend.\r\n"));
  ASSERT_TRUE(explore->isEnabled());
  QTest::mouseClick(explore, Qt::LeftButton);
  ExplorerWindow* explorer = w.widget->explorer();
  ASSERT_NE(explorer, nullptr);
  ASSERT_TRUE(explorer->isVisible());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(explorer));
  auto* filter = Find<QLineEdit>(*explorer, "txbFilter");
  QTest::keyClicks(filter, QStringLiteral("riv*"));
  WaitForLines(explorer);
  auto* lines = Find<QTableView>(*explorer, "lstLines");
  ASSERT_EQ(lines->model()->rowCount(), 3);
  lines->horizontalHeader()->sectionClicked(2);  // Right: by R1
  WaitForLines(explorer);
  EXPECT_EQ(Find<QComboBox>(*explorer, "cboSort0")->currentText(), QStringLiteral("R1"));
  QStringList r1;
  for (int row = 0; row < 3; ++row)
    r1 << lines->model()->index(row, 2).data().toString().split(' ', Qt::SkipEmptyParts).value(0);
  EXPECT_EQ(r1, (QStringList{QStringLiteral("bend"), QStringLiteral("ran"), QStringLiteral(",")}));
  const QVariantList spans = lines->model()->index(1, 2).data(Qt::UserRole + 1).toList();
  ASSERT_EQ(spans.size(), 1);  // "ran", coloured as the first level
  EXPECT_EQ(spans[0].toList(), (QVariantList{1, 3, 0}));
  // A double-click on the second line shows "river" in "The river ran" in the source.
  const QModelIndex second = lines->model()->index(1, 1);
  lines->scrollTo(second);
  const QPoint at = lines->visualRect(second).center();
  QTest::mouseClick(lines->viewport(), Qt::LeftButton, {},
                    at);  // the press a double-click begins with
  QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, at);
  auto* source = Find<QPlainTextEdit>(*explorer, "txbSource");
  EXPECT_EQ(source->textCursor().selectedText(), QStringLiteral("river"));
  EXPECT_TRUE(source->toPlainText()
                  .mid(source->textCursor().selectionStart() - 4)
                  .startsWith("The river ran"));
  EXPECT_EQ(Find<QLabel>(*explorer, "lblStatus")->text().left(6), QStringLiteral("3 of 1"));
  // Ctrl+C copies the selected line as TSV; Export writes the lines as shown.
  QTest::keyClick(lines, Qt::Key_C, Qt::ControlModifier);
  EXPECT_TRUE(QApplication::clipboard()->text().startsWith(
      QStringLiteral("The \triver\t ran past the mill. A\triver\t3\t1\t6\n")))
      << QApplication::clipboard()->text().toStdString();
  const QString exported = QString::fromStdString(dir.path() + "/lines.csv");
  ASSERT_TRUE(explorer->Export(exported, KwicFormat::kCsv));
  EXPECT_TRUE(ReadWholeFile(exported.toStdString())
                  .starts_with("left,keyword,right,word,frequency,line,offset\r\n"));
  // The main window's listing is untouched.
  EXPECT_TRUE(w.p.frmMain.txbOutput.text.find("[river") != std::string::npos);
}

// A PDF's lines are cited by page, in the lines and in the source pane.
TEST(MainWindowWidgetTest, TheExplorerCitesAPdfsLinesByPage) {
  Window w;
  testing::TempDir dir;
  w.MakeConcordance(
      dir.Write("doc.pdf", testing::MinimalPdf({"The river ran.", "A river bends."})));
  QTest::mouseClick(Find<QPushButton>(*w.widget, "cmdExplore"), Qt::LeftButton);
  ExplorerWindow* explorer = w.widget->explorer();
  ASSERT_NE(explorer, nullptr);
  QTest::keyClicks(Find<QLineEdit>(*explorer, "txbFilter"), QStringLiteral("river"));
  WaitForLines(explorer);
  auto* lines = Find<QTableView>(*explorer, "lstLines");
  ASSERT_EQ(lines->model()->rowCount(), 2);
  EXPECT_EQ(lines->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Page"));
  EXPECT_EQ(lines->model()->index(0, 4).data().toString(), QStringLiteral("p. 1"));
  EXPECT_EQ(lines->model()->index(1, 4).data().toString(), QStringLiteral("p. 2"));
  lines->setCurrentIndex(lines->model()->index(1, 1));
  QTest::keyClick(lines, Qt::Key_Return);
  EXPECT_EQ(Find<QLabel>(*explorer, "lblSource")->text(), QStringLiteral("Source: p. 2"));
}

// The corpus window builds a corpus from the documents given, shows them, narrows them
// by their names, lists the lines of a word with their documents, finds keywords,
// collocates and dispersion, exports its tables, the main window's table untouched.
TEST(MainWindowWidgetTest, TheCorpusWindowBuildsACorpusAndQueriesIt) {
  Window w;
  testing::TempDir dir;
  setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
  const std::string a = dir.Write("a.txt", "The heron stood by the river. Herons fish.\n");
  const std::string b = dir.Write("b.txt", "A river ran past the heron.\n");
  const std::string list = dir.Write("reference.tsv", "heron\t1\nriver\t500\nstood\t500\n");
  QTest::mouseClick(Find<QPushButton>(*w.widget, "cmdCorpora"), Qt::LeftButton);
  CorpusWindow* corpora = w.widget->corpora();
  ASSERT_NE(corpora, nullptr);
  auto* name = Find<QComboBox>(*corpora, "cboCorpus");
  name->setEditText(QStringLiteral("birds"));
  corpora->AddDocuments({a, b});
  auto* documents = Find<QTableView>(*corpora, "tblDocuments");
  ASSERT_EQ(documents->model()->rowCount(), 2);
  EXPECT_EQ(documents->model()->index(0, 3).data().toString(), QStringLiteral("to add"));
  QTest::mouseClick(Find<QPushButton>(*corpora, "cmdBuild"), Qt::LeftButton);
  ASSERT_EQ(documents->model()->rowCount(), 2)
      << Find<QLabel>(*corpora, "lblCorpusStatus")->text().toStdString();
  EXPECT_EQ(documents->model()->index(0, 3).data().toString(), QStringLiteral("indexed"))
      << Find<QLabel>(*corpora, "lblCorpusStatus")->text().toStdString();
  EXPECT_EQ(documents->model()->index(0, 1).data().toString(),
            QStringLiteral("7"));  // the, stop words too
  // The filter panel: the documents whose name holds "b".
  QTest::keyClicks(Find<QLineEdit>(*corpora, "txbWhere"), QStringLiteral("name~b"));
  QTest::keyClick(Find<QLineEdit>(*corpora, "txbWhere"), Qt::Key_Return);
  EXPECT_EQ(documents->model()->rowCount(), 1)
      << Find<QLabel>(*corpora, "lblCorpusStatus")->text().toStdString();
  Find<QLineEdit>(*corpora, "txbWhere")->clear();
  QTest::keyClick(Find<QLineEdit>(*corpora, "txbWhere"), Qt::Key_Return);
  auto* keywords = Find<QLineEdit>(*corpora, "txbCorpusKeywords");
  QTest::keyClicks(keywords, QStringLiteral("heron"));
  QTest::keyClick(keywords, Qt::Key_Return);
  auto* lines = Find<QTableView>(*corpora, "tblCorpusLines");
  ASSERT_EQ(lines->model()->rowCount(), 3);  // heron, Herons, heron
  EXPECT_EQ(lines->model()->index(0, 0).data().toString(), QStringLiteral("a.txt"));
  EXPECT_EQ(lines->model()->index(2, 0).data().toString(), QStringLiteral("b.txt"));
  EXPECT_EQ(lines->model()->index(1, 2).data().toString(), QStringLiteral("Herons"));
  // A query: a phrase's lines centre the whole phrase; one that cannot be read says why.
  keywords->setText(QStringLiteral("\"the heron\""));
  QTest::keyClick(keywords, Qt::Key_Return);
  ASSERT_EQ(lines->model()->rowCount(), 2);
  EXPECT_EQ(lines->model()->index(0, 2).data().toString(), QStringLiteral("The heron"));
  EXPECT_EQ(lines->model()->index(1, 3).data().toString(), QStringLiteral("."));
  keywords->setText(QStringLiteral("[lemma=\"heron\"]"));
  QTest::keyClick(keywords, Qt::Key_Return);
  EXPECT_TRUE(Find<QLabel>(*corpora, "lblCorpusStatus")
                  ->text()
                  .startsWith(QStringLiteral("The query cannot be read: at character 2")));
  keywords->setText(QStringLiteral("heron"));
  QTest::keyClick(keywords, Qt::Key_Return);
  Find<QComboBox>(*corpora, "cboReference")->setEditText(QString::fromStdString(list));
  QTest::mouseClick(Find<QPushButton>(*corpora, "cmdKeywords"), Qt::LeftButton);
  auto* table = Find<QTableView>(*corpora, "tblKeywords");
  ASSERT_GE(table->model()->rowCount(), 1);
  EXPECT_EQ(table->model()->index(0, 0).data().toString(), QStringLiteral("heron"));
  // The analyses of "heron": "river" is a collocate in both documents; its dispersion.
  auto* tabs = Find<QTabWidget>(*corpora, "tabsCorpus");
  tabs->setCurrentIndex(3);
  QTest::keyClicks(Find<QLineEdit>(*corpora, "txbAnalysisKeywords"), QStringLiteral("heron"));
  QTest::mouseClick(Find<QPushButton>(*corpora, "cmdAnalyse"), Qt::LeftButton);
  auto* analysis = Find<QTableView>(*corpora, "tblAnalysis");
  bool river = false;
  for (int row = 0; row < analysis->model()->rowCount(); ++row)
    river |= analysis->model()->index(row, 0).data().toString() == QStringLiteral("river");
  EXPECT_TRUE(river);
  Find<QComboBox>(*corpora, "cboAnalysis")->setCurrentIndex(2);
  QTest::mouseClick(Find<QPushButton>(*corpora, "cmdAnalyse"), Qt::LeftButton);
  ASSERT_EQ(analysis->model()->rowCount(), 1);
  EXPECT_EQ(analysis->model()->index(0, 3).data().toString(), QStringLiteral("2"));  // documents
  const QString dispersion = QString::fromStdString(dir.path() + "/dispersion.csv");
  ASSERT_TRUE(corpora->ExportTo(dispersion));
  EXPECT_EQ(FileText(dispersion).substr(0, 15), "word,frequency,");
  // All the lines, with their documents.
  tabs->setCurrentIndex(1);
  const QString linesFile = QString::fromStdString(dir.path() + "/lines.tsv");
  ASSERT_TRUE(corpora->ExportTo(linesFile));
  const std::string written = FileText(linesFile);
  EXPECT_EQ(std::count(written.begin(), written.end(), '\n'), 4) << written;
  EXPECT_NE(written.find("\tb.txt\n"), std::string::npos) << written;
  // The main window's own table was never touched.
  EXPECT_FALSE(w.p.blnWordsGot);
  unsetenv("XDG_DATA_HOME");
}

// The analysis tabs work on the words selected in the explorer, compute when shown,
// sort by a header click, and lead back to the lines and the source.

TEST(MainWindowWidgetTest, TheAnalysisTabsLeadBackToLinesAndSource) {
  Window w;
  testing::TempDir dir;
  ExplorerWindow* explorer = ExplorerOnRiver(w, dir);
  QTest::keyClicks(Find<QLineEdit>(*explorer, "txbFilter"), QStringLiteral("river"));
  WaitForLines(explorer);
  // Collocates of "river" (four occurrences) within one word: "ran" follows two of them.
  explorer->tabs()->setCurrentIndex(1);
  Find<QSpinBox>(*explorer->collocates(), "spnLeft")->setValue(1);
  Find<QSpinBox>(*explorer->collocates(), "spnRight")->setValue(1);
  QTableView* collocates = explorer->collocates()->view();
  int ran = -1;
  for (int row = 0; row < collocates->model()->rowCount(); ++row) {
    if (collocates->model()->index(row, 0).data().toString() == QStringLiteral("ran")) ran = row;
  }
  ASSERT_GE(ran, 0);
  EXPECT_EQ(collocates->model()->index(ran, 1).data().toString(), QStringLiteral("2"));
  collocates->doubleClicked(collocates->model()->index(ran, 0));
  EXPECT_EQ(explorer->tabs()->currentIndex(), 0);
  EXPECT_EQ(explorer->rows().size(), 2u);
  EXPECT_TRUE(Find<QLabel>(*explorer, "lblStatus")
                  ->text()
                  .startsWith(QStringLiteral("2 lines with \"ran\"")));
  // Clusters, sorted by their text from the header.
  explorer->tabs()->setCurrentIndex(2);
  QTableView* clusters = explorer->clusters()->view();
  ASSERT_GE(clusters->model()->rowCount(), 1);
  clusters->horizontalHeader()->sectionClicked(0);
  QStringList texts;
  for (int row = 0; row < clusters->model()->rowCount(); ++row)
    texts << clusters->model()->index(row, 0).data().toString();
  // At least twice (the default): "the river" and "river ran", sorted.
  EXPECT_EQ(texts, (QStringList{QStringLiteral("river ran"), QStringLiteral("the river")}));
  // Dispersion: a click on the plot's last tick shows that occurrence in the source.
  explorer->tabs()->setCurrentIndex(3);
  DispersionPlotView* plot = explorer->dispersion()->plotView();
  ASSERT_NE(plot->plot(), nullptr);
  const PlotItem* last = nullptr;
  for (const PlotItem& item : plot->plot()->items()) {
    if (item.kind == PlotItem::kLine && item.color == 0x1f4e9c) last = &item;
  }
  ASSERT_NE(last, nullptr);
  QTest::mouseClick(plot, Qt::LeftButton, {},
                    QPoint(static_cast<int>(last->x1), static_cast<int>(last->y1) + 5));
  auto* source = Find<QPlainTextEdit>(*explorer, "txbSource");
  EXPECT_EQ(source->textCursor().selectedText(), QStringLiteral("river"));
  EXPECT_TRUE(
      source->toPlainText().mid(source->textCursor().selectionStart()).startsWith("river ran dry"));
  const QString svg = QString::fromStdString(dir.path() + "/plot.svg"),
                png = QString::fromStdString(dir.path() + "/plot.png");
  ASSERT_TRUE(explorer->dispersion()->ExportSvg(svg));
  ASSERT_TRUE(explorer->dispersion()->ExportPng(png));
  EXPECT_TRUE(ReadWholeFile(svg.toStdString()).starts_with("<?xml"));
  EXPECT_TRUE(ReadWholeFile(png.toStdString()).starts_with("\x89PNG"));
}

// The explorer's filter takes a query: its matches are the word list's entries and the
// lines, the source marks a whole match, the analyses work around the matches, a query
// that cannot be read says why in the status line, and Enter keeps a query in the history.
TEST(MainWindowWidgetTest, TheExplorersFilterTakesAQuery) {
  Window w;
  testing::TempDir dir;
  ExplorerWindow* explorer = ExplorerOnRiver(w, dir);
  auto* filter = Find<QLineEdit>(*explorer, "txbFilter");
  QTest::keyClicks(filter, QStringLiteral("\"the river\" ran"));
  WaitForLines(explorer);
  auto* lines = Find<QTableView>(*explorer, "lstLines");
  auto* words = Find<QTableView>(*explorer, "lstWords");
  ASSERT_EQ(words->model()->rowCount(), 2);  // "the river" (twice), "ran" (twice)
  ASSERT_EQ(lines->model()->rowCount(), 4);
  QStringList keywords;
  for (int row = 0; row < 4; ++row) keywords << lines->model()->index(row, 1).data().toString();
  keywords.sort();
  EXPECT_EQ(keywords, (QStringList{QStringLiteral("The river"), QStringLiteral("ran"),
                                   QStringLiteral("ran"), QStringLiteral("the river")}));
  lines->setCurrentIndex(lines->model()->index(0, 1));
  QTest::keyClick(lines, Qt::Key_Return);
  auto* source = Find<QPlainTextEdit>(*explorer, "txbSource");
  EXPECT_EQ(source->textCursor().selectedText(), lines->model()->index(0, 1).data().toString());
  EXPECT_EQ(source->textCursor().selectedText().size(), 9);  // the whole phrase
  // The case as typed: "The river" no more.
  Find<QCheckBox>(*explorer, "chkFilterCaseSensitive")->setChecked(true);
  WaitForLines(explorer);
  EXPECT_EQ(lines->model()->rowCount(), 3);
  Find<QCheckBox>(*explorer, "chkFilterCaseSensitive")->setChecked(false);
  QTest::keyClick(filter, Qt::Key_Return);
  // Within a line: "winds on" ends the first line, "Rivers" begins the second.
  filter->setText(QStringLiteral("\"winds on\" FOLLOWED/2 rivers"));
  WaitForLines(explorer);
  EXPECT_EQ(lines->model()->rowCount(), 1);
  Find<QCheckBox>(*explorer, "chkFilterWithinLine")->setChecked(true);
  WaitForLines(explorer);
  EXPECT_EQ(lines->model()->rowCount(), 0);
  Find<QCheckBox>(*explorer, "chkFilterWithinLine")->setChecked(false);
  EXPECT_EQ(explorer->queryBox()->History(), QStringList{QStringLiteral("\"the river\" ran")});
  // Collocates around "the river" alone: "ran" follows both, and neither word of the
  // phrase is a collocate of it.
  filter->setText(QStringLiteral("\"the river\""));
  WaitForLines(explorer);
  explorer->tabs()->setCurrentIndex(1);
  Find<QSpinBox>(*explorer->collocates(), "spnLeft")->setValue(0);
  Find<QSpinBox>(*explorer->collocates(), "spnRight")->setValue(1);
  QTableView* collocates = explorer->collocates()->view();
  ASSERT_EQ(collocates->model()->rowCount(), 1);
  EXPECT_EQ(collocates->model()->index(0, 0).data().toString(), QStringLiteral("ran"));
  EXPECT_EQ(collocates->model()->index(0, 1).data().toString(), QStringLiteral("2"));
  explorer->tabs()->setCurrentIndex(0);
  filter->setText(QStringLiteral("\"the river"));
  EXPECT_TRUE(Find<QLabel>(*explorer, "lblStatus")
                  ->text()
                  .startsWith(QStringLiteral("The query cannot be read: at character 11")))
      << Find<QLabel>(*explorer, "lblStatus")->text().toStdString();
  EXPECT_EQ(lines->model()->rowCount(), 0);
}

TEST(MainWindowWidgetTest, SettingsFilesAreSavedAndLoadedThroughTheFileDialogs) {
  Window w;
  QTest::mouseClick(Find<QPushButton>(*w.widget, "cmdSetParameters"), Qt::LeftButton);
  QWidget* params = w.widget->findChild<QWidget*>(QStringLiteral("frmParams"));
  ASSERT_NE(params, nullptr);
  for (const char* name :
       {"chkAllowWordsWithHyphens", "chkIgnoreInfrequentWords", "cboThresholdFrequency",
        "txbStopWordsFile", "cmdClearStopWordsFile", "cmdListStopWords", "cmdSelectStopWordsFile1",
        "cmdSelectStopWordsFile0", "txbExtraStopWords", "cmdClearExtraStopWords", "cmdInitialize",
        "cmdClose", "chkWindowsText"}) {
    EXPECT_NE(params->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
  }
  // The window ends 600 twips (40 pixels) below the settings-file frame.
  QWidget* frame5 = Find<QWidget>(*params, "Frame5");
  EXPECT_EQ(params->height(), frame5->geometry().bottom() + 1 + 40);
  auto* quit = Find<QPushButton>(*params, "cmdQuit");
  EXPECT_LE(quit->mapTo(params, QPoint(0, quit->height())).y(), params->height());

  testing::TempDir dir;
  // A name outside Windows-1252 reaches the file system as it is.
  const QString kvf = QString::fromStdString(
      dir.path() + "/\xCF\x81\xCF\x85\xCE\xB8\xCE\xBC\xCE\xAF\xCF\x83\xCE\xB5\xCE\xB9\xCF\x82.kvf");
  Find<QCheckBox>(*params, "chkAllowWordsWithNumerals")->click();
  Find<QCheckBox>(*params, "chkWindowsText")->click();
  QString title;
  AnswerFileDialog(kvf, &title);
  Find<QPushButton>(*params, "cmdSaveLoadState0")->click();
  EXPECT_EQ(title, QStringLiteral("Specify file to save settings to"));
  EXPECT_TRUE(std::filesystem::exists(kvf.toStdString()));
  EXPECT_EQ(Find<QLabel>(*params, "lblParameters")->text(), QStringLiteral("Settings saved to"));
  auto* box = Find<QLineEdit>(*params, "txbParametersFile");
  EXPECT_TRUE(box->isVisible());
  EXPECT_EQ(box->text(), kvf);

  // Cancelling changes nothing.
  Find<QCheckBox>(*params, "chkAllowWordsWithNumerals")->click();
  Find<QCheckBox>(*params, "chkWindowsText")->click();
  EXPECT_EQ(w.p.frmParams.chkWindowsText.value, 0);
  AnswerFileDialog(QString(), &title);
  Find<QPushButton>(*params, "cmdSaveLoadState1")->click();
  EXPECT_EQ(title, QStringLiteral("Specify file to load settings from."));
  EXPECT_FALSE(Find<QCheckBox>(*params, "chkAllowWordsWithNumerals")->isChecked());

  // Loading brings the saved option back.
  AnswerFileDialog(kvf, &title);
  Find<QPushButton>(*params, "cmdSaveLoadState1")->click();
  EXPECT_TRUE(Find<QCheckBox>(*params, "chkAllowWordsWithNumerals")->isChecked());
  EXPECT_EQ(w.p.frmParams.chkAllowWordsWithNumerals.value, 1);
  EXPECT_TRUE(Find<QCheckBox>(*params, "chkWindowsText")->isChecked());
  EXPECT_EQ(w.p.frmParams.chkWindowsText.value, 1);
  EXPECT_EQ(Find<QLabel>(*params, "lblParameters")->text(), QStringLiteral("Settings loaded from"));
  QTest::mouseClick(Find<QPushButton>(*params, "cmdClose"), Qt::LeftButton);
  EXPECT_FALSE(params->isVisible());
}

TEST(MainWindowWidgetTest, SearchModeListsTheKeywordsAndWritesTheResultsFile) {
  Window w;
  w.host.set_unattended_answer(MsgResult::kYes);  // write the concordance
  testing::TempDir dir;
  auto* input = Find<QLineEdit>(*w.widget, "txbFile0");
  input->setText(QString::fromStdString(
      dir.Write("doc.txt", "The rivers ran past the old mills. Love and death.\r\n")));
  emit input->editingFinished();
  auto* button = Find<QPushButton>(*w.widget, "cmdListWords");
  QTest::mouseClick(button, Qt::LeftButton);
  ASSERT_TRUE(w.p.blnConcordanceFileCreated);

  QTest::mouseClick(Find<QRadioButton>(*w.widget, "optSearch"), Qt::LeftButton);
  EXPECT_EQ(button->text(), QStringLiteral("Search"));
  EXPECT_FALSE(input->isEnabled());
  auto* keywords = Find<QLineEdit>(*w.widget, "txbExtraKeywords");
  // Enter in the box takes the keywords (and writes the cleaned text back).
  keywords->setFocus();
  keywords->setText(QStringLiteral("River's riv* lov*+death"));
  QTest::keyClick(keywords, Qt::Key_Return);
  EXPECT_EQ(keywords->text(), QStringLiteral("river riv* lov*+death"));
  EXPECT_EQ(w.p.intNumExtraKeywords, 3);
  auto* results = Find<QLineEdit>(*w.widget, "txbFile1");
  const QString resultsFile = QString::fromStdString(dir.path() + "/results.txt");
  results->setText(resultsFile);
  emit results->editingFinished();
  QTest::mouseClick(button, Qt::LeftButton);
  const QString output = Find<QPlainTextEdit>(*w.widget, "txbOutput")->toPlainText();
  EXPECT_TRUE(output.startsWith(QStringLiteral("[love 1]"))) << output.toStdString();
  EXPECT_TRUE(output.contains(QStringLiteral("[river 1]")));
  EXPECT_TRUE(std::filesystem::exists(resultsFile.toStdString()));
}

TEST(MainWindowWidgetTest, QuittingDuringARunEndsCleanly) {
  testing::TempDir dir;
  std::string text;
  for (int i = 0; i < 400000; ++i)
    text += "word" + std::string(1, static_cast<char>('a' + i % 26)) + " ";
  const std::string input = dir.Write("long.txt", text + "\r\n");
  QProcess program;
  program.setProcessChannelMode(QProcess::MergedChannels);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  environment.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
  environment.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("default.warning=false"));
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(QUILLMOOR_GUI_PATH),
                {QStringLiteral("--quit-during"), QString::fromStdString(input)});
  ASSERT_TRUE(program.waitForFinished(-1));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  const std::string said = program.readAll().toStdString();
  EXPECT_EQ(program.exitCode(), 0) << said;
  EXPECT_EQ(said, "");
  // The run was left before its end: nothing written, nothing half-written.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// Runs `act` on the top-level window named `name` once it shows.
void WhenShown(const QString& name, const std::function<void(QWidget&)>& act) {
  QTimer::singleShot(10, [name, act] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == name && w->isVisible()) return act(*w);
    }
    WhenShown(name, act);  // not shown yet: look again
  });
}

TEST(QtHostTest, TheLanguageWindowAnswersTheChoiceOrCancel) {
  QtHost host;
  const std::vector<std::string> choices = testing::Pieces(
      "English|German|Spanish|Portuguese|Italian|French|English and German|All six "
      "languages");  // clang-format: keep
  QString caption;
  bool acceptEnabledAtFirst = true;
  WhenShown(QStringLiteral("frmLanguageSelection"), [&](QWidget& d) {
    EXPECT_EQ(AccessibilityProblems(&d, false).join(QLatin1Char(' ')).toStdString(), "");
    auto* accept = d.findChild<QPushButton*>(QStringLiteral("cmdAccept"));
    acceptEnabledAtFirst = accept->isEnabled();
    auto* list = d.findChild<QComboBox*>(QStringLiteral("cboCommonWordsFiles"));
    list->setCurrentIndex(7);
    emit list->activated(7);
    caption = accept->text();
    accept->click();
  });
  EXPECT_EQ(host.SelectLanguage(choices), 7);
  EXPECT_FALSE(acceptEnabledAtFirst);
  EXPECT_EQ(caption, QStringLiteral("Load stop words file for these languages"));
  WhenShown(QStringLiteral("frmLanguageSelection"),
            [](QWidget& d) { d.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click(); });
  EXPECT_EQ(host.SelectLanguage(choices), -1);
}

TEST(QtHostTest, FileDialogFiltersInTheToolkitsForm) {
  EXPECT_EQ(ToolkitFilter("Settings files (*.kvf) | *.kvf"),
            QStringLiteral("Settings files (*.kvf)"));
  EXPECT_EQ(ToolkitFilter("Text|*.txt"), QStringLiteral("Text (*.txt)"));
  EXPECT_EQ(ToolkitFilter("A text file or a docx file"), QString());  // no pattern: all files
  EXPECT_EQ(ToolkitFilter("Documents|*.txt *.pdf|All files|*"),
            QStringLiteral("Documents (*.txt *.pdf);;All files (*)"));
}

// Neither case measures time: a pop-up that did not close would hang the test.
TEST(QtHostTest, ThePopUpClosesOnAClickOrItsTimer) {
  QtHost host;
  bool clicked = false;
  WhenShown(QStringLiteral("frmPopUp"), [&](QWidget& popUp) {
    clicked = true;
    QTest::mouseClick(popUp.findChild<QLabel*>(QStringLiteral("lblMessage")), Qt::LeftButton);
  });
  host.PopUp(PopUpMessage{"Settings saved.", 2400, 300, 24 * 3600 * 1000, 6500, 5200});  // a day
  EXPECT_TRUE(clicked);
  host.PopUp(PopUpMessage{"Settings saved.", 2400, 300, 50, 6500, 5200});  // its timer alone
  for (QWidget* w : QApplication::topLevelWidgets()) {
    EXPECT_FALSE(w->objectName() == QStringLiteral("frmPopUp") && w->isVisible());
  }
}

}  // namespace
}  // namespace quillmoor

// The system's font libraries keep some memory to the end of the process: not ours to
// report when built with the leak checker.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

// The offscreen platform's warnings that a window manager's hint is not supported
// say nothing about the program.
void QuietToolkit(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QStringLiteral("This plugin does not support"))) return;
  std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

int main(int argc, char** argv) {
  // A private runtime folder (the toolkit wants one) and, for Qt's offscreen platform,
  // a screen wide enough for the help window beside the main window (its own default
  // screen is 800 x 600); both removed at the end.
  quillmoor::testing::TempDir session;
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    std::filesystem::permissions(session.path(), std::filesystem::perms::owner_all);
    qputenv("XDG_RUNTIME_DIR", session.path().c_str());
  }
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty() || platform == "offscreen") {
    const std::string config = session.path() + "/offscreen.json";
    std::ofstream(config)
        << R"({"screens": [{"name": "Wide", "x": 0, "y": 0, "width": 1920, )"
        << R"("height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + config.c_str());
  }
  qInstallMessageHandler(QuietToolkit);
  int status = 0;
  {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    status = RUN_ALL_TESTS();
  }
  return status;
}
