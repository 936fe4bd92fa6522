// The concordance explorer's lines: one row per occurrence of the chosen words, over
// a finished word table and the display copy of the document text.
//
// Contract: the table and the text are read-only inputs, given at construction, that
// must outlive the object; nothing of the program-wide state is read or changed, so
// the main window, its files and its options behave the same with the explorer open.
// A row is a (word, occurrence) pair, never a copy of its context: the context is cut
// on demand, for the rows a view shows or an export writes.
//
// Context words (for the L1..L5 and R1..R5 sort keys, the width of a cut and the tails
// of a filter) are runs of the scanner's word characters (letters, digits, inner
// hyphens) holding a letter or a digit; they are compared by the listing's sort key,
// accent-folded lower case. All text here is Windows-1252, positions 1-based.
#ifndef QUILLMOOR_EXPLORE_KWICROWS_H_
#define QUILLMOOR_EXPLORE_KWICROWS_H_

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/WordRecord.h"
#include "shared/PageMap.h"

namespace quillmoor {

// What the explorer reads: records 1..numWords of a word table (its positions point
// into `text`) and the display copy of the document text.
struct ExploreSource {
  const std::vector<WordRecord>* words = nullptr;
  int32_t numWords = 0;
  std::string_view text;
  bool utf8 = false;               // the words and the text are UTF-8 (the Unicode rules)
  const PageMap* pages = nullptr;  // a paged document's (a PDF's) pages, or none
};

struct KwicRow {
  int32_t word = 0;      // index in the table
  int32_t position = 0;  // 1-based in the text
};

// One level of a sort: the context word `distance` (1 to 5) to the left or right, the
// keyword, or the position.
struct SortLevel {
  enum Kind { kLeft, kKeyword, kRight, kPosition };
  Kind kind = kKeyword;
  int distance = 0;
  bool operator==(const SortLevel&) const = default;
};
inline constexpr int kMaxSortDistance = 5;
inline constexpr int kMaxSortLevels = 3;
inline constexpr int kMaxCutWidth = 20;  // context words on each side

// "L1".."L5", "R1".."R5", "KW" (or "K"), "POS"; any letter case. False when not one.
bool ParseSortLevel(std::string_view text, SortLevel* level);
std::string SortLevelName(const SortLevel& level);
// A comma-separated list of at most kMaxSortLevels levels ("R1,R2,L1").
bool ParseSortLevels(std::string_view text, std::vector<SortLevel>* levels);

// A span of the text: `begin` 0-based, `size` characters.
struct TextSpan {
  size_t begin = 0;
  size_t size = 0;
};

// The context of one row, `width` context words on each side: `left` ends right
// before the keyword, `right` starts right after it. Line-break marks stay as " / ".
struct KwicCut {
  std::string left, keyword, right;
  // Where the sort levels' words lie, by level (size 0: no such word), relative to
  // `left`, `keyword` or `right` as their kind says.
  std::vector<TextSpan> sortWords;
};

class KwicRows {
 public:
  explicit KwicRows(const ExploreSource& source);

  // The rows of the given words (table indices), in document order (or, when not
  // `inDocumentOrder`, word by word: for a Sort that follows).
  void Select(const std::vector<int32_t>& words, bool inDocumentOrder = true);
  // The same rows sorted by the keyword (what Sort({KW}) gives), made in that order.
  void SelectInWordOrder(const std::vector<int32_t>& words);
  // Exactly these rows, in this order.
  void SetRows(std::vector<KwicRow> rows) {
    rows_ = std::move(rows);
    levels_.clear();
  }
  // Keeps the rows `keep` says yes to (their order stays).
  void KeepRowsIf(const std::function<bool(const KwicRow&)>& keep);
  // True when a context word within `width` words on either side of the row's keyword,
  // in lower case, matches the wildcard `pattern`.
  bool HasContextWordMatching(const KwicRow& row, std::string_view pattern, int width) const;

  size_t size() const { return rows_.size(); }
  const KwicRow& row(size_t i) const { return rows_[i]; }
  const std::vector<KwicRow>& rows() const { return rows_; }

