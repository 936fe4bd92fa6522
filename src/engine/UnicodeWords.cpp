#include "engine/UnicodeWords.h"

#include <unicode/brkiter.h>
#include <unicode/normalizer2.h>
#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/utext.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <vector>

#include "engine/WordRules.h"
#include "engine/WordTable.h"
#include "shared/Cp1252.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

// The code point at text[i] and its length; a byte that begins no well-formed
// sequence stands for U+FFFD (the decoder leaves none).
inline size_t CodePointAt(std::string_view text, size_t i, uint32_t* cp) {
  const unsigned char b = Byte(text[i]);
  if (b < 0x80) {
    *cp = b;
    return 1;
  }
  const size_t len = Utf8SequenceAtInline(text, i, cp);
  if (len != 0) return len;
  *cp = 0xFFFD;
  return 1;
}

// What the rules ask of a code point of the Basic Multilingual Plane, asked of ICU
// once for all of them (when the first Unicode text is scanned): 256 KB.
struct CodePointFacts {
  static constexpr uint8_t kLetter = 1, kDigit = 2, kMark = 4, kDictionary = 8, kVowel = 16;
  static constexpr uint8_t kCounts = 0, kExtends = 1, kSequence = 2;  // grapheme breaks
  uint16_t lower = 0;  // the lower case (U+FFFF: outside the plane, ask ICU)
  uint8_t flags = 0;
  uint8_t grapheme = kCounts;
};

bool AskDictionaryScript(UChar32 c) {
  UErrorCode error = U_ZERO_ERROR;
  switch (uscript_getScript(c, &error)) {
    case USCRIPT_HAN:
    case USCRIPT_HIRAGANA:
    case USCRIPT_KATAKANA:
    case USCRIPT_THAI:
    case USCRIPT_LAO:
    case USCRIPT_KHMER:
    case USCRIPT_MYANMAR:
      return true;
    case USCRIPT_COMMON:
    case USCRIPT_INHERITED:  // the prolonged sound mark, the iteration marks
      return uscript_hasScript(c, USCRIPT_HAN) || uscript_hasScript(c, USCRIPT_HIRAGANA) ||
             uscript_hasScript(c, USCRIPT_KATAKANA);
    default:
      return false;
  }
}

CodePointFacts AskIcu(UChar32 c) {
  CodePointFacts f;
  const uint32_t mask = U_GET_GC_MASK(c);
  if (mask & (U_GC_L_MASK | U_GC_M_MASK)) f.flags |= CodePointFacts::kLetter;
  if (mask & U_GC_ND_MASK) f.flags |= CodePointFacts::kDigit;
  if (mask & U_GC_M_MASK) f.flags |= CodePointFacts::kMark;
  if (c >= 0x0E00 && (f.flags & CodePointFacts::kLetter) && AskDictionaryScript(c)) {
    f.flags |= CodePointFacts::kDictionary;
  }
  unsigned char b = 0;
  if (Cp1252ByteOf(static_cast<uint32_t>(c), &b) && IsAccentAwareVowel(static_cast<char>(b))) {
    f.flags |= CodePointFacts::kVowel;
  }
  const UChar32 lower = u_tolower(c);
  f.lower = static_cast<uint16_t>(lower > 0xFFFE ? 0xFFFF : lower);
  switch (u_getIntPropertyValue(c, UCHAR_GRAPHEME_CLUSTER_BREAK)) {
    case U_GCB_EXTEND:
    case U_GCB_SPACING_MARK:
    case U_GCB_ZWJ:
      f.grapheme = CodePointFacts::kExtends;
      break;
    case U_GCB_L:
    case U_GCB_V:
    case U_GCB_T:
    case U_GCB_PREPEND:
    case U_GCB_REGIONAL_INDICATOR:
      f.grapheme = CodePointFacts::kSequence;
      break;
    default:
      break;
  }
  return f;
}

