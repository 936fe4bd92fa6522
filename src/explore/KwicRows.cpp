#include "explore/KwicRows.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "engine/UnicodeWords.h"
#include "engine/WildcardMatch.h"
#include "engine/WordRules.h"
#include "engine/WordTable.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

// The character classes as tables: a context word's characters, and letters and
// digits alone.
struct CharClasses {
  bool word[256] = {};
  bool letterOrDigit[256] = {};
  CharClasses() {
    for (int c = 0; c < 256; ++c) {
      word[c] = IsAlphaChar(static_cast<char>(c), 0, "-0123456789");
      letterOrDigit[c] = IsAlphaChar(static_cast<char>(c), 0, "0123456789");
    }
  }
};
const CharClasses kClasses;

bool IsLetterOrDigit(char c) { return kClasses.letterOrDigit[static_cast<unsigned char>(c)]; }

// The document order of rows: by position, then by table index (the parts of a
// hyphenated word share its position).
bool DocumentOrder(const KwicRow& a, const KwicRow& b) {
  return a.position != b.position ? a.position < b.position : a.word < b.word;
}

}  // namespace

bool IsContextWordChar(char c) { return kClasses.word[static_cast<unsigned char>(c)]; }

bool ParseSortLevel(std::string_view text, SortLevel* level) {
  std::string t(text);
  for (char& c : t) c = UpperCaseChar(c);
  if (t == "KW" || t == "K") {
    *level = {SortLevel::kKeyword, 0};
    return true;
  }
  if (t == "POS") {
    *level = {SortLevel::kPosition, 0};
    return true;
  }
  if (t.size() == 2 && (t[0] == 'L' || t[0] == 'R') && t[1] >= '1' &&
      t[1] <= '0' + kMaxSortDistance) {
    *level = {t[0] == 'L' ? SortLevel::kLeft : SortLevel::kRight, t[1] - '0'};
    return true;
  }
  return false;
}

std::string SortLevelName(const SortLevel& level) {
  switch (level.kind) {
    case SortLevel::kLeft:
      return "L" + std::to_string(level.distance);
    case SortLevel::kRight:
      return "R" + std::to_string(level.distance);
    case SortLevel::kKeyword:
      return "KW";
    case SortLevel::kPosition:
      return "POS";
  }
  return "KW";
}

bool ParseSortLevels(std::string_view text, std::vector<SortLevel>* levels) {
  levels->clear();
  size_t begin = 0;
  while (begin <= text.size()) {
    const size_t comma = std::min(text.find(',', begin), text.size());
    SortLevel level;
    if (!ParseSortLevel(text.substr(begin, comma - begin), &level)) return false;
    levels->push_back(level);
    begin = comma + 1;
  }
  return !levels->empty() && levels->size() <= static_cast<size_t>(kMaxSortLevels);
}

KwicRows::KwicRows(const ExploreSource& source) : source_(source) {
  for (size_t at = source_.text.find(" / "); at != std::string_view::npos;
       at = source_.text.find(" / ", at + 3)) {
    lineBreaks_.push_back(at);
  }
}

void KwicRows::Select(const std::vector<int32_t>& words, bool inDocumentOrder) {
  rows_.clear();
  size_t total = 0;
  for (int32_t w : words) {
    if (w >= 1 && w <= source_.numWords)
      total += (*source_.words)[static_cast<size_t>(w)].positions.size();
  }
  rows_.reserve(total);
  for (int32_t w : words) {
    if (w < 1 || w > source_.numWords) continue;
    for (int32_t position : (*source_.words)[static_cast<size_t>(w)].positions)
      rows_.push_back({w, position});
  }
  if (inDocumentOrder) std::sort(rows_.begin(), rows_.end(), DocumentOrder);
  levels_.clear();
}

