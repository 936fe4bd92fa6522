#include "output/ConcordanceDraft.h"

namespace quillmoor {

std::unique_ptr<ConcordanceDraft> ConcordanceDraft::Open(const std::string& target,
                                                         std::string_view header, bool windowsText,
                                                         WordRuleSet engineRules) {
  if (IsDeviceOrPipe(target)) return nullptr;
  FileError error;
  std::unique_ptr<ScratchFile> file = ScratchFile::Beside(target, &error);
  if (file == nullptr) return nullptr;
  std::unique_ptr<ConcordanceDraft> draft(
      new ConcordanceDraft(std::move(file), windowsText, engineRules));
  draft->Write(TextPiece{header, false});
  return draft;
}

ConcordanceDraft::ConcordanceDraft(std::unique_ptr<ScratchFile> file, bool windowsText,
                                   WordRuleSet engineRules)
    : file_(std::move(file)), encoder_(windowsText, engineRules) {}

// The converted text gathers until a megabyte or so waits: a short listing goes to the
// file in one write at the end.
void ConcordanceDraft::Write(TextPiece piece) {
  constexpr size_t kGathered = 1 << 20;
  if (failed_) return;
  if (piece.text.size() > kGathered) {  // converted and written a slice at a time
    Flush();
    if (!failed_)
      failed_ = !WritePeopleTextPiece(encoder_, piece, file_->writer(), &converted_, &error_);
    return;
  }
  encoder_.Append(piece, &gathered_);
  if (gathered_.size() >= kGathered) Flush();
}

void ConcordanceDraft::Flush() {
  if (!failed_ && !gathered_.empty())
    failed_ = !file_->writer().Write(gathered_.data(), gathered_.size(), &error_);
  gathered_.clear();
}

void ConcordanceDraft::Append(std::string_view listing) { Write(TextPiece{listing, true}); }

bool ConcordanceDraft::Commit(std::string_view rest, std::string_view tail,
                              const std::string& target, FileError* error) {
  Write(TextPiece{rest, true});
  Write(TextPiece{tail, false});
  if (!failed_) encoder_.Finish(&gathered_);
  Flush();
  if (failed_) {
    *error = error_;
    file_.reset();
    return false;
  }
  // The file can always be made again: no flush to the disk is waited for.
  const bool committed = file_->CommitTo(target, error, false);
  file_.reset();
  return committed;
}

}  // namespace quillmoor
