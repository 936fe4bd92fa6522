// The windows as a screen reader and the keyboard alone meet them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <string>

#include "gui/Accessibility.h"
#include "gui/AnalysisTabs.h"
#include "gui/CorpusWindow.h"
#include "gui/GuiWindows.h"

namespace quillmoor {
namespace {

// The object names of `widgets`, from the `from`-th, `count` of them (-1: all), spaced.
std::string Names(const QList<QWidget*>& widgets, int from = 0, int count = -1) {
  QStringList names;
  for (QWidget* w : widgets.mid(from, count)) names << w->objectName();
  return names.join(QLatin1Char(' ')).toStdString();
}

// Makes `window` the active one and waits until it is (offscreen, no window manager
// gives a window back its activation when a dialog over it closes).
bool Activate(QWidget* window) {
  window->activateWindow();
  return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

// What a screen reader would miss in `window`, for a readable failure.
std::string Problems(QWidget* window, bool descriptions) {
  return AccessibilityProblems(window, descriptions).join(QStringLiteral(", ")).toStdString();
}

// Every control the keyboard reaches has a name; in the explorer (each of its tabs) and
// the corpus window (each of its pages) a description as well; Tab goes through them in
// the order of the layout.
TEST(AccessibilityTest, EveryControlHasANameAndTabFollowsTheLayout) {
  Window w;
  testing::TempDir dir;
  EXPECT_EQ(Problems(w.widget.get(), false), "");
  EXPECT_EQ(AccessibleNameOf(Find<QWidget>(*w.widget, "txbFile0")), QStringLiteral("Input file"));
  QTest::mouseClick(Find<QPushButton>(*w.widget, "cmdSetParameters"), Qt::LeftButton);
  QWidget* params = w.widget->findChild<QWidget*>(QStringLiteral("frmParams"));
  ASSERT_NE(params, nullptr);
  EXPECT_EQ(Problems(params, false), "");
  QTest::mouseClick(Find<QPushButton>(*w.widget, "cmdHelp"), Qt::LeftButton);
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->isVisible() && top != w.widget.get() && top != params) {
      EXPECT_EQ(Problems(top, false), "") << top->objectName().toStdString();
    }
  }
  ExplorerWindow* explorer = ExplorerOnRiver(w, dir);
  for (int t = 0; t < explorer->tabs()->count(); ++t) {
    explorer->tabs()->setCurrentIndex(t);
    EXPECT_EQ(Problems(explorer, true), "") << "tab " << t;
  }
  explorer->tabs()->setCurrentIndex(0);
  EXPECT_EQ(Names(FocusChain(explorer)),
            "txbFilter chkFilterCaseSensitive chkFilterWholeWords chkFilterWithinLine chkAllWords "
            "lstWords qt_tabwidget_tabbar spnWidth cboSort0 cboSort1 cboSort2 cmdExportTsv "
            "cmdExportCsv cmdExportHtml lstLines cmdPrevious cmdNext txbSource");
  explorer->tabs()->setCurrentIndex(1);
  EXPECT_EQ(Names(FocusChain(explorer), 6),
            "qt_tabwidget_tabbar spnLeft spnRight cboMeasure spnMinFrequency chkStopWords tblTab "
            "cmdExportTableTsv cmdExportTableCsv cmdPrevious cmdNext txbSource");
  QTest::mouseClick(Find<QPushButton>(*w.widget, "cmdCorpora"), Qt::LeftButton);
  CorpusWindow* corpora = w.widget->corpora();
  auto* tabs = Find<QTabWidget>(*corpora, "tabsCorpus");
  for (int t = 0; t < tabs->count(); ++t) {
    tabs->setCurrentIndex(t);
    EXPECT_EQ(Problems(corpora, true), "") << "page " << t;
  }
  tabs->setCurrentIndex(1);
  EXPECT_EQ(Names(FocusChain(corpora), 7),
            "txbWhere qt_tabwidget_tabbar txbCorpusKeywords txbCorpusSort cboCorpusGroup "
            "cmdShowLines chkLinesCaseSensitive chkLinesWholeWords tblCorpusLines cmdCorpusExport");
}

// Open the explorer, filter, sort, show a line's source, step to the next, export: the
// keyboard alone.
TEST(AccessibilityTest, TheExplorerWorksFromTheKeyboardAlone) {
  Window w;
  testing::TempDir dir;
  w.MakeConcordance(dir.Write("doc.txt",
                              "The river ran past the mill. A river, said he, winds on.\r\nRivers "
                              "bend and the river ran dry.\r\n"));
  w.widget->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.widget.get()));
  // (A mnemonic clicks its button as a click looks: the click comes a moment later.)
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_X, Qt::AltModifier);  // E&xplore
  ASSERT_TRUE(QTest::qWaitFor([&w] { return w.widget->explorer() != nullptr; }));
  ExplorerWindow* explorer = w.widget->explorer();
  ASSERT_NE(explorer, nullptr);
  ASSERT_TRUE(Activate(explorer));
  // Ctrl+F goes to the filter from wherever the focus is.
  auto* filter = Find<QLineEdit>(*explorer, "txbFilter");
  for (int i = 0; i < 3; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_NE(QApplication::focusWidget(), filter);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
  ASSERT_EQ(QApplication::focusWidget(), filter);
  QTest::keyClicks(filter, QStringLiteral("river"));
  WaitForLines(explorer);
  auto* lines = Find<QTableView>(*explorer, "lstLines");
  ASSERT_EQ(lines->model()->rowCount(), 4);  // river (three times), Rivers
  // Ctrl+1: the first sort level; Down picks its next choice, Down again the one after.
  QTest::keyClick(filter, Qt::Key_1, Qt::ControlModifier);
  auto* level = Find<QComboBox>(*explorer, "cboSort0");
  ASSERT_EQ(QApplication::focusWidget(), level);
  while (level->currentText() != QStringLiteral("R1")) {
    const int before = level->currentIndex();
    QTest::keyClick(level, Qt::Key_Down);
    WaitForLines(explorer);
    ASSERT_NE(level->currentIndex(), before) << "no R1 among the sort choices";
  }
  EXPECT_EQ(lines->model()->index(0, 2).data().toString().split(' ', Qt::SkipEmptyParts).value(0),
            QStringLiteral("bend"));  // of "ran", ",", "bend", "ran"
  // Tab to the lines (past the two other levels and the three exports), Enter shows the
  // selected line in the source, F3 the next one.
  for (int i = 0; i < 6; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), lines);
  QTest::keyClick(lines, Qt::Key_Down);
  QTest::keyClick(lines, Qt::Key_Return);
  auto* source = Find<QPlainTextEdit>(*explorer, "txbSource");
  EXPECT_EQ(source->textCursor().selectedText(), QStringLiteral("river"));
  const int first = source->textCursor().selectionStart();
  QTest::keyClick(lines, Qt::Key_F3);
  EXPECT_EQ(source->textCursor().selectedText(), QStringLiteral("river"));
  EXPECT_NE(source->textCursor().selectionStart(), first);
  // Ctrl+E exports the lines as shown (the file dialog answered).
  const QString path = QString::fromStdString(dir.path() + "/lines.tsv");
  QString title;
  AnswerFileDialog(path, &title);
  QTest::keyClick(lines, Qt::Key_E, Qt::ControlModifier);
  EXPECT_EQ(title, QStringLiteral("Export the lines"));
  EXPECT_TRUE(testing::ReadWholeFile(path.toStdString()).starts_with("left\tkeyword\tright"))
      << testing::ReadWholeFile(path.toStdString());
  ASSERT_TRUE(Activate(explorer));
  // Ctrl+Tab: the collocates; Tab reaches their table, Ctrl+Shift+S sorts it by the
  // current cell's column (as a click on its header).
  QTest::keyClick(lines, Qt::Key_Tab, Qt::ControlModifier);
  ASSERT_EQ(explorer->tabs()->currentWidget(), explorer->collocates());
  QCoreApplication::processEvents();
  // (The focus moves to the page shown: the keyboard keeps its place.)
  ASSERT_NE(QApplication::focusWidget(), nullptr);
  EXPECT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("spnLeft"));
  QTableView* table = explorer->collocates()->view();
  for (int i = 0; i < 12 && QApplication::focusWidget() != table; ++i)
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), table);
  QTest::keyClick(table, Qt::Key_Right);
  const int column = table->currentIndex().column();
  ASSERT_GT(column, 0);
  QTest::keyClick(table, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(table->horizontalHeader()->sortIndicatorSection(), column);
}