// The facts of the plane in blocks of 256 code points, each asked for when a text
// first needs it (a Cyrillic text needs two or three), by any thread.
class PlaneFacts {
 public:
  static const CodePointFacts& Of(uint32_t cp) {
    static PlaneFacts facts;
    const CodePointFacts* block = facts.blocks_[cp >> 8].load(std::memory_order_acquire);
    if (block == nullptr) block = facts.Fill(cp >> 8);
    return block[cp & 0xFF];
  }

 private:
  const CodePointFacts* Fill(uint32_t index) {
    auto* block = new CodePointFacts[256];
    for (uint32_t k = 0; k < 256; ++k) block[k] = AskIcu(static_cast<UChar32>(index << 8 | k));
    const CodePointFacts* expected = nullptr;
    if (!blocks_[index].compare_exchange_strong(expected, block, std::memory_order_acq_rel)) {
      delete[] block;  // another thread filled it meanwhile
      return expected;
    }
    return block;
  }
  std::array<std::atomic<const CodePointFacts*>, 256> blocks_{};
};

inline CodePointFacts FactsOf(uint32_t cp) {
  return cp < 0x10000 ? PlaneFacts::Of(cp) : AskIcu(static_cast<UChar32>(cp));
}

// Appends the UTF-8 of a code point.
inline void AppendCodePoint(uint32_t cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    const char two[2] = {static_cast<char>(0xC0 | (cp >> 6)),
                         static_cast<char>(0x80 | (cp & 0x3F))};
    out->append(two, 2);
  } else {
    AppendUtf8(cp, out);
  }
}

inline bool IsHyphenAt(std::string_view text, size_t i, size_t* len) {
  if (text[i] == '-') {
    *len = 1;
    return true;
  }
  if (text.substr(i, 2) == "\xE2\x80" && i + 2 < text.size() &&
      (text[i + 2] == '\x90' || text[i + 2] == '\x91')) {
    *len = 3;
    return true;
  }
  return false;
}

inline bool IsHyphenBefore(std::string_view text, size_t end, size_t* len) {
  if (end >= 1 && text[end - 1] == '-') {
    *len = 1;
    return true;
  }
  return end >= 3 && IsHyphenAt(text, end - 3, len) && *len == 3;
}

// Words ending in "s" that keep it (besides those ending in "ics").
bool IsPluralException(std::string_view lower) {
  static constexpr std::string_view kKeep[] = {"maths",   "stats",  "arms",
                                               "dickens", "always", "perhaps"};
  return std::find(std::begin(kKeep), std::end(kKeep), lower) != std::end(kKeep);
}

bool IsVowelCodePoint(uint32_t cp) {
  return cp < 0x80 ? IsAccentAwareVowel(static_cast<char>(cp))
                   : (FactsOf(cp).flags & CodePointFacts::kVowel) != 0;
}

// The code points of a UTF-8 text before `end`: the last one's start.
size_t PreviousStart(std::string_view text, size_t end) {
  size_t i = end - 1;
  while (i > 0 && (Byte(text[i]) & 0xC0) == 0x80) --i;
  return i;
}

bool IsOneRepeatedCodePoint(std::string_view w) {
  uint32_t first = 0;
  const size_t len = CodePointAt(w, 0, &first);
  for (size_t i = len; i < w.size();) {
    uint32_t cp = 0;
    i += CodePointAt(w, i, &cp);
    if (cp != first) return false;
  }
  return true;
}

}  // namespace

CharClass ClassOfCodePoint(uint32_t cp) {
  if (cp < 0x80) {
    if ((cp | 0x20) >= 'a' && (cp | 0x20) <= 'z') return CharClass::kLetter;
    if (cp >= '0' && cp <= '9') return CharClass::kDigit;
    return cp == '-' ? CharClass::kHyphen : CharClass::kOther;
  }
  if (cp == 0x2010 || cp == 0x2011) return CharClass::kHyphen;
  const uint8_t flags = FactsOf(cp).flags;
  return flags & CodePointFacts::kLetter  ? CharClass::kLetter
         : flags & CodePointFacts::kDigit ? CharClass::kDigit
                                          : CharClass::kOther;
}

