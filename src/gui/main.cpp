// quillmoor: the desktop program.
#include <QApplication>
#include <QStringList>
#include <QTimer>

#include "gui/MainWindowWidget.h"
#include "gui/QtHost.h"
#include "shared/FileSystem.h"
#include "shared/NumberFormat.h"
#include "shared/Program.h"
#include "engine/RunDriver.h"
#include "input/InputFile.h"
#include "ui/Startup.h"
#include "ui/Timers.h"

// quillmoor [--screenshot PNG [DOCUMENT]]: with --screenshot the window opens, names
// DOCUMENT as the input and makes its concordance (when given), saves a picture of
// itself to PNG and ends: for the documentation's screenshots.
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = QApplication::arguments();
  const int shot = static_cast<int>(args.indexOf(QStringLiteral("--screenshot")));
  quillmoor::UseSystemNumberLocale();
  quillmoor::QtHost host;
  quillmoor::Program program(host);
  program.frmMain.windowVisible = true;
  if (!quillmoor::StartProgram(program, quillmoor::ProgramFolder(argv[0]))) return 1;
  quillmoor::MainWindowWidget window(program);
  host.set_parent(&window);
  host.set_repaint([&window] { window.PushModel(); });
  window.show();
  if (shot > 0 && shot + 1 < args.size()) {
    const QString png = args.at(shot + 1);
    const QString document = shot + 2 < args.size() ? args.at(shot + 2) : QString();
    host.set_unattended(true);
    QTimer::singleShot(300, &window, [&window, &program, png, document] {
      if (!document.isEmpty()) {
        program.frmMain.txbFile[0].text = quillmoor::FromQString(document);
        quillmoor::InputFileLostFocus(program, 0);
        program.frmMain.chkWarnOnOverwrite.value = 0;
        window.PushModel();
        quillmoor::cmdListWords_Click(program);
        window.PushModel();
      }
      QTimer::singleShot(300, &window, [&window, &program, png] {
        quillmoor::Timer1_Timer(program);  // the states the first timer tick sets
        window.PushModel();
        window.grab().save(png);
        QApplication::quit();
      });
    });
  }
  return app.exec();
}
