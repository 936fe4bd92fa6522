// The index file: the whole word table of a document, saved beside it so that a later
// run can list or search the same document without scanning it.
//
// Name: the input's name up to and including its last "." (of the whole path), then
// "oxn.ndx"; a name without "." gets ".oxn.ndx". book.txt -> book.oxn.ndx.
//
// Text (Windows-1252, CR LF after every line), stored gzip-compressed:
//   1  the MD5 digest of the input file (32 upper-case hex digits, or empty)
//   2  the date of writing, yyyy-mm-dd hh:mm
//   3  lngNumWords        as a number line: " " + decimal + " "
//   4  intPositionDigits  as a number line
//   5  lngFirstFreq       as a number line
//   then one line per word record in table order:
//      word*lngFreqRank*lngFrequency*lngNextByFreq*positions
//   where positions is every occurrence's position, zero-padded to the width of
//   line 4, one after the other. No terminator line.
//
// The index of a document read under the Unicode rules has a line of its own before
// line 1, kUnicodeIndexMark, and UTF-8 words (their lengths in user-perceived
// characters, their order by UnicodeSortKey).
//
// An index whose digest no longer matches its input is deleted, and so is one whose
// body is damaged (both with the "Bad index file" notice). A read error is silent;
// either way the next run scans the document.
#ifndef QUILLMOOR_OUTPUT_INDEXFILE_H_
#define QUILLMOOR_OUTPUT_INDEXFILE_H_

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/WordRecord.h"
#include "engine/WordTable.h"
#include "shared/FileSystem.h"

namespace quillmoor {

// The index file name of the input `input` ("" for "").
std::string IndexFileNameFor(const std::string& input);
// `name` followed by the smallest number 1, 2, 3 ... under which nothing exists (no
// file, folder or link).
std::string UniqueFileName(const std::string& name);
// Deletes the file when it exists (the attribute flags have no meaning here).
bool DeleteFile(const std::string& name, bool clearHidden = true, bool clearReadOnly = true,
                bool clearSystem = true);
// " 1234 ": a number as a number line holds it (without the line end).
std::string NumberLine(int64_t value);

inline constexpr std::string_view kUnicodeIndexMark = "Quillmoor index 2: UTF-8 words";

// The shortest word line: "a*0*1*0*" and one digit.
inline constexpr int64_t kShortestWordLine = 9;
// How much larger than its input an index text may expand (positions of one-letter
// words take five times their text at most); a stream that claims more is damaged.
inline constexpr long long kMaxExpansion = 32;
inline constexpr long long kExpansionSlack = 1 << 20;

// Lines of a file, split as the program's line input splits them (at CR, a LF after
// it dropped).
class IndexLineReader {
 public:
  explicit IndexLineReader(const std::string& path) : reader_(Files().OpenRead(path, &error_)) {}
  bool ok() const { return reader_ != nullptr; }
  bool failed() const { return failed_; }

  bool Next(std::string& line) {
    line.clear();
    while (true) {
      if (at_ == size_ && !Fill()) {
        // Characters after the last CR make a last line of their own.
        const bool last = pendingLine_;
        pendingLine_ = false;
        return last;
      }
      if (skipLf_) {
        skipLf_ = false;
        if (buffer_[at_] == '\n' && ++at_ == size_) continue;
      }
      const char* start = buffer_.data() + at_;
      const void* cr = std::memchr(start, '\r', size_ - at_);
      if (cr == nullptr) {
        line.append(start, size_ - at_);
        at_ = size_;
        pendingLine_ = true;
        continue;
      }
      const size_t end = static_cast<size_t>(static_cast<const char*>(cr) - buffer_.data());
      line.append(start, end - at_);
      at_ = end + 1;
      skipLf_ = true;
      pendingLine_ = false;
      return true;
    }
  }

 private:
  bool Fill() {
    if (reader_ == nullptr || eof_) return false;
    const long long n = reader_->Read(buffer_.data(), buffer_.size(), &error_);
    if (n <= 0) {
      failed_ = n < 0;
      eof_ = true;
      return false;
    }
    at_ = 0;
    size_ = static_cast<size_t>(n);
    return true;
  }

  FileError error_;
  std::unique_ptr<FileReader> reader_;
  std::vector<char> buffer_ = std::vector<char>(1 << 20);
  size_t at_ = 0;
  size_t size_ = 0;
  bool skipLf_ = false;
  bool pendingLine_ = false;  // characters were read since the last CR
  bool eof_ = false;
  bool failed_ = false;
};

// The word table an index file's text holds, parsed.
struct IndexContents {
  int32_t lngNumWords = 0;
  int16_t intPositionDigits = 0;
  int32_t lngFirstFreq = 0;
  std::vector<WordRecord> words;  // [0] unused
  WordRuleSet rules = WordRuleSet::kWindows1252;
};

// Writes the index text of word table `t` to `out` (uncompressed), its positions at
// least `intPositionDigits` digits wide. False with *error set on a write error.
bool WriteIndexText(const WordTable& t, int16_t intPositionDigits, const std::string& digest,
                    const std::string& date, FileWriter& out, FileError* error);

// Parses the index text from line 3 on (the counts and the word lines) into `out`;
// `nextLine` gives the next line without its line end, or false at the end. The word
// count may claim at most `maxWords` records (the caller knows how much text there
// is). False on any content the writer would not have written: a count out of range,
// fewer or more word lines than the count, a field missing or not a number, a
// positions string of the wrong length, a link outside the table or a frequency chain
// that runs in a circle, a word that is empty, longer than `maxWordLength`, holds a
// control character, comes twice or stands out of alphabetical order (under `rules`).
bool ParseIndexBody(const std::function<bool(std::string&)>& nextLine, int64_t maxWords,
                    int maxWordLength, IndexContents* out,
                    WordRuleSet rules = WordRuleSet::kWindows1252);

}  // namespace quillmoor

#endif  // QUILLMOOR_OUTPUT_INDEXFILE_H_
