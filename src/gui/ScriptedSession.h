// The desktop program's developer options, for scripted sessions (the documentation's
// screenshots and the benchmarks). Each makes the window do its work unattended and
// then ends the program:
//   --screenshot PNG [DOCUMENT [--search KEYWORDS]]: names DOCUMENT as the input and
//     makes its concordance (when given), then searches it for KEYWORDS (when given),
//     and saves a picture of the window to PNG;
//   --screenshot-help PNG, --screenshot-settings PNG: a picture of the help window or
//     of the parameters window;
//   --screenshot-explorer PNG DOCUMENT QUERY [--tab N]: a picture of the explorer on
//     DOCUMENT's concordance, filtered by QUERY and sorted by R1, R2, on tab N;
//   --measure-stop DOCUMENT [MS]: presses Stop MS milliseconds into a run and prints how
//     late the press was seen and how long the run took to stop;
//   --measure-explorer DOCUMENT: prints how long the explorer takes to open on every
//     word and to sort by R1, R2, R3;
//   --quit-during DOCUMENT: closes the window at a run's first look at events.
#ifndef QUILLMOOR_GUI_SCRIPTEDSESSION_H_
#define QUILLMOOR_GUI_SCRIPTEDSESSION_H_

#include <QStringList>

#include "gui/MainWindowWidget.h"
#include "gui/QtHost.h"

namespace quillmoor {

struct Program;

// Schedules the session the program's arguments `args` ask for, if any, on the
// window's event loop.
void ScheduleScriptedSession(const QStringList& args, QtHost& host, Program& program,
                             MainWindowWidget& window);

}  // namespace quillmoor

#endif  // QUILLMOOR_GUI_SCRIPTEDSESSION_H_