bool IsDictionaryScript(uint32_t cp) {
  return cp >= 0x0E00 && (FactsOf(cp).flags & CodePointFacts::kDictionary);
}

bool IsHangul(uint32_t cp) {
  return (cp >= 0x1100 && cp <= 0x11FF) || (cp >= 0x3130 && cp <= 0x318F) ||
         (cp >= 0xA960 && cp <= 0xA97F) || (cp >= 0xAC00 && cp <= 0xD7FF);
}

uint32_t LowerCodePoint(uint32_t cp, bool turkish) {
  if (cp < 0x80) return cp >= 'A' && cp <= 'Z' ? (turkish && cp == 'I' ? 0x131 : cp + 32) : cp;
  if (cp == 0x130) return 'i';
  const uint16_t lower = cp < 0x10000 ? PlaneFacts::Of(cp).lower : 0xFFFF;
  return lower != 0xFFFF ? lower : static_cast<uint32_t>(u_tolower(static_cast<UChar32>(cp)));
}

int32_t GraphemeCount(std::string_view text) {
  int32_t count = 0;
  for (size_t i = 0; i < text.size();) {
    uint32_t cp = 0;
    i += CodePointAt(text, i, &cp);
    if (cp < 0x300) {
      ++count;
      continue;
    }
    switch (FactsOf(cp).grapheme) {
      case CodePointFacts::kExtends:
        if (count == 0) count = 1;  // a mark at the start is a character of its own
        break;
      case CodePointFacts::kSequence: {
        // Sequences: the character break iterator counts them.
        UErrorCode error = U_ZERO_ERROR;
        UText* ut = utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &error);
        UBreakIterator* bi = ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &error);
        ubrk_setUText(bi, ut, &error);
        int32_t clusters = 0;
        if (U_SUCCESS(error)) {
          for (int32_t b = ubrk_next(bi); b != UBRK_DONE; b = ubrk_next(bi)) ++clusters;
        }
        ubrk_close(bi);
        utext_close(ut);
        return clusters;
      }
      default:
        ++count;
    }
  }
  return count;
}

bool IsRightToLeft(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    uint32_t cp = 0;
    i += CodePointAt(text, i, &cp);
    switch (u_charDirection(static_cast<UChar32>(cp))) {
      case U_LEFT_TO_RIGHT:
        return false;
      case U_RIGHT_TO_LEFT:
      case U_RIGHT_TO_LEFT_ARABIC:
        return true;
      default:
        break;
    }
  }
  return false;
}

std::string LowerUnicodeText(std::string_view text, bool turkish) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    uint32_t cp = 0;
    i += CodePointAt(text, i, &cp);
    AppendCodePoint(LowerCodePoint(cp, turkish), &out);
  }
  return out;
}

UnicodeWordScanner::UnicodeWordScanner(UnicodeWordOptions options) : options_(options) {}

UnicodeWordScanner::~UnicodeWordScanner() {
  if (breaker_ != nullptr) ubrk_close(static_cast<UBreakIterator*>(breaker_));
}

