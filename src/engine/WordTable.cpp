#include "engine/WordTable.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "engine/KeyedSort.h"
#include "engine/UnicodeWords.h"
#include "engine/WordRules.h"
#include "shared/Cp1252.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

constexpr std::string_view kFoldTwoFrom = "\x8C\xC4\xC6\xD6\xDC\xE4\xE6\xF6\xFC\xDF";
constexpr std::string_view kFoldTwoTo = "OeAeAeOeUeaeaeoeuess";
constexpr std::string_view kFoldOneFrom =
    "\x8A\x9F\xC0\xC1\xC2\xC3\xC4\xC5\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3"
    "\xD4\xD5\xD6\xD8\xD9\xDA\xDB\xDC\xDD"
    "\x9A\xFF\xE0\xE1\xE2\xE3\xE4\xE5\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF1\xF2\xF3\xF4"
    "\xF5\xF6\xF8\xF9\xFA\xFB\xFC\xFD";
constexpr std::string_view kFoldOneTo =
    "SYAAAAAACEEEEIIIIDNOOOOOOUUUUYsyaaaaaaceeeeiiiinoooooouuuuy";

// Grows `v` by a quarter (at least `minimum` elements) when it is full: the table
// and the position lists stay within about an eighth of their size.
template <typename T>
void GrowIfFull(std::vector<T>& v, size_t minimum) {
  if (v.size() == v.capacity()) v.reserve(v.capacity() + std::max(minimum, v.capacity() / 4));
}

void NewWordRecord(WordTable& t, std::string_view word, int32_t position) {
  WordRecord& r = t.arrWords[static_cast<size_t>(t.lngNumWords)];
  r = WordRecord{};
  r.strWord = word;
  r.blnIncluded = true;
  r.strSortKey = SortKeyIn(t.wordRules == WordRuleSet::kUnicode, word);
  r.lngFrequency = 1;
  r.positions.push_back(position);
}

}  // namespace

int32_t WordIndex::Find(std::string_view word, uint64_t hash,
                        const std::vector<WordRecord>& records) const {
  if (slots_.empty()) return 0;
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask; slots_[i].index != 0; i = (i + 1) & mask) {
    const Slot& s = slots_[i];
    if (s.hash != hash || s.length != word.size()) continue;
    if (word.size() <= kInlineBytes ? std::memcmp(s.key, word.data(), word.size()) == 0
                                    : records[static_cast<size_t>(s.index)].strWord == word) {
      return s.index;
    }
  }
  return 0;
}

void WordIndex::Insert(std::string_view word, uint64_t hash, int32_t index) {
  if ((used_ + 1) * 2 > slots_.size()) Grow();
  const size_t mask = slots_.size() - 1;
  size_t i = hash & mask;
  while (slots_[i].index != 0) i = (i + 1) & mask;
  Slot& s = slots_[i];
  s.hash = hash;
  s.index = index;
  s.length = static_cast<uint32_t>(word.size());
  std::memcpy(s.key, word.data(), std::min(word.size(), kInlineBytes));
  ++used_;
}

void WordIndex::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(std::max<size_t>(256, old.size() * 2), Slot{});
  const size_t mask = slots_.size() - 1;
  for (const Slot& s : old) {
    if (s.index == 0) continue;
    size_t i = s.hash & mask;
    while (slots_[i].index != 0) i = (i + 1) & mask;
    slots_[i] = s;
  }
}

void WordIndex::Clear() {
  slots_.clear();
  slots_.shrink_to_fit();
  used_ = 0;
}

std::string FoldAccents(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 4);
  for (char c : s) {
    size_t two = kFoldTwoFrom.find(c);
    if (two != std::string_view::npos) {
      out.append(kFoldTwoTo.substr(2 * two, 2));
      continue;
    }
    size_t one = kFoldOneFrom.find(c);
    out.push_back(one == std::string_view::npos ? c : kFoldOneTo[one]);
  }
  return out;
}

std::string SortKeyOf(std::string_view word) { return LowerCaseAccented(FoldAccents(word)); }

std::string SortKeyIn(bool utf8, std::string_view word) {
  return utf8 ? UnicodeSortKey(word) : SortKeyOf(word);
}

std::string LowerIn(bool utf8, std::string_view text) {
  return utf8 ? LowerUnicodeText(text) : LowerCaseAccented(std::string(text));
}

bool IsInteger(std::string_view s, bool blnAllowSign, bool blnAllowCommas) {
  std::string t = TrimSpaces(s);
  if (t.empty()) return false;
  if (blnAllowSign && (t[0] == '+' || t[0] == '-')) t.erase(0, 1);
  RemoveChars(t, blnAllowCommas ? "0123456789," : "0123456789");
  return t.empty();
}

void StartWordTable(WordTable& t) {
  t.arrWords.assign(1, WordRecord{});
  t.arrWords.reserve(501);
  t.wordIndex.Clear();
  t.lngNumWords = 0;
}

void AddOccurrence(WordTable& t, int32_t index, int32_t position) {
  WordRecord& r = t.arrWords[static_cast<size_t>(index)];
  ++r.lngFrequency;
  GrowIfFull(r.positions, 4);
  r.positions.push_back(position);
}

void AddWordToList(WordTable& t, std::string_view word, int32_t lngLP, WorkObserver& watch) {
  AddWordToList(t, word, WordIndex::Hash(word), lngLP, watch);
}

