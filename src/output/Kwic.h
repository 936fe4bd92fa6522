// KWIC lines: the entry of one word of the table, a heading and one line for each
// distinct context in which the word occurs.
//
// A context is cut out of the display text strLine1 around the occurrence (20
// characters per context word on each side), line-break marks " / " are dropped or
// kept, and the window is trimmed to `intContextSize` words on each side. Identical
// contexts of a word are listed once; with frequencies shown the line gets a repeat
// mark " (x2)", " (x3)" ... up to " (x1000)".
#ifndef QUILLMOOR_OUTPUT_KWIC_H_
#define QUILLMOOR_OUTPUT_KWIC_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillmoor {

struct Program;

inline constexpr int kCharsPerContextWord = 20;
inline constexpr int32_t kMaxRepeatCount = 999;  // the mark stops at (x1000)

// The trimmed context line of the occurrence at `position` (1-based in `text`) of a
// word `wordLength` characters long, into *line (`scratch` is working space).
void BuildContextLine(std::string_view text, int32_t position, size_t wordLength, int contextSize,
                      bool showLineBreaks, std::string* line, std::string* scratch);
std::string BuildContextLine(std::string_view text, int32_t position, size_t wordLength,
                             int contextSize, bool showLineBreaks);

// The part of a context line before its last " (x" (all of it when it has none).
std::string_view ContextBase(std::string_view line);

// The distinct context lines of one word, in order of first occurrence, with their
// repeat counts.
class ContextLines {
 public:
  void Clear();
  // Merges `line`: a line equal to the base of kept lines counts as their repeat
  // (with `showFrequencies`, their marks go up); any other line is kept.
  void Merge(std::string_view line, bool showFrequencies);
  int32_t size() const { return used_; }
  const std::string& line(int32_t k) const { return lines_[static_cast<size_t>(k)]; }
  int32_t repeatCount(int32_t k) const { return repeats_[static_cast<size_t>(k)]; }
  // Copies, for tests.
  std::vector<std::string> lines() const;
  std::vector<int32_t> repeatCounts() const;

 private:
  struct Entry {
    size_t hash = 0;
    int32_t slot = kEmpty;  // kEmpty, kRemoved, or the index of a kept line
  };
  static constexpr int32_t kEmpty = -1;
  static constexpr int32_t kRemoved = -2;

  void Index(size_t hash, int32_t slot);
  void Unindex(size_t hash, int32_t slot);
  void Rehash(size_t capacity);

  // Kept lines; strings beyond used_ are spare, kept for their storage.
  std::vector<std::string> lines_;
  std::vector<int32_t> repeats_;
  std::vector<size_t> baseLengths_;  // the length of each kept line's base
  int32_t used_ = 0;
  // Open-addressing index of the kept lines by the hash of their base; one base can
  // stand for several lines.
  std::vector<Entry> table_;
  size_t filled_ = 0;  // entries that are not kEmpty
  std::vector<int32_t> matches_;
};

// Appends the entry of word `lngI` to `strOutput` (and, without context, shows the
// word's line in the output box).
void DisplayNextWord(Program& p, int32_t lngI, std::string& strOutput);

}  // namespace quillmoor

#endif  // QUILLMOOR_OUTPUT_KWIC_H_
