// What the tests of the desktop windows share: a started program in its main window,
// the explorer open on a small document, and the wait for its lines.
#ifndef QUILLMOOR_TESTS_GUI_GUIWINDOWS_H_
#define QUILLMOOR_TESTS_GUI_GUIWINDOWS_H_

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>

#include "gui/ExplorerWindow.h"
#include "gui/MainWindowWidget.h"
#include "gui/QtHost.h"
#include "support/TestFiles.h"
#include "ui/InputFile.h"
#include "ui/Program.h"
#include "ui/Startup.h"

namespace quillmoor {

template <typename W>
inline W* Find(QWidget& window, const char* name) {
  W* w = window.findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}

// A started program in its window, questions answered without being shown.
struct Window {
  QtHost host;
  Program p{host};
  std::unique_ptr<MainWindowWidget> widget;
  Window() {
    host.set_unattended(true);
    p.frmMain.windowVisible = true;
    EXPECT_TRUE(StartProgram(p, QUILLMOOR_DATA_DIR));
    widget = std::make_unique<MainWindowWidget>(p);
    host.set_parent(widget.get());
    host.set_repaint([this] { widget->PushModel(); });
    widget->show();
  }
  // Names `path` as the input and makes its concordance with the main button.
  void MakeConcordance(const std::string& path) {
    p.frmMain.txbFile[0].text = path;
    InputFileLostFocus(p, 0);
    p.frmMain.chkWarnOnOverwrite.value = 0;
    widget->PushModel();
    QTest::mouseClick(Find<QPushButton>(*widget, "cmdListWords"), Qt::LeftButton);
  }
};

// Waits, on the toolkit's events, until the explorer shows its latest lines.
inline void WaitForLines(ExplorerWindow* explorer) {
  while (explorer->LinesPending()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// The explorer, open on the words of a document of two lines about a river.
inline ExplorerWindow* ExplorerOnRiver(Window& w, testing::TempDir& dir) {
  w.MakeConcordance(dir.Write("doc.txt",
                              "The river ran past the mill. A river, said he, winds on.\r\nRivers "
                              "bend and the river ran dry.\r\n"));
  w.widget->OpenExplorer();
  ExplorerWindow* explorer = w.widget->explorer();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(explorer));
  return explorer;
}

// Answers the next file dialog with `path` (or cancels it when empty), once it shows.
inline void AnswerFileDialog(const QString& path, QString* title) {
  QTimer::singleShot(20, [path, title] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      AnswerFileDialog(path, title);  // not shown yet: look again
      return;
    }
    *title = dialog->windowTitle();
    if (path.isEmpty()) {
      dialog->reject();
      return;
    }
    // Typed into the name box, as a person would (the folder's listing loads later).
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(path);
    static_cast<QDialog*>(dialog)->accept();    // the file dialog's own checks run
    if (dialog->isVisible()) dialog->reject();  // refused: the test fails, never hangs
  });
}

}  // namespace quillmoor

#endif  // QUILLMOOR_TESTS_GUI_GUIWINDOWS_H_
