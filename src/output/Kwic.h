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

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace quillmoor {

inline constexpr int kCharsPerContextWord = 20;
inline constexpr int32_t kMaxRepeatCount = 999;  // the mark stops at (x1000)

// The trimmed context line of the occurrence at `position` (1-based in `text`) of a
// word `wordLength` characters long, into *line (`scratch` is working space).
// With `utf8` the text is UTF-8 and the window counts characters.
void BuildContextLine(std::string_view text, int32_t position, size_t wordLength, int contextSize,
                      bool showLineBreaks, std::string* line, std::string* scratch,
                      bool utf8 = false);
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
    uint32_t round = 0;     // the entry is empty unless this is the current round
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
  size_t filled_ = 0;   // entries of this round that are not empty
  uint32_t round_ = 1;  // Clear starts a new round instead of emptying the table
  std::vector<int32_t> matches_;
};

struct WordRecord;
class KeywordSelection;

struct KwicOptions {
  int contextSize = 5;
  bool showFrequencies = true;
  bool showLineBreaks = true;
  bool utf8 = false;  // the text is UTF-8 (the Unicode word rules)
};

// Makes entries, with its own working space (one per thread).
class KwicWriter {
 public:
  // Appends the entry of words[lngI], its contexts cut out of `text`, to `out`. With
  // `search`, only the context lines the search selects follow the heading.
  void AppendEntry(const std::vector<WordRecord>& words, std::string_view text,
                   const KwicOptions& options, const KeywordSelection* search, int32_t lngI,
                   std::string& out);

 private:
  ContextLines lines_;
  std::string line_;
  std::string scratch_;
};

// Makes the entries of the words in `order` of table `words`, their context lines cut
// from `text` as `options` say (with `search`, only the lines it selects), on `workers`
// threads, ahead of the reader, who takes them one by one and in order with Append. The
// word table and the text (and the keywords) must not change while the pipeline exists. Destroying
// it stops the workers (entries not yet taken are dropped).
class EntryPipeline {
 public:
  EntryPipeline(const std::vector<WordRecord>& words, std::string_view text, KwicOptions options,
                const KeywordSelection* search, std::vector<int32_t> order, int workers);
  ~EntryPipeline();
  EntryPipeline(const EntryPipeline&) = delete;
  EntryPipeline& operator=(const EntryPipeline&) = delete;

  // Appends the entry of order[k] to `out`, waiting for it if need be. Entries must
  // be taken in order.
  void Append(size_t k, std::string& out);

 private:
  static constexpr size_t kChunk = 16;        // words a worker takes at a time
  static constexpr size_t kLookahead = 4096;  // words made before they are taken, at most

  void Work();
  void WorkChunks();

  const std::vector<WordRecord>& words_;
  const std::string_view text_;
  const KwicOptions options_;
  const KeywordSelection* const search_;
  const std::vector<int32_t> order_;
  std::vector<std::string> entries_;
  std::vector<uint8_t> ready_;
  std::mutex mutex_;
  std::condition_variable readyNow_;
  std::condition_variable moreWanted_;
  size_t next_ = 0;      // the next word a worker takes
  size_t consumed_ = 0;  // words taken by the reader
  bool failed_ = false;  // a worker failed: the reader makes missing entries itself
  KwicWriter readerWriter_;
  std::atomic<bool> cancelled_{false};
  std::vector<std::thread> threads_;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_OUTPUT_KWIC_H_
