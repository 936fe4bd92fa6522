// The main window's two one-second timers and the duration wording.
//
// Timer1 keeps the enabled states and tool tips of the file rows and the file-size
// labels current; Timer2 counts the elapsed time of a run and shows the word count.
#ifndef QUILLMOOR_UI_TIMERS_H_
#define QUILLMOOR_UI_TIMERS_H_

#include <cstdint>
#include <string>

namespace quillmoor {

struct Program;

// "22s", "44m 22s", "3h 44m 22s", "1d 3h 44m 22s" (the short form; no leading "0h ").
// With blnWords the units are written out ("1 day, 3 hours, ..."); with blnRound
// seconds are left out from one hour on.
std::string FormatDuration(int64_t seconds, bool blnWords, bool blnRound);

void Timer1_Timer(Program& p);
void Timer2_Timer(Program& p);

// The file-size labels: input, concordance (with the file's name) and search results.
void RefreshFileSizeLabels(Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_TIMERS_H_
