// quillmoor: the desktop program.
#include <QApplication>
#include <QIcon>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "gui/MainWindowWidget.h"
#include "gui/QtHost.h"
#include "gui/ScriptedSession.h"
#include "shared/FileSystem.h"
#include "shared/NumberFormat.h"
#include "shared/ScratchFile.h"
#include "ui/DesktopArguments.h"
#include "ui/Program.h"
#include "ui/Startup.h"

// quillmoor [FILE]: the window, with FILE in the input box (see ui/DesktopArguments.h);
// the developer options of scripted sessions are in gui/ScriptedSession.h.
int main(int argc, char** argv) {
  // --help and --version are answered before any window (or display) is needed.
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--") break;
    if (a == "-h" || a == "--help" || a == "-V" || a == "--version") {
      const std::string text =
          a == "-h" || a == "--help" ? quillmoor::DesktopUsage() : quillmoor::DesktopVersion();
      std::fputs(text.c_str(), stdout);
      return std::fflush(stdout) == 0 ? 0 : 1;
    }
  }
  // A signal that ends the program removes the scratch file of a write under way.
  quillmoor::InstallScratchCleanup("quillmoor", true);
  QApplication app(argc, argv);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillmoor.svg")));
  QApplication::setDesktopFileName(QStringLiteral("org.quillmoor.Quillmoor"));
  const QStringList args = QApplication::arguments();
  std::vector<std::string> given;
  for (qsizetype i = 1; i < args.size(); ++i) given.push_back(quillmoor::FromQString(args.at(i)));
  const quillmoor::DesktopArguments command = quillmoor::ParseDesktopArguments(given);
  if (!command.error.empty()) {
    std::fprintf(stderr, "quillmoor: %s\nTry 'quillmoor --help' for more information.\n",
                 command.error.c_str());
    return 2;
  }
  quillmoor::UseSystemNumberLocale();
  quillmoor::QtHost host;
  quillmoor::Program program(host);
  program.frmMain.windowVisible = true;
  // The desktop program keeps its options between starts (the screenshots start from
  // the defaults).
  const bool restore = !args.contains(QStringLiteral("--screenshot")) &&
                       !args.contains(QStringLiteral("--screenshot-help")) &&
                       !args.contains(QStringLiteral("--screenshot-settings"));
  if (!quillmoor::StartProgram(program, quillmoor::ProgramFolder(argv[0]), restore)) return 1;
  quillmoor::MainWindowWidget window(program);
  host.set_parent(&window);
  host.set_repaint([&window] { window.PushModel(); });
  host.set_show_window([&window](quillmoor::WindowId which, bool visible) {
    if (which == quillmoor::WindowId::kParameters && visible) window.ShowParameters();
  });
  window.show();
  if (!command.file.empty()) {
    // The file named on the command line, once the window shows (its messages need it).
    QTimer::singleShot(0, &window, [&window, &program, file = command.file] {
      quillmoor::OpenFileFromCommandLine(program, file);
      window.PushModel();
    });
  }
  quillmoor::ScheduleScriptedSession(args, host, program, window);
  return app.exec();
}