UnicodeWordScanner::Lowered UnicodeWordScanner::Lower(std::string_view text, size_t begin,
                                                      size_t end) {
  word_.clear();
  Lowered facts;
  bool previousLetter = false;
  for (size_t i = begin; i < end;) {
    uint32_t cp = 0;
    i += CodePointAt(text, i, &cp);
    if (cp < 0x80 && !(options_.turkish && cp == 'I')) {
      word_.push_back(static_cast<char>(cp >= 'A' && cp <= 'Z' ? cp + 32 : cp));
      previousLetter = ((cp | 0x20) >= 'a' && (cp | 0x20) <= 'z');
      facts.letter = facts.letter || previousLetter;
      ++facts.graphemes;
      continue;
    }
    const CodePointFacts f = FactsOf(cp);
    const bool letter = (f.flags & CodePointFacts::kLetter) != 0;
    facts.letter = facts.letter || letter;
    facts.hangul = facts.hangul || IsHangul(cp);
    if (cp < 0x300 || f.grapheme == CodePointFacts::kCounts) {
      ++facts.graphemes;
    } else if (f.grapheme == CodePointFacts::kExtends) {
      if (facts.graphemes == 0) facts.graphemes = 1;  // a mark at the start stands alone
    } else {
      facts.sequence = true;
    }
    uint32_t lower = cp == 'I' ? 0x131 : cp == 0x130 ? 'i' : f.lower;
    if (lower == 0xFFFF) lower = LowerCodePoint(cp, options_.turkish);
    if (cp == 0x3A3) {  // capital sigma: final after a letter and before none
      uint32_t next = 0;
      const bool letterNext =
          i < end && (CodePointAt(text, i, &next), ClassOfCodePoint(next) == CharClass::kLetter);
      if (previousLetter && !letterNext) lower = 0x3C2;
    }
    AppendCodePoint(lower, &word_);
    previousLetter = letter;
  }
  return facts;
}

bool UnicodeWordScanner::Piece(std::string_view text, size_t begin, size_t end, size_t runEnd,
                               const UnicodeWordSink& sink) {
  // Leading and trailing hyphens go; a piece without a letter is no word.
  size_t len = 0;
  while (begin < end && IsHyphenAt(text, begin, &len)) begin += len;
  while (end > begin && IsHyphenBefore(text, end, &len)) end -= len;
  const Lowered facts = Lower(text, begin, end);
  if (!facts.letter) return true;
  std::string& w = word_;
  int32_t chars = facts.graphemes;
  // A plural "s" goes, unless the word ends in "ss", a vowel and "s", "ics", or is an
  // exception.
  if (w.size() >= 3 && w.back() == 's') {
    const size_t before = PreviousStart(w, w.size() - 1);
    uint32_t prev = 0;
    CodePointAt(w, before, &prev);
    const bool threeChars = before > 0;
    if (threeChars && prev != 's' && !IsVowelCodePoint(prev)) {
      bool exception = prev == 'c' && w[before - 1] == 'i';
      if (!exception && w.size() <= 7) exception = IsPluralException(w);
      if (!exception) {
        w.pop_back();
        --chars;
      }
    }
  }
  if (w.size() == 1 && (w[0] == 's' || w[0] == 't')) return true;
  if (w.size() <= 7 && !w.empty() && w.back() == 'n' && IsContractionStemOfWord(w)) return true;
  if (facts.sequence) chars = GraphemeCount(w);
  if (chars < (facts.hangul ? 1 : 3) || chars > options_.maxLength) return true;
  if (IsOneRepeatedCodePoint(w) && chars > 1) return true;
  if (IsRomanNumeral(w, false)) return true;
  const int32_t position =
      std::max(static_cast<int32_t>(begin + 1), static_cast<int32_t>(runEnd + 1 - w.size()));
  return sink(w, position);
}

