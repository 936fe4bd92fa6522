#include "output/ConcordanceDraft.h"

namespace quillmoor {

std::unique_ptr<ConcordanceDraft> ConcordanceDraft::Open(const std::string& target, std::string_view header,
                                                         bool windowsText) {
  if (IsDeviceOrPipe(target)) return nullptr;
  FileError error;
  std::unique_ptr<ScratchFile> file = ScratchFile::Beside(target, &error);
  if (file == nullptr) return nullptr;
  std::unique_ptr<ConcordanceDraft> draft(new ConcordanceDraft(std::move(file), windowsText));
  draft->Write(TextPiece{header, false});
  return draft;
}

ConcordanceDraft::ConcordanceDraft(std::unique_ptr<ScratchFile> file, bool windowsText)
    : file_(std::move(file)), encoder_(windowsText) {}

void ConcordanceDraft::Write(TextPiece piece) {
  if (!failed_) failed_ = !WritePeopleTextPiece(encoder_, piece, file_->writer(), &converted_, &error_);
}

void ConcordanceDraft::Append(std::string_view listing) { Write(TextPiece{listing, true}); }

bool ConcordanceDraft::Commit(std::string_view rest, std::string_view tail, const std::string& target,
                              FileError* error) {
  Write(TextPiece{rest, true});
  Write(TextPiece{tail, false});
  if (!failed_) {
    converted_.clear();
    encoder_.Finish(&converted_);
    failed_ = !file_->writer().Write(converted_.data(), converted_.size(), &error_);
  }
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