WordOrderRows::WordOrderRows(const ExploreSource& source, const std::vector<int32_t>& words)
    : table_(*source.words) {
  for (int32_t w : words) {
    if (w >= 1 && w <= source.numWords) order_.push_back(w);
  }
  std::sort(order_.begin(), order_.end(), [this](int32_t a, int32_t b) {
    const std::string& ka = table_[static_cast<size_t>(a)].strSortKey;
    const std::string& kb = table_[static_cast<size_t>(b)].strSortKey;
    return ka != kb ? ka < kb : a < b;
  });
}

size_t WordOrderRows::Total() const {
  size_t total = 0;
  for (int32_t w : order_) total += table_[static_cast<size_t>(w)].positions.size();
  return total;
}

bool WordOrderRows::Next(std::vector<KwicRow>* out) {
  out->clear();
  if (next_ >= order_.size()) return false;
  // One key's words (one word, or two spellings of one key merged in document order).
  size_t end = next_ + 1;
  while (end < order_.size() && table_[static_cast<size_t>(order_[end])].strSortKey ==
                                    table_[static_cast<size_t>(order_[next_])].strSortKey) {
    ++end;
  }
  for (size_t j = next_; j < end; ++j) {
    for (int32_t position : table_[static_cast<size_t>(order_[j])].positions)
      out->push_back({order_[j], position});
  }
  if (end - next_ > 1) std::sort(out->begin(), out->end(), DocumentOrder);
  next_ = end;
  return true;
}

void KwicRows::SelectInWordOrder(const std::vector<int32_t>& words) {
  // Sorted by the word's key as it is made: no second copy of the rows.
  WordOrderRows source(source_, words);
  rows_.clear();
  rows_.reserve(source.Total());
  for (std::vector<KwicRow> group; source.Next(&group);)
    rows_.insert(rows_.end(), group.begin(), group.end());
  levels_ = {{SortLevel::kKeyword, 0}};
}

namespace {

// A character of a context word: under the Unicode rules every byte of a character
// beyond ASCII is taken for one (a character is never split).
// Under the Unicode rules a byte beyond ASCII is taken with its character: a letter,
// a decimal digit or a hyphen of any script is part of a context word, any other
// character (a dash, a quotation mark, an ideographic full stop) is not.
inline CharClass ClassAt(std::string_view text, size_t i) {
  size_t start = i;
  while (start > 0 && i - start < 3 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) {
    --start;
  }
  uint32_t cp = 0;
  return Utf8SequenceAt(text, start, &cp) > i - start ? ClassOfCodePoint(cp) : CharClass::kOther;
}
inline bool WordCharAt(bool utf8, std::string_view text, size_t i) {
  if (!utf8 || static_cast<unsigned char>(text[i]) < 0x80) return IsContextWordChar(text[i]);
  return ClassAt(text, i) != CharClass::kOther;
}
inline bool LetterOrDigitAt(bool utf8, std::string_view text, size_t i) {
  if (!utf8 || static_cast<unsigned char>(text[i]) < 0x80) return IsLetterOrDigit(text[i]);
  const CharClass c = ClassAt(text, i);
  return c == CharClass::kLetter || c == CharClass::kDigit;
}

}  // namespace