bool UnicodeWordScanner::Segment(std::string_view text, size_t begin, size_t end,
                                 const UnicodeWordSink& sink) {
  UErrorCode error = U_ZERO_ERROR;
  if (breaker_ == nullptr) breaker_ = ubrk_open(UBRK_WORD, "", nullptr, 0, &error);
  auto* bi = static_cast<UBreakIterator*>(breaker_);
  // The piece in UTF-16, the break iterator's own form, with the text offset of each
  // unit.
  units_.clear();
  offsets_.clear();
  for (size_t i = begin; i < end;) {
    uint32_t cp = 0;
    const size_t len = CodePointAt(text, i, &cp);
    offsets_.push_back(static_cast<uint32_t>(i));
    if (cp < 0x10000) {
      units_.push_back(static_cast<char16_t>(cp));
    } else {
      units_.push_back(static_cast<char16_t>(U16_LEAD(cp)));
      units_.push_back(static_cast<char16_t>(U16_TRAIL(cp)));
      offsets_.push_back(static_cast<uint32_t>(i));
    }
    i += len;
  }
  offsets_.push_back(static_cast<uint32_t>(end));
  ubrk_setText(bi, reinterpret_cast<const UChar*>(units_.data()),
               static_cast<int32_t>(units_.size()), &error);
  if (U_FAILURE(error)) return true;
  bool go = true;
  for (int32_t from = ubrk_first(bi), to = ubrk_next(bi); go && to != UBRK_DONE;
       from = to, to = ubrk_next(bi)) {
    const size_t a = offsets_[static_cast<size_t>(from)], b = offsets_[static_cast<size_t>(to)];
    const Lowered facts = Lower(text, a, b);
    const int32_t chars = facts.sequence ? GraphemeCount(word_) : facts.graphemes;
    if (chars <= options_.maxLength) {
      go = sink(word_, static_cast<int32_t>(a + 1));
    }
  }
  return go;
}

bool UnicodeWordScanner::Scan(std::string_view text, const UnicodeWordSink& sink) {
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    uint32_t cp = 0;
    size_t len = CodePointAt(text, i, &cp);
    CharClass cls = ClassOfCodePoint(cp);
    if (cls == CharClass::kOther) {
      i += len;
      continue;
    }
    // A run of word characters, in pieces of one kind: in a dictionary script or not
    // (a mark goes with the character before it).
    size_t pieceBegin = i;
    int kind = -1;
    while (true) {
      const bool mark =
          cls == CharClass::kLetter && cp >= 0x300 && (FactsOf(cp).flags & CodePointFacts::kMark);
      const int k =
          mark && kind != -1 ? kind : (cls == CharClass::kLetter && IsDictionaryScript(cp) ? 1 : 0);
      if (kind != -1 && k != kind) {
        if (!(kind == 1 ? Segment(text, pieceBegin, i, sink)
                        : Piece(text, pieceBegin, i, i, sink))) {
          return false;
        }
        pieceBegin = i;
      }
      kind = k;
      i += len;
      if (i >= n) break;
      len = CodePointAt(text, i, &cp);
      cls = ClassOfCodePoint(cp);
      if (cls == CharClass::kOther) break;
    }
    if (!(kind == 1 ? Segment(text, pieceBegin, i, sink) : Piece(text, pieceBegin, i, i, sink))) {
      return false;
    }
  }
  return true;
}

std::string UnicodeSortKey(std::string_view word) {
  std::string key;
  key.reserve(word.size() + 4);
  UErrorCode error = U_ZERO_ERROR;
  const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(error);
  const auto keyOf = [&key](uint32_t cp) {
    unsigned char b = 0;
    if (Cp1252ByteOf(cp, &b)) {
      key += SortKeyOf(std::string_view(reinterpret_cast<const char*>(&b), 1));
    } else {
      key.push_back('\xFF');
      key.push_back(static_cast<char>(0x80 | ((cp >> 14) & 0x7F)));
      key.push_back(static_cast<char>(0x80 | ((cp >> 7) & 0x7F)));
      key.push_back(static_cast<char>(0x80 | (cp & 0x7F)));
    }
  };
  for (size_t i = 0; i < word.size();) {
    uint32_t cp = 0;
    i += CodePointAt(word, i, &cp);
    unsigned char b = 0;
    icu::UnicodeString parts;
    if (Cp1252ByteOf(cp, &b) || U_FAILURE(error) ||
        !nfd->getDecomposition(static_cast<UChar32>(cp), parts)) {
      keyOf(cp);
      continue;
    }
    for (int32_t k = 0; k < parts.length(); k = parts.moveIndex32(k, 1)) {
      const UChar32 c = parts.char32At(k);
      if (!(U_GET_GC_MASK(c) & U_GC_M_MASK)) keyOf(LowerCodePoint(static_cast<uint32_t>(c), false));
    }
  }
  return key;
}

}  // namespace quillmoor
