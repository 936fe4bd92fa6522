// quillmoor: the desktop program.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

#include "gui/QtHost.h"
#include "shared/FileSystem.h"
#include "shared/NumberFormat.h"
#include "shared/Program.h"
#include "settings/Defaults.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  quillmoor::UseSystemNumberLocale();
  quillmoor::QtHost host;
  quillmoor::Program program(host);
  if (!program.texts.LoadProgramText(host, quillmoor::ProgramFolder(argv[0]))) return 1;
  quillmoor::FillLists(program);
  quillmoor::InitializeVariables(program);

  QMainWindow window;
  window.setObjectName(QStringLiteral("frmMain"));
  window.setWindowTitle(QStringLiteral("Quillmoor"));
  window.setCentralWidget(new QLabel(
      quillmoor::ToQString(program.GetProgramText(3)), &window));
  window.resize(640, 480);
  host.set_parent(&window);
  window.show();
  program.blnStartUpCompleted = true;
  return app.exec();
}