TextSpan KwicRows::Keyword(const KwicRow& row) const {
  // The scanner's position of a plural or of a hyphenated word's part can stand inside
  // the run it came from (it counts back from the shortened word), so the keyword is
  // found in that run: the part equal to the table word nearest the position, else the
  // run of letters and digits around the position.
  const std::string_view text = source_.text;
  const size_t at = std::min(static_cast<size_t>(std::max(row.position, 1) - 1), text.size());
  const std::string& target = word(row).strWord;
  // Most words stand alone at their position: a run of exactly the word's length.
  if ((at == 0 || !WordCharAt(source_.utf8, text, at - 1)) && at + target.size() <= text.size() &&
      (at + target.size() == text.size() || !WordCharAt(source_.utf8, text, at + target.size()))) {
    return {at, target.size()};
  }
  // Under the Unicode rules a word of a script written without spaces stands inside a
  // longer run: it begins at its position.
  if (source_.utf8 && LowerIn(true, text.substr(at, target.size())) == target) {
    return {at, target.size()};
  }
  size_t runBegin = at, runEnd = at;
  while (runBegin > 0 && WordCharAt(source_.utf8, text, runBegin - 1)) --runBegin;
  while (runEnd < text.size() && WordCharAt(source_.utf8, text, runEnd)) ++runEnd;
  const std::string run = LowerIn(source_.utf8, text.substr(runBegin, runEnd - runBegin));
  auto distance = [&](size_t k) {
    return k + runBegin > at ? k + runBegin - at : at - k - runBegin;
  };
  size_t best = std::string::npos;
  for (size_t k = run.find(target); k != std::string::npos; k = run.find(target, k + 1)) {
    const size_t end = k + target.size();
    const bool bounded = (k == 0 || run[k - 1] == '-') && (end == run.size() || run[end] == '-');
    if (bounded && (best == std::string::npos || distance(k) < distance(best))) best = k;
  }
  if (best != std::string::npos) return {runBegin + best, target.size()};
  size_t begin = at, end = at;
  while (begin > runBegin && LetterOrDigitAt(source_.utf8, text, begin - 1)) --begin;
  while (end < runEnd && LetterOrDigitAt(source_.utf8, text, end)) ++end;
  if (end == begin) end = std::min(text.size(), begin + target.size());
  return {begin, end - begin};
}

TextSpan KwicRows::ContextWord(const KwicRow& row, int offset) const {
  return WordFrom(Keyword(row), offset);
}

TextSpan KwicRows::WordFrom(TextSpan keyword, int offset) const {
  TextSpan words[kMaxCutWidth];
  const int n = std::min(std::abs(offset), kMaxCutWidth);
  if (n == 0 || Words(keyword, offset < 0 ? -1 : 1, n, words) < n)
    return {offset > 0 ? source_.text.size() : 0, 0};
  return words[n - 1];
}

int KwicRows::Words(TextSpan keyword, int direction, int count, TextSpan* out) const {
  const std::string_view text = source_.text;
  int n = 0;
  if (direction > 0) {
    for (size_t at = keyword.begin + keyword.size; at < text.size() && n < count;) {
      while (at < text.size() && !WordCharAt(source_.utf8, text, at)) ++at;
      const size_t begin = at;
      bool counts = false;
      while (at < text.size() && WordCharAt(source_.utf8, text, at)) counts |= text[at++] != '-';
      if (counts) out[n++] = {begin, at - begin};
    }
    return n;
  }
  for (size_t at = keyword.begin; at > 0 && n < count;) {  // `at`: one past the next character
    while (at > 0 && !WordCharAt(source_.utf8, text, at - 1)) --at;
    const size_t end = at;
    bool counts = false;
    while (at > 0 && WordCharAt(source_.utf8, text, at - 1)) counts |= text[--at] != '-';
    if (counts) out[n++] = {at, end - at};
  }
  return n;
}

KwicCut KwicRows::Cut(const KwicRow& row, int width) const {
  const std::string_view text = source_.text;
  const TextSpan keyword = Keyword(row);
  width = std::clamp(width, 1, kMaxCutWidth);
  TextSpan left[kMaxCutWidth], right[kMaxCutWidth];
  const int nLeft = Words(keyword, -1, width, left), nRight = Words(keyword, 1, width, right);
  // From the farthest word that exists (the text's start or end when there is none).
  const size_t leftBegin = nLeft > 0 ? left[nLeft - 1].begin : std::min<size_t>(1, keyword.begin);
  const size_t keywordEnd = keyword.begin + keyword.size;
  const size_t rightEnd =
      nRight > 0
          ? right[nRight - 1].begin + right[nRight - 1].size
          : std::max(keywordEnd,
                     text.size() - (text.ends_with(' ') && text.size() > keywordEnd ? 1 : 0));
  KwicCut cut;
  cut.left = std::string(text.substr(leftBegin, keyword.begin - leftBegin));
  cut.keyword = std::string(text.substr(keyword.begin, keyword.size));
  cut.right = std::string(text.substr(keywordEnd, rightEnd - keywordEnd));
  for (const SortLevel& level : levels_) {
    TextSpan span;
    if (level.kind == SortLevel::kKeyword) {
      span = {0, keyword.size};
    } else if (level.kind == SortLevel::kLeft && level.distance <= nLeft) {
      span = {left[level.distance - 1].begin - leftBegin, left[level.distance - 1].size};
    } else if (level.kind == SortLevel::kRight && level.distance <= nRight) {
      span = {right[level.distance - 1].begin - keywordEnd, right[level.distance - 1].size};
    }
    cut.sortWords.push_back(span);
  }
  return cut;
}