  // Sorts the rows by the levels in turn; ties keep document order.
  void Sort(const std::vector<SortLevel>& levels);
  const std::vector<SortLevel>& levels() const { return levels_; }

  // The row's keyword as written in the text.
  TextSpan Keyword(const KwicRow& row) const;
  // The context word `offset` words from the keyword (-1 the first to the left, 1 the
  // first to the right); size 0 when the text ends first.
  TextSpan ContextWord(const KwicRow& row, int offset) const;
  KwicCut Cut(const KwicRow& row, int width) const;
  // The line of the document a position lies on (1 + the line-break marks before it).
  int32_t LineOf(int32_t position) const;
  // True for a paged document (a PDF): its lines are cited by page, PageOf, not line.
  bool paged() const { return source_.pages != nullptr && !source_.pages->empty(); }
  int32_t PageOf(int32_t position) const { return paged() ? source_.pages->PageOf(position) : 0; }
  std::string_view text() const { return source_.text; }
  // The words and the text are UTF-8 (the Unicode rules).
  bool utf8() const { return source_.utf8; }
  const WordRecord& word(const KwicRow& row) const {
    return (*source_.words)[static_cast<size_t>(row.word)];
  }

 private:
  // The context word `offset` words from a keyword's span.
  TextSpan WordFrom(TextSpan keyword, int offset) const;
  // Up to `count` context words from a keyword's span in `direction` (-1 left, 1
  // right), nearest first, into out[]; returns how many there are.
  int Words(TextSpan keyword, int direction, int count, TextSpan* out) const;

  ExploreSource source_;
  std::vector<KwicRow> rows_;
  std::vector<SortLevel> levels_;
  std::vector<size_t> lineBreaks_;  // 0-based offsets of the " / " marks
};

// A query of the keyword search's language: keywords separated by spaces, each a
// wildcard pattern (`*`, `?`, `#`) for the word, optionally `+` and a pattern that a
// context word must match. Lower case, Windows-1252.
class ExploreQuery {
 public:
  ExploreQuery() = default;
  // `text` in the engine text of the table (UTF-8 with `utf8`).
  explicit ExploreQuery(std::string_view text, bool utf8 = false);
  bool empty() const { return keywords_.empty(); }
  // Adds a keyword that matches exactly `word` (a keywords file's word).
  void AddPlainWord(const std::string& word);
  // True when a keyword's head matches `word` (a table word).
  bool SelectsWord(std::string_view word) const;
  // True when a keyword's head matches the row's word and its tail, when it has one,
  // matches a context word within `width` words.
  bool KeepsRow(const KwicRows& rows, const KwicRow& row, int width) const;

 private:
  struct Keyword {
    std::string head, tail;
    bool plain = false;
  };
  std::vector<Keyword> keywords_;
  bool utf8_ = false;
};

// The rows of some words in keyword order (as Sort({KW}) orders them), made one key at
// a time: for exports that never hold all the rows at once.
class WordOrderRows {
 public:
  WordOrderRows(const ExploreSource& source, const std::vector<int32_t>& words);
  // The next key's rows into *out; false when there are no more.
  bool Next(std::vector<KwicRow>* out);
  size_t Total() const;  // the number of rows in all

 private:
  const std::vector<WordRecord>& table_;
  std::vector<int32_t> order_;
  size_t next_ = 0;
};

// Ranks for keys: equal keys get equal ranks, in key order from 1 (a sort level's
// ranks, made once for each distinct key).
template <typename Key>
std::vector<uint32_t> RanksOf(const std::vector<Key>& keys) {
  std::vector<uint32_t> order(keys.size());
  for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(),
            [&keys](uint32_t a, uint32_t b) { return keys[a] < keys[b]; });
  std::vector<uint32_t> rank(keys.size(), 0);
  uint32_t r = 0;
  for (size_t k = 0; k < order.size(); ++k) {
    if (k == 0 || keys[order[k - 1]] < keys[order[k]]) ++r;
    rank[order[k]] = r;
  }
  return rank;
}

// True when `c` belongs to a context word.
bool IsContextWordChar(char c);

}  // namespace quillmoor

#endif  // QUILLMOOR_EXPLORE_KWICROWS_H_
