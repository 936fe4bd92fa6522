// quillmoor: the desktop program.
#include <QApplication>
#include <QElapsedTimer>
#include <QIcon>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "gui/ExplorerWindow.h"
#include "gui/MainWindowWidget.h"
#include "gui/QtHost.h"
#include "input/InputFile.h"
#include "output/KeywordSearch.h"
#include "settings/StopWords.h"
#include "shared/FileSystem.h"
#include "shared/NumberFormat.h"
#include "shared/Program.h"
#include "shared/ScratchFile.h"
#include "ui/DesktopArguments.h"
#include "ui/MainWindow.h"
#include "ui/RunDriver.h"
#include "ui/Startup.h"
#include "ui/Timers.h"

// quillmoor [FILE]: the window, with FILE in the input box (see ui/DesktopArguments.h).
//
// Developer options, for scripted sessions:
// quillmoor [--screenshot PNG [DOCUMENT [--search KEYWORDS]]]: with --screenshot the
// window opens, names DOCUMENT as the input and makes its concordance (when given),
// then searches it for KEYWORDS (when given), saves a picture of itself to PNG and
// ends: for the documentation's screenshots.
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
  const int shot = static_cast<int>(args.indexOf(QStringLiteral("--screenshot")));
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
  if (shot > 0 && shot + 1 < args.size()) {
    const QString png = args.at(shot + 1);
    const QString document =
        shot + 2 < args.size() && !args.at(shot + 2).startsWith(QStringLiteral("--"))
            ? args.at(shot + 2)
            : QString();
    const int search = static_cast<int>(args.indexOf(QStringLiteral("--search")));
    const QString keywords =
        search > 0 && search + 1 < args.size() ? args.at(search + 1) : QString();
    host.set_unattended(true);
    QTimer::singleShot(300, &window, [&window, &program, png, document, keywords] {
      if (!document.isEmpty()) {
        program.frmMain.txbFile[0].text = quillmoor::FromQString(document);
        quillmoor::InputFileLostFocus(program, 0);
        program.frmMain.chkWarnOnOverwrite.value = 0;
        window.PushModel();
        quillmoor::cmdListWords_Click(program);
        window.PushModel();
      }
      if (!document.isEmpty() && !keywords.isEmpty()) {
        // Then a search of the same document for KEYWORDS.
        quillmoor::optSearch_Click(program);
        program.frmMain.txbExtraKeywords.text = quillmoor::FromQString(keywords);
        quillmoor::txbExtraKeywords_LostFocus(program);
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
  // --measure-stop DOCUMENT [MS]: starts a run of DOCUMENT, presses Stop after MS
  // milliseconds (1000) and
  // prints how late the press was seen and how long the run took to stop.
  const int measure = static_cast<int>(args.indexOf(QStringLiteral("--measure-stop")));
  if (measure > 0 && measure + 1 < args.size()) {
    host.set_unattended(true);
    host.set_unattended_answer(quillmoor::MsgResult::kYes);
    const QString document = args.at(measure + 1);
    const int delay = measure + 2 < args.size() ? args.at(measure + 2).toInt() : 1000;
    QTimer::singleShot(100, &window, [&window, &program, document, delay] {
      program.frmMain.txbFile[0].text = quillmoor::FromQString(document);
      quillmoor::InputFileLostFocus(program, 0);
      QElapsedTimer clock;
      clock.start();
      qint64 pressed = -1;
      QTimer::singleShot(delay, &window, [&program, &clock, &pressed] {
        pressed = clock.elapsed();
        quillmoor::cmdListWords_Click(program);
      });
      quillmoor::cmdListWords_Click(program);
      const qint64 ended = clock.elapsed();
      std::fprintf(
          stderr, "stop pressed at %lld ms (asked for %d ms), run ended at %lld ms: %s\n",
          static_cast<long long>(pressed), delay, static_cast<long long>(ended),
          pressed < 0
              ? "the run ended before the press"
              : ("stopped " + std::to_string(ended - pressed) + " ms after the press").c_str());
      QApplication::quit();
    });
  }
  // --screenshot-help PNG: opens the help window, saves a picture of it and ends.
  const int helpShot = static_cast<int>(args.indexOf(QStringLiteral("--screenshot-help")));
  if (helpShot > 0 && helpShot + 1 < args.size()) {
    host.set_unattended(true);
    const QString png = args.at(helpShot + 1);
    QTimer::singleShot(300, &window, [&window, png] {
      auto* help = window.findChild<QPushButton*>(QStringLiteral("cmdHelp"));
      if (help != nullptr) help->click();
      QTimer::singleShot(300, &window, [&window, png] {
        if (QWidget* viewer = window.findChild<QWidget*>(QStringLiteral("frmView")))
          viewer->grab().save(png);
        QApplication::quit();
      });
    });
  }
  // --screenshot-settings PNG: opens the parameters window, saves a picture of it, ends.
  const int settingsShot = static_cast<int>(args.indexOf(QStringLiteral("--screenshot-settings")));
  if (settingsShot > 0 && settingsShot + 1 < args.size()) {
    host.set_unattended(true);
    const QString png = args.at(settingsShot + 1);
    QTimer::singleShot(300, &window, [&window, png] {
      window.ShowParameters();
      QTimer::singleShot(300, &window, [&window, png] {
        if (QWidget* params = window.findChild<QWidget*>(QStringLiteral("frmParams")))
          params->grab().save(png);
        QApplication::quit();
      });
    });
  }
  // --screenshot-explorer PNG DOCUMENT QUERY [--tab N]: makes the concordance of
  // DOCUMENT, opens the explorer filtered by QUERY and sorted by R1 (on tab N: 0 lines,
  // 1 collocates, 2 clusters, 3 dispersion), saves a picture of it and ends.
  const int explorerShot = static_cast<int>(args.indexOf(QStringLiteral("--screenshot-explorer")));
  if (explorerShot > 0 && explorerShot + 3 < args.size()) {
    host.set_unattended(true);
    const QString png = args.at(explorerShot + 1), document = args.at(explorerShot + 2),
                  query = args.at(explorerShot + 3);
    const int tabAt = static_cast<int>(args.indexOf(QStringLiteral("--tab")));
    const int tab = tabAt > 0 && tabAt + 1 < args.size() ? args.at(tabAt + 1).toInt() : 0;
    QTimer::singleShot(300, &window, [&window, &program, png, document, query, tab] {
      program.frmMain.txbFile[0].text = quillmoor::FromQString(document);
      quillmoor::InputFileLostFocus(program, 0);
      program.frmMain.chkWarnOnOverwrite.value = 0;
      quillmoor::cmdListWords_Click(program);
      window.PushModel();
      window.OpenExplorer();
      quillmoor::ExplorerWindow* explorer = window.explorer();
      if (explorer == nullptr) return QApplication::quit();
      explorer->findChild<QLineEdit*>(QStringLiteral("txbFilter"))->setText(query);
      explorer->SetSort({{quillmoor::SortLevel::kRight, 1}, {quillmoor::SortLevel::kRight, 2}});
      QObject::connect(explorer, &quillmoor::ExplorerWindow::LinesReady, explorer,
                       [explorer, png, tab] {
                         if (explorer->LinesPending()) return;
                         explorer->tabs()->setCurrentIndex(tab);
                         QTimer::singleShot(100, explorer, [explorer, png] {
                           explorer->grab().save(png);
                           QApplication::quit();
                         });
                       });
    });
  }
  // --measure-explorer DOCUMENT: makes the word table of DOCUMENT (no stop words), then
  // prints how long the explorer takes to open on every word and show its lines, and
  // to sort them by R1, R2, R3.
  const int measureExplorer = static_cast<int>(args.indexOf(QStringLiteral("--measure-explorer")));
  if (measureExplorer > 0 && measureExplorer + 1 < args.size()) {
    host.set_unattended(true);
    const QString document = args.at(measureExplorer + 1);
    QTimer::singleShot(0, &window, [&window, &program, document] {
      program.frmMain.txbFile[0].text = quillmoor::FromQString(document);
      quillmoor::InputFileLostFocus(program, 0);
      quillmoor::EraseStopWords(program);
      program.frmParams.txbStopWordsFile.text.clear();
      program.blnStopAfterCounts = true;
      quillmoor::cmdListWords_Click(program);
      window.PushModel();
      auto* clock = new QElapsedTimer;
      clock->start();
      window.OpenExplorer();
      quillmoor::ExplorerWindow* explorer = window.explorer();
      auto* phase = new int(0);
      QObject::connect(
          explorer, &quillmoor::ExplorerWindow::LinesReady, explorer, [explorer, clock, phase] {
            if (explorer->LinesPending()) return;
            QApplication::processEvents();  // the first rows painted
            std::fprintf(stderr,
                         *phase == 0 ? "explorer open with %zu lines: %lld ms\n"
                                     : "sorted by R1, R2, R3: %zu lines in %lld ms\n",
                         explorer->rows().size(), static_cast<long long>(clock->restart()));
            if ((*phase)++ == 0) {
              explorer->SetSort({{quillmoor::SortLevel::kRight, 1},
                                 {quillmoor::SortLevel::kRight, 2},
                                 {quillmoor::SortLevel::kRight, 3}});
            } else {
              QApplication::quit();
            }
          });
    });
  }
  // --quit-during DOCUMENT: starts a run of DOCUMENT and closes the window at the
  // run's first look at events, as a person quitting during a run would.
  const int quit = static_cast<int>(args.indexOf(QStringLiteral("--quit-during")));
  if (quit > 0 && quit + 1 < args.size()) {
    host.set_unattended(true);
    const QString document = args.at(quit + 1);
    QTimer::singleShot(0, &window, [&window, &program, &host, document] {
      program.frmMain.txbFile[0].text = quillmoor::FromQString(document);
      quillmoor::InputFileLostFocus(program, 0);
      host.set_event_interval(0);
      host.set_on_events([&window, closed = false]() mutable {
        if (closed) return;
        closed = true;
        window.close();
      });
      quillmoor::cmdListWords_Click(program);
    });
  }
  return app.exec();
}
