// The concordance file written while the listing is made.
//
// The listing of a large document is several times its size. A run that knows ahead
// how it will answer the questions of the end of the run (the command line does)
// writes each part of the listing to a new file beside the target as it is made, and
// keeps in memory only the beginning the output box shows. At the end of the run the
// same questions are asked as always: the draft replaces the target only where the
// complete file would have been written; otherwise it goes.
#ifndef QUILLMOOR_OUTPUT_CONCORDANCEDRAFT_H_
#define QUILLMOOR_OUTPUT_CONCORDANCEDRAFT_H_

#include <memory>
#include <string>
#include <string_view>

#include "output/PeopleText.h"
#include "shared/FileSystem.h"
#include "shared/ScratchFile.h"

namespace quillmoor {

class ConcordanceDraft {
 public:
  // A draft for `target` that begins with `header` (UTF-8 text, people-text rules as
  // WritePeopleTextFile). nullptr when the target is a device or a pipe (IsDeviceOrPipe:
  // written into only when the file is complete) or no file can be made beside it: the
  // listing is then kept in memory.
  static std::unique_ptr<ConcordanceDraft> Open(
      const std::string& target, std::string_view header, bool windowsText,
      WordRuleSet engineRules = WordRuleSet::kWindows1252);

  // Appends listing text (engine text, CR LF). A failure is kept for Commit.
  void Append(std::string_view listing);
  // Appends `rest` of the listing and the closing `tail`, and replaces `target` (the
  // run's concordance file: the draft holds the listing, wherever it is to go); false
  // with *error set when any write failed or the file cannot be put there (the draft
  // is gone then).
  bool Commit(std::string_view rest, std::string_view tail, const std::string& target,
              FileError* error);

 private:
  ConcordanceDraft(std::unique_ptr<ScratchFile> file, bool windowsText, WordRuleSet engineRules);

 public:
  // The characters written as "?" so far (PeopleTextEncoder::replaced).
  int64_t replaced() const { return encoder_.replaced(); }

 private:
  void Write(TextPiece piece);
  void Flush();

  std::unique_ptr<ScratchFile> file_;
  PeopleTextEncoder encoder_;
  std::string gathered_;   // converted, not yet written
  std::string converted_;  // a slice of a long piece
  bool failed_ = false;
  FileError error_;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_OUTPUT_CONCORDANCEDRAFT_H_
