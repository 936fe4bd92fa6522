// The text progress bar in the label lblTotalNumOccurrences, and the word-count labels.
#ifndef QUILLMOOR_UI_PROGRESS_H_
#define QUILLMOOR_UI_PROGRESS_H_

#include <cstdint>

#include "shared/WorkObserver.h"

namespace quillmoor {

struct Program;

// The main window watching a piece of work of its run: the progress bar shows its
// progress, the word-count label appears as a word table grows, the window's events
// run once start-up is over, and the Stop button (p.blnStop) stops it.
class RunWatch final : public WorkObserver {
 public:
  explicit RunWatch(Program& p);
  void Progress(int32_t done, int32_t total, int32_t least) override;
  int32_t NextProgressStep(int32_t total, int32_t least) const override;
  void WordsCounted(int32_t words) override;

 private:
  Program& p_;
};

// Prepares the bar: "[", 40 spaces, "]" in bold Courier New 10, left-aligned.
void SetTotalNumOccurrencesForFileProgressBar(Program& p);
// Draws lngDone of lngTotal when lngTotal is at least lngMin; redraws only when the
// bar changes.
void UpdateProgressBar(Program& p, int32_t lngDone, int32_t lngTotal, int32_t lngMin);
// The least lngDone at which UpdateProgressBar(p, lngDone, lngTotal, lngMin) may draw
// something new, for a caller whose lngDone only rises: the calls before it would
// change nothing (INT32_MAX when the bar is never drawn for lngTotal).
int32_t NextProgressBarStep(const Program& p, int32_t lngTotal, int32_t lngMin);
// Gives the label back its normal look: Arial 10, right-aligned, empty.
void ResetProgressLabel(Program& p);

// Hides the word-count labels (and empties the elapsed time when asked).
void ConcealNumWords(Program& p, bool blnConcealTimeElapsed);
void EraseNumWords(Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_PROGRESS_H_
