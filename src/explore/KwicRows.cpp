#include "explore/KwicRows.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "engine/WildcardMatch.h"
#include "engine/WordRules.h"
#include "engine/WordTable.h"

namespace quillmoor {
namespace {

bool IsLetterOrDigit(char c) { return IsAlphaChar(c, 0, "0123456789"); }

// The document order of rows: by position, then by table index (the parts of a
// hyphenated word share its position).
bool DocumentOrder(const KwicRow& a, const KwicRow& b) {
  return a.position != b.position ? a.position < b.position : a.word < b.word;
}

}  // namespace

bool IsContextWordChar(char c) { return IsAlphaChar(c, 0, "-0123456789"); }

std::string ExploreSortKey(std::string_view word) { return LowerCaseAccented(FoldAccents(word)); }

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
  if (t.size() == 2 && (t[0] == 'L' || t[0] == 'R') && t[1] >= '1' && t[1] <= '0' + kMaxSortDistance) {
    *level = {t[0] == 'L' ? SortLevel::kLeft : SortLevel::kRight, t[1] - '0'};
    return true;
  }
  return false;
}

std::string SortLevelName(const SortLevel& level) {
  switch (level.kind) {
    case SortLevel::kLeft: return "L" + std::to_string(level.distance);
    case SortLevel::kRight: return "R" + std::to_string(level.distance);
    case SortLevel::kKeyword: return "KW";
    case SortLevel::kPosition: return "POS";
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
  for (size_t at = source_.text.find(" / "); at != std::string_view::npos; at = source_.text.find(" / ", at + 3)) {
    lineBreaks_.push_back(at);
  }
}

void KwicRows::Select(const std::vector<int32_t>& words) {
  rows_.clear();
  for (int32_t w : words) {
    if (w < 1 || w > source_.numWords) continue;
    for (int32_t position : (*source_.words)[static_cast<size_t>(w)].positions) rows_.push_back({w, position});
  }
  std::sort(rows_.begin(), rows_.end(), DocumentOrder);
  levels_.clear();
}

TextSpan KwicRows::Keyword(const KwicRow& row) const {
  // The scanner's position of a plural or of a hyphenated word's part can stand inside
  // the run it came from (it counts back from the shortened word), so the keyword is
  // found in that run: the part equal to the table word nearest the position, else the
  // run of letters and digits around the position.
  const std::string_view text = source_.text;
  const size_t at = std::min(static_cast<size_t>(std::max(row.position, 1) - 1), text.size());
  size_t runBegin = at, runEnd = at;
  while (runBegin > 0 && IsContextWordChar(text[runBegin - 1])) --runBegin;
  while (runEnd < text.size() && IsContextWordChar(text[runEnd])) ++runEnd;
  const std::string& target = word(row).strWord;
  const std::string run = LowerCaseAccented(std::string(text.substr(runBegin, runEnd - runBegin)));
  auto distance = [&](size_t k) { return k + runBegin > at ? k + runBegin - at : at - k - runBegin; };
  size_t best = std::string::npos;
  for (size_t k = run.find(target); k != std::string::npos; k = run.find(target, k + 1)) {
    const size_t end = k + target.size();
    const bool bounded = (k == 0 || run[k - 1] == '-') && (end == run.size() || run[end] == '-');
    if (bounded && (best == std::string::npos || distance(k) < distance(best))) best = k;
  }
  if (best != std::string::npos) return {runBegin + best, target.size()};
  size_t begin = at, end = at;
  while (begin > runBegin && IsLetterOrDigit(text[begin - 1])) --begin;
  while (end < runEnd && IsLetterOrDigit(text[end])) ++end;
  if (end == begin) end = std::min(text.size(), begin + target.size());
  return {begin, end - begin};
}

TextSpan KwicRows::ContextWord(const KwicRow& row, int offset) const {
  const std::string_view text = source_.text;
  const TextSpan keyword = Keyword(row);
  if (offset > 0) {
    size_t at = keyword.begin + keyword.size;
    for (int n = 0; at < text.size();) {
      while (at < text.size() && !IsContextWordChar(text[at])) ++at;
      const size_t begin = at;
      bool counts = false;
      while (at < text.size() && IsContextWordChar(text[at])) counts |= text[at++] != '-';
      if (counts && ++n == offset) return {begin, at - begin};
    }
    return {text.size(), 0};
  }
  size_t at = keyword.begin;  // one past the character looked at next
  for (int n = 0; at > 0 && offset < 0;) {
    while (at > 0 && !IsContextWordChar(text[at - 1])) --at;
    const size_t end = at;
    bool counts = false;
    while (at > 0 && IsContextWordChar(text[at - 1])) counts |= text[--at] != '-';
    if (counts && --n == offset) return {at, end - at};
  }
  return {0, 0};
}

KwicCut KwicRows::Cut(const KwicRow& row, int width) const {
  const std::string_view text = source_.text;
  const TextSpan keyword = Keyword(row);
  size_t leftBegin = keyword.begin, rightEnd = keyword.begin + keyword.size;
  for (int d = width; d >= 1; --d) {  // the farthest word that exists
    const TextSpan w = ContextWord(row, -d);
    if (w.size > 0) {
      leftBegin = w.begin;
      break;
    }
    if (d == 1) leftBegin = std::min<size_t>(1, keyword.begin);  // the text's start, after its space
  }
  for (int d = width; d >= 1; --d) {
    const TextSpan w = ContextWord(row, d);
    if (w.size > 0) {
      rightEnd = w.begin + w.size;
      break;
    }
    if (d == 1) rightEnd = text.size() - (text.ends_with(' ') && text.size() > rightEnd ? 1 : 0);
  }
  KwicCut cut;
  cut.left = std::string(text.substr(leftBegin, keyword.begin - leftBegin));
  cut.keyword = std::string(text.substr(keyword.begin, keyword.size));
  cut.right = std::string(text.substr(keyword.begin + keyword.size, rightEnd - keyword.begin - keyword.size));
  for (const SortLevel& level : levels_) {
    TextSpan span;
    if (level.kind == SortLevel::kKeyword) {
      span = {0, keyword.size};
    } else if (level.kind != SortLevel::kPosition && level.distance <= width) {
      const TextSpan w = ContextWord(row, level.kind == SortLevel::kLeft ? -level.distance : level.distance);
      if (w.size > 0) {
        span = {level.kind == SortLevel::kLeft ? w.begin - leftBegin : w.begin - keyword.begin - keyword.size, w.size};
      }
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

std::string KwicRows::SortKeyAt(TextSpan span) const { return ExploreSortKey(source_.text.substr(span.begin, span.size)); }

void KwicRows::KeepRowsIf(const std::function<bool(const KwicRow&)>& keep) {
  std::erase_if(rows_, [&keep](const KwicRow& row) { return !keep(row); });
}

bool KwicRows::HasContextWordMatching(const KwicRow& row, std::string_view pattern, int width) const {
  for (int d = -width; d <= width; ++d) {
    if (d == 0) continue;
    const TextSpan w = ContextWord(row, d);
    if (w.size > 0 && MatchesPattern(LowerCaseAccented(std::string(source_.text.substr(w.begin, w.size))), pattern)) {
      return true;
    }
  }
  return false;
}

ExploreQuery::ExploreQuery(std::string_view text) {
  const std::string lower = LowerCaseAccented(std::string(text));
  size_t begin = 0;
  while (begin < lower.size()) {
    const size_t end = std::min(lower.find(' ', begin), lower.size());
    const std::string keyword = lower.substr(begin, end - begin);
    if (!keyword.empty()) {
      const size_t plus = keyword.find('+');
      keywords_.push_back({keyword.substr(0, plus), plus == std::string::npos ? "" : keyword.substr(plus + 1)});
    }
    begin = end + 1;
  }
}

void ExploreQuery::AddPlainWord(const std::string& word) { keywords_.push_back({word, "", true}); }

bool ExploreQuery::SelectsWord(std::string_view word) const {
  const std::string lower = LowerCaseAccented(std::string(word));
  for (const Keyword& k : keywords_) {
    if (k.plain ? lower == k.head : MatchesPattern(lower, k.head)) return true;
  }
  return false;
}

bool ExploreQuery::KeepsRow(const KwicRows& rows, const KwicRow& row, int width) const {
  const std::string lower = LowerCaseAccented(rows.word(row).strWord);
  for (const Keyword& k : keywords_) {
    if (!(k.plain ? lower == k.head : MatchesPattern(lower, k.head))) continue;
    if (k.tail.empty() || rows.HasContextWordMatching(row, k.tail, width)) return true;
  }
  return false;
}

void KwicRows::Sort(const std::vector<SortLevel>& levels) {
  levels_ = levels;
  std::sort(rows_.begin(), rows_.end(), DocumentOrder);
  if (levels.empty() || rows_.empty()) return;
  // Each level's key as a rank: the distinct keys of the level in sort-key order, 0 for
  // a missing word (it sorts first).
  std::vector<std::vector<uint32_t>> ranks;
  for (const SortLevel& level : levels) {
    std::vector<uint32_t> rank(rows_.size());
    if (level.kind == SortLevel::kPosition) {
      for (size_t i = 0; i < rows_.size(); ++i) rank[i] = static_cast<uint32_t>(i);  // document order
      ranks.push_back(std::move(rank));
      continue;
    }
    std::unordered_map<std::string, uint32_t> ids;
    std::vector<uint32_t> id(rows_.size(), 0);
    for (size_t i = 0; i < rows_.size(); ++i) {
      std::string key;
      if (level.kind == SortLevel::kKeyword) {
        key = word(rows_[i]).strSortKey;
      } else {
        const TextSpan w =
            ContextWord(rows_[i], level.kind == SortLevel::kLeft ? -level.distance : level.distance);
        if (w.size == 0) continue;
        key = SortKeyAt(w);
      }
      id[i] = ids.try_emplace(std::move(key), static_cast<uint32_t>(ids.size() + 1)).first->second;
    }
    std::vector<const std::string*> keys(ids.size() + 1, nullptr);
    for (const auto& [key, n] : ids) keys[n] = &key;
    std::vector<uint32_t> order(ids.size());
    std::iota(order.begin(), order.end(), 1u);
    std::sort(order.begin(), order.end(), [&keys](uint32_t a, uint32_t b) { return *keys[a] < *keys[b]; });
    std::vector<uint32_t> rankOfId(ids.size() + 1, 0);
    for (size_t k = 0; k < order.size(); ++k) rankOfId[order[k]] = static_cast<uint32_t>(k + 1);
    for (size_t i = 0; i < rows_.size(); ++i) rank[i] = rankOfId[id[i]];
    ranks.push_back(std::move(rank));
  }
  std::vector<size_t> index(rows_.size());
  std::iota(index.begin(), index.end(), size_t{0});
  std::stable_sort(index.begin(), index.end(), [&ranks](size_t a, size_t b) {
    for (const std::vector<uint32_t>& rank : ranks) {
      if (rank[a] != rank[b]) return rank[a] < rank[b];
    }
    return false;
  });
  std::vector<KwicRow> sorted;
  sorted.reserve(rows_.size());
  for (size_t i : index) sorted.push_back(rows_[i]);
  rows_ = std::move(sorted);
}

}  // namespace quillmoor
