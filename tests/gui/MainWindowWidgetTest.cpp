// Wiring of the desktop window: a click reaches its handler, the model reaches the
// widgets. The rules themselves are tested in core.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include "gui/MainWindowWidget.h"
#include "gui/QtHost.h"
#include "shared/Program.h"
#include "support/TestFiles.h"
#include "ui/Startup.h"

namespace quillmoor {
namespace {

template <typename W>
W* Find(QWidget& window, const char* name) {
  W* w = window.findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}

TEST(MainWindowWidgetTest, ClicksReachTheCoreAndTheModelReachesTheWidgets) {
  QtHost host;
  host.set_unattended(true);
  Program p(host);
  p.frmMain.windowVisible = true;
  ASSERT_TRUE(StartProgram(p, QUILLMOOR_DATA_DIR));  // (the help text lies there too)
  MainWindowWidget window(p);
  host.set_parent(&window);
  host.set_repaint([&window] { window.PushModel(); });
  window.show();

  EXPECT_EQ(window.windowTitle(), QStringLiteral("Quillmoor"));
  auto* listWords = Find<QPushButton>(window, "cmdListWords");
  EXPECT_EQ(listWords->text(), QStringLiteral("Create concordance"));
  EXPECT_EQ(Find<QComboBox>(window, "cboContextSize")->currentIndex(), 5);
  EXPECT_FALSE(Find<QLineEdit>(window, "txbFile2")->isEnabled());

  // Search mode without an input: refused, and the window shows Create again.
  QTest::mouseClick(Find<QRadioButton>(window, "optSearch"), Qt::LeftButton);
  EXPECT_TRUE(Find<QRadioButton>(window, "optCreate")->isChecked());

  // A typed input, then the main button: the listing reaches the output box.
  testing::TempDir dir;
  const std::string input = dir.Write("doc.txt", "The rivers ran past the old mills.\r\n");
  auto* box = Find<QLineEdit>(window, "txbFile0");
  box->setText(QString::fromStdString(input));
  emit box->editingFinished();
  EXPECT_EQ(p.frmMain.txbFile[0].text, input);
  QTest::mouseClick(listWords, Qt::LeftButton);
  EXPECT_TRUE(p.blnOutputFileCreated);
  EXPECT_TRUE(Find<QPlainTextEdit>(window, "txbOutput")->toPlainText().contains(QStringLiteral("[river 1]")));

  // Help shows the viewer window with the help text.
  QTest::mouseClick(Find<QPushButton>(window, "cmdHelp"), Qt::LeftButton);
  QWidget* viewer = window.findChild<QWidget*>(QStringLiteral("frmView"));
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(viewer->windowTitle(), QStringLiteral("Help for Quillmoor"));
  QTest::mouseClick(Find<QPushButton>(*viewer, "cmdClose"), Qt::LeftButton);
  EXPECT_FALSE(viewer->isVisible());

  // An option reaches the model and lists again.
  auto* frequencies = Find<QCheckBox>(window, "chkFrequencies");
  frequencies->click();
  EXPECT_EQ(p.frmMain.chkFrequencies.value, 0);
  EXPECT_TRUE(Find<QPlainTextEdit>(window, "txbOutput")->toPlainText().contains(QStringLiteral("[river]")));
}

TEST(QtHostTest, ThePopUpClosesOnAClickOrItsTimer) {
  QtHost host;
  QElapsedTimer clock;
  clock.start();
  // A click on the message closes it long before its ten seconds.
  QTimer::singleShot(100, [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->objectName() == QStringLiteral("frmPopUp") && w->isVisible()) {
        QLabel* label = w->findChild<QLabel*>(QStringLiteral("lblMessage"));
        QTest::mouseClick(label, Qt::LeftButton);
      }
    }
  });
  host.PopUp(PopUpMessage{"Settings saved.", 2400, 300, 10000, 6500, 5200});
  EXPECT_LT(clock.elapsed(), 5000);
  clock.restart();
  host.PopUp(PopUpMessage{"Settings saved.", 2400, 300, 200, 6500, 5200});
  EXPECT_GE(clock.elapsed(), 150);
  EXPECT_LT(clock.elapsed(), 5000);
}

}  // namespace
}  // namespace quillmoor

// The system's font libraries keep some memory to the end of the process: not ours to
// report when built with the leak checker.
extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
