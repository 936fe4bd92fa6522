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
#include <unordered_map>
#include <vector>

namespace quillmoor {

struct Program;

inline constexpr int kCharsPerContextWord = 20;
inline constexpr int32_t kMaxRepeatCount = 999;  // the mark stops at (x1000)

// The trimmed context line of the occurrence at `position` (1-based in `text`) of a
// word `wordLength` characters long.
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
  void Merge(const std::string& line, bool showFrequencies);
  const std::vector<std::string>& lines() const { return lines_; }
  const std::vector<int32_t>& repeatCounts() const { return repeats_; }

 private:
  std::vector<std::string> lines_;
  std::vector<int32_t> repeats_;
  // Kept lines by their base; a base can stand for several lines.
  std::unordered_map<std::string, std::vector<int32_t>> byBase_;
};

// Appends the entry of word `lngI` to `strOutput` (and, without context, shows the
// word's line in the output box).
void DisplayNextWord(Program& p, int32_t lngI, std::string& strOutput);

}  // namespace quillmoor

#endif  // QUILLMOOR_OUTPUT_KWIC_H_