void AddWordToList(WordTable& t, std::string_view word, uint64_t hash, int32_t lngLP,
                   WorkObserver& watch) {
  const bool unicode = t.wordRules == WordRuleSet::kUnicode;
  if (!unicode && static_cast<int32_t>(word.size()) > t.intMaxPermittedWordLength) return;
  const int32_t position = lngLP - static_cast<int32_t>(word.size());
  if (t.lngNumWords == 0) {
    t.lngNumWords = 1;
    t.arrWords.resize(2);
    NewWordRecord(t, word, position);
    t.wordIndex.Insert(word, hash, 1);
    return;
  }
  if (const int32_t found = t.wordIndex.Find(word, hash, t.arrWords)) {
    AddOccurrence(t, found, position);
    return;
  }
  ++t.lngNumWords;
  GrowIfFull(t.arrWords, 500);
  t.arrWords.resize(static_cast<size_t>(t.lngNumWords) + 1);
  NewWordRecord(t, word, position);
  t.wordIndex.Insert(word, hash, t.lngNumWords);
  if (t.lngNumWords % 10 == 0) watch.WordsCounted(t.lngNumWords);
  // Hyphenated words also enter their parts.
  size_t hyphen = word.find('-'), hyphenLength = 1;
  if (unicode) {
    // U+2010 and U+2011 are hyphens too.
    for (size_t at = word.find("\xE2\x80"); at < hyphen && at + 2 < word.size();
         at = word.find("\xE2\x80", at + 1)) {
      if (word[at + 2] == '\x90' || word[at + 2] == '\x91') {
        hyphen = at;
        hyphenLength = 3;
        break;
      }
    }
  }
  if (hyphen == std::string_view::npos) return;
  const std::string_view left = word.substr(0, hyphen);
  const std::string_view right = word.substr(hyphen + hyphenLength);
  const auto length = [unicode](std::string_view s) { return unicode ? Utf8Length(s) : s.size(); };
  if (length(left) > 1 && !IsInteger(left)) AddWordToList(t, left, lngLP, watch);
  if (length(right) >= 2 && !IsInteger(right)) AddWordToList(t, right, lngLP, watch);
}

void FinishWordTable(WordTable& t) {
  t.wordIndex.Clear();
  if (t.lngNumWords < 2) return;
  std::sort(t.arrWords.begin() + 1, t.arrWords.begin() + 1 + t.lngNumWords,
            [](const WordRecord& a, const WordRecord& b) { return a.strWord < b.strWord; });
}

bool FindWord(const std::string& key, const std::vector<WordRecord>& A, int32_t n, int32_t* idx) {
  return FindByKey(key, A, n, idx, [](const WordRecord& r) { return std::string_view(r.strWord); });
}

void QuickSortWordTable(std::vector<WordRecord>& A, int32_t lo, int32_t hi, int32_t col) {
  QuickSortByKey(A, lo, hi, [col](const WordRecord& r) { return KeyTail(r.strSortKey, col); });
}

void SortWordTable(std::vector<WordRecord>& A, int32_t lo, int32_t hi, int32_t col) {
  SortByKey(A, lo, hi, [col](const WordRecord& r) { return KeyTail(r.strSortKey, col); });
}

std::string AllowedExtraWordChars(bool hyphens, bool numerals) {
  std::string chars;
  if (numerals) chars += "0123456789";
  if (hyphens) chars += "-";
  return chars;
}

bool IsWordAllowed(const std::string& word, bool hyphens, bool numerals) {
  return (hyphens || word.find('-') == std::string::npos) &&
         (numerals || word.find_first_of("0123456789") == std::string::npos);
}

void CountIncludedWords(WordTable& t) {
  t.lngNumWordsIncluded = t.lngMaxFrequency = t.lngNumOccurrences = 0;
  for (int32_t i = 1; i <= t.lngNumWords; ++i) {
    const WordRecord& r = t.arrWords[static_cast<size_t>(i)];
    if (!r.blnIncluded) continue;
    ++t.lngNumWordsIncluded;
    t.lngNumOccurrences += r.lngFrequency;
    t.lngMaxFrequency = std::max(t.lngMaxFrequency, r.lngFrequency);
  }
}

void LinkWordsByFrequency(WordTable& t, WorkObserver& watch) {
  std::vector<int32_t> order;
  order.reserve(static_cast<size_t>(t.lngNumWordsIncluded));
  for (int32_t i = 1; i <= t.lngNumWords; ++i) {
    WordRecord& r = t.arrWords[static_cast<size_t>(i)];
    r.lngFreqRank = 0;
    r.lngNextByFreq = 0;
    if (r.blnIncluded && r.lngFrequency >= 1) order.push_back(i);
  }
  t.lngFirstFreq = 0;
  // Higher frequency first; equal frequencies keep table order.
  std::stable_sort(order.begin(), order.end(), [&t](int32_t a, int32_t b) {
    return t.arrWords[static_cast<size_t>(a)].lngFrequency >
           t.arrWords[static_cast<size_t>(b)].lngFrequency;
  });
  watch.LetEventsRun();
  if (order.empty()) return;
  t.lngFirstFreq = order[0];
  for (size_t k = 0; k < order.size(); ++k) {
    WordRecord& r = t.arrWords[static_cast<size_t>(order[k])];
    r.lngFreqRank = static_cast<int32_t>(k + 1);
    if (k + 1 < order.size()) r.lngNextByFreq = order[k + 1];
    watch.LetEventsRun();
  }
}

}  // namespace quillmoor