int32_t KwicRows::LineOf(int32_t position) const {
  const size_t offset = static_cast<size_t>(std::max(position, 1) - 1);
  return 1 + static_cast<int32_t>(std::lower_bound(lineBreaks_.begin(), lineBreaks_.end(), offset) -
                                  lineBreaks_.begin());
}

void KwicRows::KeepRowsIf(const std::function<bool(const KwicRow&)>& keep) {
  std::erase_if(rows_, [&keep](const KwicRow& row) { return !keep(row); });
}

bool KwicRows::HasContextWordMatching(const KwicRow& row, std::string_view pattern,
                                      int width) const {
  for (int d = -width; d <= width; ++d) {
    if (d == 0) continue;
    const TextSpan w = ContextWord(row, d);
    if (w.size > 0 &&
        MatchesPatternIn(source_.utf8, LowerIn(source_.utf8, source_.text.substr(w.begin, w.size)),
                         pattern)) {
      return true;
    }
  }
  return false;
}

ExploreQuery::ExploreQuery(std::string_view text, bool utf8) : utf8_(utf8) {
  const std::string lower = LowerIn(utf8, text);
  size_t begin = 0;
  while (begin < lower.size()) {
    const size_t end = std::min(lower.find(' ', begin), lower.size());
    const std::string keyword = lower.substr(begin, end - begin);
    if (!keyword.empty()) {
      const size_t plus = keyword.find('+');
      keywords_.push_back(
          {keyword.substr(0, plus), plus == std::string::npos ? "" : keyword.substr(plus + 1)});
    }
    begin = end + 1;
  }
}

void ExploreQuery::AddPlainWord(const std::string& word) { keywords_.push_back({word, "", true}); }

bool ExploreQuery::SelectsWord(std::string_view word) const {
  const std::string lower = LowerIn(utf8_, word);
  for (const Keyword& k : keywords_) {
    if (k.plain ? lower == k.head : MatchesPatternIn(utf8_, lower, k.head)) return true;
  }
  return false;
}

bool ExploreQuery::KeepsRow(const KwicRows& rows, const KwicRow& row, int width) const {
  const std::string lower = LowerIn(utf8_, rows.word(row).strWord);
  for (const Keyword& k : keywords_) {
    if (!(k.plain ? lower == k.head : MatchesPatternIn(utf8_, lower, k.head))) continue;
    if (k.tail.empty() || rows.HasContextWordMatching(row, k.tail, width)) return true;
  }
  return false;
}