// The corpus window from the keyboard: Alt+O opens it, its name typed, Alt+F adds a
// document through the file dialog, Alt+B indexes it, Alt+I shows the lines page, Ctrl+F
// goes to its box, Enter lists the lines, Ctrl+E exports them.
TEST(AccessibilityTest, TheCorpusWindowWorksFromTheKeyboardAlone) {
  Window w;
  testing::TempDir dir;
  setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
  const QString document = QString::fromStdString(
      dir.Write("a.txt", "The heron stood by the river. Herons fish. A heron flew.\n"));
  w.widget->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w.widget.get()));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);  // C&orpora
  ASSERT_TRUE(QTest::qWaitFor([&w] { return w.widget->corpora() != nullptr; }));
  CorpusWindow* corpora = w.widget->corpora();
  ASSERT_TRUE(Activate(corpora));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);  // &Corpus:
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("birds"));
  QString title;
  AnswerFileDialog(document, &title);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);  // Add &files...
  auto* documents = Find<QTableView>(*corpora, "tblDocuments");
  ASSERT_TRUE(QTest::qWaitFor([documents] { return documents->model()->rowCount() == 1; }));
  EXPECT_EQ(title, QStringLiteral("Add files"));
  ASSERT_TRUE(Activate(corpora));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_B, Qt::AltModifier);  // &Build index
  ASSERT_TRUE(QTest::qWaitFor([documents] {
    return documents->model()->index(0, 3).data().toString() == QStringLiteral("indexed");
  }));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_I, Qt::AltModifier);  // the L&ines page
  ASSERT_EQ(Find<QTabWidget>(*corpora, "tabsCorpus")->currentIndex(), 1);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
  auto* keywords = Find<QLineEdit>(*corpora, "txbCorpusKeywords");
  ASSERT_EQ(QApplication::focusWidget(), keywords);
  QTest::keyClicks(keywords, QStringLiteral("heron"));
  QTest::keyClick(keywords, Qt::Key_Return);
  EXPECT_EQ(Find<QTableView>(*corpora, "tblCorpusLines")->model()->rowCount(), 3);
  const QString path = QString::fromStdString(dir.path() + "/lines.tsv");
  AnswerFileDialog(path, &title);
  QTest::keyClick(keywords, Qt::Key_E, Qt::ControlModifier);
  EXPECT_EQ(title, QStringLiteral("Export"));
  EXPECT_NE(testing::ReadWholeFile(path.toStdString()).find("heron"), std::string::npos);
  unsetenv("XDG_DATA_HOME");
}

}  // namespace
}  // namespace quillmoor
