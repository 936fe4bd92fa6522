// What a long piece of work (a scan, the reading of a long file) tells whoever started
// it, and how it learns that it is to stop. The work calls LetEventsRun and
// StopRequested at each step (they cost a test when nothing watches), and Progress only
// where NextProgressStep says the shown progress can change.
#ifndef QUILLMOOR_SHARED_WORKOBSERVER_H_
#define QUILLMOOR_SHARED_WORKOBSERVER_H_

#include <cstdint>

#include "shared/Host.h"

namespace quillmoor {

class WorkObserver {
 public:
  // Nothing watches: no events, no progress, never stopped.
  WorkObserver() = default;
  // `events` runs the waiting events (null: there are none to run); `*stop` is set when
  // the work is to stop (null: it never is). Both outlive the observer.
  WorkObserver(Host* events, const bool* stop) : events_(events), stop_(stop) {}
  virtual ~WorkObserver() = default;

  // Lets the events run that are waiting (a window's Stop button among them).
  void LetEventsRun() {
    if (events_ != nullptr) events_->DoEvents();
  }
  // True once a stop has been asked for: the work ends after its current step.
  bool StopRequested() const { return stop_ != nullptr && *stop_; }

  // `done` of `total` units are done; shown only when `total` is at least `least`.
  virtual void Progress(int32_t /*done*/, int32_t /*total*/, int32_t /*least*/) {}
  // The least `done` at which Progress(done, total, least) may show something new, for
  // a caller whose `done` only rises (INT32_MAX: nothing is ever shown).
  virtual int32_t NextProgressStep(int32_t /*total*/, int32_t /*least*/) const { return INT32_MAX; }
  // A word table being filled holds `words` distinct words (said at every tenth).
  virtual void WordsCounted(int32_t /*words*/) {}

 private:
  Host* events_ = nullptr;
  const bool* stop_ = nullptr;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_WORKOBSERVER_H_