void KwicRows::Sort(const std::vector<SortLevel>& levels) {
  levels_ = levels;
  if (levels.empty() || rows_.empty()) {
    std::sort(rows_.begin(), rows_.end(), DocumentOrder);
    return;
  }
  // Each level's key of each row as a rank (0: no word there, which sorts first). A
  // context word's key is made once for each distinct spelling in the text.
  // The keywords' spans, when a level looks at context words.
  std::vector<TextSpan> keywords;
  if (std::any_of(levels.begin(), levels.end(), [](const SortLevel& l) {
        return l.kind == SortLevel::kLeft || l.kind == SortLevel::kRight;
      })) {
    keywords.resize(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) keywords[i] = Keyword(rows_[i]);
  }
  std::vector<std::vector<uint32_t>> ranks;
  for (const SortLevel& level : levels) {
    std::vector<uint32_t> rank(rows_.size(), 0);
    if (level.kind == SortLevel::kPosition) {  // document order, whatever the rows' order
      std::vector<uint32_t> order(rows_.size());
      std::iota(order.begin(), order.end(), 0u);
      std::sort(order.begin(), order.end(),
                [this](uint32_t a, uint32_t b) { return DocumentOrder(rows_[a], rows_[b]); });
      for (size_t k = 0; k < order.size(); ++k) rank[order[k]] = static_cast<uint32_t>(k);
    } else if (level.kind == SortLevel::kKeyword) {
      std::vector<std::string_view> keys(static_cast<size_t>(source_.numWords) + 1);
      for (int32_t w = 1; w <= source_.numWords; ++w)
        keys[static_cast<size_t>(w)] = (*source_.words)[static_cast<size_t>(w)].strSortKey;
      const std::vector<uint32_t> wordRank = RanksOf(keys);
      for (size_t i = 0; i < rows_.size(); ++i)
        rank[i] = wordRank[static_cast<size_t>(rows_[i].word)];
    } else {
      std::unordered_map<std::string_view, uint32_t> ids;  // spelling -> id from 1
      std::vector<uint32_t> id(rows_.size(), 0);
      const int offset = level.kind == SortLevel::kLeft ? -level.distance : level.distance;
      for (size_t i = 0; i < rows_.size(); ++i) {
        const TextSpan w = WordFrom(keywords[i], offset);
        if (w.size == 0) continue;
        id[i] = ids.try_emplace(source_.text.substr(w.begin, w.size),
                                static_cast<uint32_t>(ids.size() + 1))
                    .first->second;
      }
      std::vector<std::string> keys(ids.size() + 1);
      for (const auto& [spelling, n] : ids) keys[n] = SortKeyOf(spelling);
      const std::vector<uint32_t> keyRank = RanksOf(keys);  // keys[0] "" ranks first
      for (size_t i = 0; i < rows_.size(); ++i) rank[i] = id[i] == 0 ? 0 : keyRank[id[i]];
    }
    ranks.push_back(std::move(rank));
  }
  std::vector<KwicRow> sorted(rows_.size());
  if (ranks.size() == 1 && levels[0].kind == SortLevel::kKeyword) {
    // By word alone: a counting sort on the word's rank. A word's positions ascend, so
    // only a bucket that holds several words (one key, two spellings) needs sorting.
    const std::vector<uint32_t>& rank = ranks[0];
    std::vector<size_t> start(*std::max_element(rank.begin(), rank.end()) + 2, 0);
    for (uint32_t r : rank) ++start[r + 1];
    std::partial_sum(start.begin(), start.end(), start.begin());
    std::vector<size_t> next(start.begin(), start.end() - 1);
    for (size_t i = 0; i < rows_.size(); ++i) sorted[next[rank[i]]++] = rows_[i];
    for (size_t b = 0; b + 1 < start.size(); ++b) {
      const auto first = sorted.begin() + static_cast<long>(start[b]),
                 last = sorted.begin() + static_cast<long>(start[b + 1]);
      if (!std::is_sorted(first, last, DocumentOrder)) std::sort(first, last, DocumentOrder);
    }
  } else {
    std::vector<uint32_t> index(rows_.size());
    std::iota(index.begin(), index.end(), 0u);
    // Ties keep document order, whatever order the rows were in.
    std::sort(index.begin(), index.end(), [&](uint32_t a, uint32_t b) {
      for (const std::vector<uint32_t>& rank : ranks) {
        if (rank[a] != rank[b]) return rank[a] < rank[b];
      }
      return DocumentOrder(rows_[a], rows_[b]);
    });
    for (size_t k = 0; k < index.size(); ++k) sorted[k] = rows_[index[k]];
  }
  rows_ = std::move(sorted);
}

}  // namespace quillmoor
