#include "gui/ScriptedSession.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <string>

#include "gui/ExplorerWindow.h"
#include "ui/InputFile.h"
#include "ui/KeywordBoxes.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"
#include "ui/StopWordBoxes.h"
#include "ui/Timers.h"

namespace quillmoor {

void ScheduleScriptedSession(const QStringList& args, QtHost& host, Program& program,
                             MainWindowWidget& window) {
  const int shot = static_cast<int>(args.indexOf(QStringLiteral("--screenshot")));
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
        program.frmMain.txbFile[0].text = FromQString(document);
        InputFileLostFocus(program, 0);
        program.frmMain.chkWarnOnOverwrite.value = 0;
        window.PushModel();
        cmdListWords_Click(program);
        window.PushModel();
      }
      if (!document.isEmpty() && !keywords.isEmpty()) {
        // Then a search of the same document for KEYWORDS.
        optSearch_Click(program);
        program.frmMain.txbExtraKeywords.text = FromQString(keywords);
        txbExtraKeywords_LostFocus(program);
        window.PushModel();
        cmdListWords_Click(program);
        window.PushModel();
      }
      QTimer::singleShot(300, &window, [&window, &program, png] {
        Timer1_Timer(program);  // the states the first timer tick sets
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
    host.set_unattended_answer(MsgResult::kYes);
    const QString document = args.at(measure + 1);
    const int delay = measure + 2 < args.size() ? args.at(measure + 2).toInt() : 1000;
    QTimer::singleShot(100, &window, [&window, &program, document, delay] {
      program.frmMain.txbFile[0].text = FromQString(document);
      InputFileLostFocus(program, 0);
      QElapsedTimer clock;
      clock.start();
      qint64 pressed = -1;
      QTimer::singleShot(delay, &window, [&program, &clock, &pressed] {
        pressed = clock.elapsed();
        cmdListWords_Click(program);
      });
      cmdListWords_Click(program);
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
      program.frmMain.txbFile[0].text = FromQString(document);
      InputFileLostFocus(program, 0);
      program.frmMain.chkWarnOnOverwrite.value = 0;
      cmdListWords_Click(program);
      window.PushModel();
      window.OpenExplorer();
      ExplorerWindow* explorer = window.explorer();
      if (explorer == nullptr) return QApplication::quit();
      explorer->findChild<QLineEdit*>(QStringLiteral("txbFilter"))->setText(query);
      explorer->SetSort({{SortLevel::kRight, 1}, {SortLevel::kRight, 2}});
      QObject::connect(explorer, &ExplorerWindow::LinesReady, explorer, [explorer, png, tab] {
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
      program.frmMain.txbFile[0].text = FromQString(document);
      InputFileLostFocus(program, 0);
      EraseStopWords(program);
      program.frmParams.txbStopWordsFile.text.clear();
      program.blnStopAfterCounts = true;
      cmdListWords_Click(program);
      window.PushModel();
      auto* clock = new QElapsedTimer;
      clock->start();
      window.OpenExplorer();
      ExplorerWindow* explorer = window.explorer();
      auto* phase = new int(0);
      QObject::connect(explorer, &ExplorerWindow::LinesReady, explorer, [explorer, clock, phase] {
        if (explorer->LinesPending()) return;
        QApplication::processEvents();  // the first rows painted
        std::fprintf(stderr,
                     *phase == 0 ? "explorer open with %zu lines: %lld ms\n"
                                 : "sorted by R1, R2, R3: %zu lines in %lld ms\n",
                     explorer->rows().size(), static_cast<long long>(clock->restart()));
        if ((*phase)++ == 0) {
          explorer->SetSort(
              {{SortLevel::kRight, 1}, {SortLevel::kRight, 2}, {SortLevel::kRight, 3}});
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
      program.frmMain.txbFile[0].text = FromQString(document);
      InputFileLostFocus(program, 0);
      host.set_event_interval(0);
      host.set_on_events([&window, closed = false]() mutable {
        if (closed) return;
        closed = true;
        window.close();
      });
      cmdListWords_Click(program);
    });
  }
}

}  // namespace quillmoor
