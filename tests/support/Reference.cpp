#include "support/Reference.h"

#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/utext.h>

#include <algorithm>

#include "engine/WordRules.h"
#include "input/Markup.h"
#include "query/WordMatch.h"
#include "shared/Cp1252.h"
#include "shared/Utf8.h"
#include "ui/RunDriver.h"

namespace quillmoor::reference {
namespace {

// VB's InStr(start, text, needle) with 1-based positions.
size_t Find(size_t start, const std::string& text, const std::string& needle) {
  return InStr(start, text, needle);
}

}  // namespace

namespace {

// One code point read by the well-formed byte sequences of the Unicode standard
// (its table of first-byte and second-byte ranges); 0 bytes when there is none.
size_t ReadCodePoint(const std::string& t, size_t i, uint32_t* cp) {
  struct Row {
    int lo1, hi1, lo2, hi2, length;
  };
  static const Row kRows[] = {
      {0x00, 0x7F, 0, 0, 1},       {0xC2, 0xDF, 0x80, 0xBF, 2}, {0xE0, 0xE0, 0xA0, 0xBF, 3},
      {0xE1, 0xEC, 0x80, 0xBF, 3}, {0xED, 0xED, 0x80, 0x9F, 3}, {0xEE, 0xEF, 0x80, 0xBF, 3},
      {0xF0, 0xF0, 0x90, 0xBF, 4}, {0xF1, 0xF3, 0x80, 0xBF, 4}, {0xF4, 0xF4, 0x80, 0x8F, 4}};
  const int b0 = Byte(t[i]);
  for (const Row& r : kRows) {
    if (b0 < r.lo1 || b0 > r.hi1) continue;
    const size_t n = static_cast<size_t>(r.length);
    if (i + n > t.size()) return 0;
    if (n >= 2 && (Byte(t[i + 1]) < r.lo2 || Byte(t[i + 1]) > r.hi2)) return 0;
    for (size_t k = 2; k < n; ++k) {
      if (Byte(t[i + k]) < 0x80 || Byte(t[i + k]) > 0xBF) return 0;
    }
    uint32_t v = n == 1 ? static_cast<uint32_t>(b0) : static_cast<uint32_t>(b0 & (0xFF >> (n + 1)));
    for (size_t k = 1; k < n; ++k) v = (v << 6) | (Byte(t[i + k]) & 0x3F);
    *cp = v;
    return n;
  }
  return 0;
}

}  // namespace

std::string DecodeUtf8Text(const std::string& text, std::vector<std::string>* unmapped,
                           bool atTextStart) {
  // The code page as a list: the code point of every byte, found through its UTF-8.
  static const std::vector<std::pair<uint32_t, char>> codePage = [] {
    std::vector<std::pair<uint32_t, char>> table;
    for (int b = 0; b < 256; ++b) {
      const std::string one(1, static_cast<char>(b));
      uint32_t cp = 0;
      ReadCodePoint(Cp1252ToUtf8(one), 0, &cp);
      if (b < 0x80 || b >= 0xA0 || cp > 0xFF) table.emplace_back(cp, static_cast<char>(b));
    }
    return table;
  }();
  std::string out;
  size_t i = 0;
  if (atTextStart && text.compare(0, 3, "\xEF\xBB\xBF") == 0) i = 3;
  while (i < text.size()) {
    uint32_t cp = 0;
    const size_t n = ReadCodePoint(text, i, &cp);
    if (n == 0) {
      out += text[i];
      ++i;
      continue;
    }
    std::string result;
    bool found = false;
    if (cp >= 0x80 && cp <= 0x9F) {
      found = true;
    } else if (cp == 0x10D) {
      result = "c";
      found = true;
    } else {
      static const std::vector<std::pair<uint32_t, std::string>> kPunctuation = {
          {0x2010, "-"},  {0x2011, "-"},   {0x2012, "-"},    {0x2013, "-"},  {0x2014, " -- "},
          {0x2015, "--"}, {0x2016, "|"},   {0x2017, "\x89"}, {0x2018, "'"},  {0x2019, "'"},
          {0x201A, "'"},  {0x201B, "'"},   {0x201C, "\""},   {0x201D, "\""}, {0x201E, "\""},
          {0x201F, "\""}, {0x2022, " . "}, {0x2026, "..."},  {0x2039, "<"},  {0x203A, ">"}};
      for (const auto& [code, ascii] : kPunctuation) {
        if (code == cp) {
          result = ascii;
          found = true;
        }
      }
      for (const auto& [code, byte] : codePage) {
        if (!found && code == cp) {
          result = std::string(1, byte);
          found = true;
        }
      }
    }
    if (!found) {
      result = "?";
      if (unmapped != nullptr) unmapped->push_back(text.substr(i, n));
    }
    out += result;
    i += n;
  }
  return out;
}

std::string DecodeCharacterEntities(std::string text) {
  size_t pos = 1;
  while (true) {
    size_t amp = Find(pos, text, "&");
    if (amp == 0) return text;
    size_t semi = Find(amp, text, ";");
    if (semi == 0) return text;
    std::string candidate = text.substr(amp - 1, semi - amp + 1);
    int ch = EntityCharacter(candidate);
    if (ch >= 0) {
      text = text.substr(0, amp - 1) + static_cast<char>(ch) + text.substr(semi);
      pos = amp + 1;
    } else {
      pos = semi + 1;
    }
  }
}

namespace {

bool LiteralFind(const std::string& key, const std::vector<LiteralWord>& A, int32_t n,
                 int32_t* idx) {
  if (n == 0) {
    *idx = -1;
    return false;
  }
  if (key < A[1].word) {
    *idx = -1;
    return false;
  }
  if (key > A[n].word) {
    *idx = -(n + 1);
    return false;
  }
  if (n == 1) {
    *idx = 1;
    return true;
  }
  int32_t lo = 1, hi = n, mid = n / 2;
  while (true) {
    if (key == A[mid].word) {
      *idx = mid;
      return true;
    }
    if (key > A[mid].word) {
      if (mid == hi) {
        *idx = -(hi + 1);
        return false;
      }
      lo = mid + 1;
      mid = mid + (hi - mid + 1) / 2;
    } else {
      if (mid == lo) {
        *idx = -lo;
        return false;
      }
      hi = mid - 1;
      mid = mid - (mid - lo + 1) / 2;
    }
  }
}

bool LiteralIsInteger(const std::string& s) {
  std::string t = TrimSpaces(s);
  if (t.empty()) return false;
  return t.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

void LiteralWordTable::AddWordToList(const std::string& word, int32_t lngLP) {
  if (word.size() > 30) return;
  const int32_t position = lngLP - static_cast<int32_t>(word.size());
  if (n == 0) {
    n = 1;
    A.resize(2);
    A[1] = LiteralWord{word, 1, {position}};
    return;
  }
  int32_t i = 0;
  if (LiteralFind(word, A, n, &i)) {
    ++A[i].frequency;
    A[i].positions.push_back(position);
    return;
  }
  ++n;
  A.resize(n + 1);
  A[n] = LiteralWord{word, 1, {position}};
  // InsertLastWordInOrder.
  if (!(A[n].word > A[n - 1].word)) {
    LiteralWord last = A[n];
    int32_t idx = 0;
    LiteralFind(last.word, A, n - 1, &idx);
    const int32_t at = -idx;
    for (int32_t k = n - 1; k >= at; --k) A[k + 1] = A[k];
    A[at] = last;
  }
  size_t hyphen = word.find('-');
  if (hyphen == std::string::npos) return;
  std::string left = word.substr(0, hyphen), right = word.substr(hyphen + 1);
  if (left.size() > 1 && !LiteralIsInteger(left)) AddWordToList(left, lngLP);
  if (right.size() >= 2 && !LiteralIsInteger(right)) AddWordToList(right, lngLP);
}

int32_t LiteralWordTable::LinkWordsByFrequency() {
  int32_t maxFrequency = 0, included = 0;
  for (int32_t i = 1; i <= n; ++i) {
    A[i].freqRank = A[i].nextByFreq = 0;
    if (A[i].included) {
      ++included;
      maxFrequency = std::max(maxFrequency, A[i].frequency);
    }
  }
  int32_t k = 0, first = 0;
  for (int32_t f = maxFrequency; f >= 1; --f) {
    for (int32_t i = 1; i <= n; ++i) {
      if (A[i].included && A[i].frequency == f) {
        A[i].freqRank = ++k;
        if (k == 1) first = i;
      }
    }
  }
  if (first == 0) return 0;
  int32_t cur = first;
  for (int32_t r = 1; r < included; ++r) {
    for (int32_t i = 1; i <= n; ++i) {
      if (A[i].freqRank == r + 1) {
        A[cur].nextByFreq = i;
        cur = i;
        break;
      }
    }
  }
  return first;
}

void LiteralContextLines::Merge(const std::string& line, bool showFrequencies) {
  bool matched = false;
  for (size_t k = 0; k < lines.size(); ++k) {
    std::string& slot = lines[k];
    size_t mark = slot.rfind(" (x");
    std::string base = mark == std::string::npos ? slot : slot.substr(0, mark);
    if (base != line) continue;
    matched = true;
    if (!showFrequencies) continue;
    if (repeats[k] == 0) {
      repeats[k] = 1;
      slot += " (x2)";
    } else if (repeats[k] >= 1 && repeats[k] <= 998) {
      ++repeats[k];
      slot = slot.substr(0, slot.rfind("(x")) + "(x" + std::to_string(repeats[k] + 1) + ")";
    }
  }
  if (!matched) {
    lines.push_back(line);
    repeats.push_back(0);
  }
}

namespace {
char At(const std::string& s, int32_t pos) {
  return (pos >= 1 && pos <= static_cast<int32_t>(s.size())) ? s[pos - 1] : '\0';
}
}  // namespace

std::string CollapseSpaces(std::string s) {
  std::string out;
  for (char c : s) {
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out += c;
  }
  return out;
}

std::string NormalizeDocumentText(std::string text, int16_t* positionDigits) {
  std::replace(text.begin(), text.end(), '\t', ' ');
  text = CollapseSpaces(std::move(text));
  *positionDigits = PositionDigits(text.size());
  TrimControlChars(text);
  return " " + text + " ";
}

std::string BuildContextLine(const std::string& text, int32_t p, size_t wordLength, int C,
                             bool showLineBreaks) {
  const int32_t K = C * 20;
  std::string w;
  int32_t r;
  if (p - K >= 1) {
    if (static_cast<size_t>(p - K - 1) < text.size())
      w = text.substr(p - K - 1, wordLength + 2 * K);
    r = K;
  } else {
    w = text.substr(0, 2 * K);
    r = p;
  }
  if (!showLineBreaks) {
    while (true) {
      size_t f = Find(1, w, " / ");
      if (f == 0) break;
      w = w.substr(0, f - 1) + w.substr(f + 1);
      if (static_cast<int32_t>(f) < r) r -= 2;
    }
  }
  int32_t n = 0;
  while (true) {
    if (r < 3) break;
    std::string head = w.substr(0, std::min<size_t>(w.size(), r - 2));
    size_t last = head.rfind(' ');
    if (last == std::string::npos) break;
    int32_t s = static_cast<int32_t>(last + 1);
    if (At(w, s + 1) != '/' || !showLineBreaks) {
      ++n;
      if (n == C) {
        r = s + 1;
        break;
      }
    }
    r = s;
  }
  if (r > 1) w = r - 1 < static_cast<int32_t>(w.size()) ? w.substr(r - 1) : "";
  n = 0;
  int32_t q = 0;
  bool counted = false;  // in this pass over the window
  while (n <= C) {
    q = static_cast<int32_t>(Find(q + 1, w, " "));
    if (At(w, q + 1) != '/' || !showLineBreaks) {
      ++n;
      counted = true;
    }
    if (q == 0) {
      if (!counted) break;
      counted = false;
    }
  }
  int32_t t = q + 1;
  n = 0;
  while (true) {
    int32_t s = static_cast<int32_t>(Find(t, w, " "));
    if (s == 0 || s == 1) break;
    if (At(w, s - 1) != '/' || !showLineBreaks) {
      ++n;
      if (n == C) {
        t = s;
        break;
      }
    }
    t = s + 1;
  }
  return w.substr(0, std::max(t - 1, 0));
}

std::string RandomBytes(std::mt19937& rng, const std::vector<std::string>& alphabet,
                        size_t pieces) {
  std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
  std::string out;
  for (size_t i = 0; i < pieces; ++i) out += alphabet[pick(rng)];
  return out;
}

bool Like(const std::string& text, const std::string& pattern) {
  if (pattern.empty()) return text.empty();
  if (pattern[0] == '*') {
    // "*" takes no character, or one more character.
    return Like(text, pattern.substr(1)) || (!text.empty() && Like(text.substr(1), pattern));
  }
  if (text.empty()) return false;
  const char c = text[0];
  const bool one =
      pattern[0] == '?' || (pattern[0] == '#' ? c >= '0' && c <= '9' : c == pattern[0]);
  return one && Like(text.substr(1), pattern.substr(1));
}

namespace {

// The pieces ICU's break iterator of `type` cuts UTF-8 text into.
std::vector<std::string> BrokenInto(const std::string& s, UBreakIteratorType type) {
  std::vector<std::string> units;
  UErrorCode e = U_ZERO_ERROR;
  UText* ut = utext_openUTF8(nullptr, s.data(), static_cast<int64_t>(s.size()), &e);
  UBreakIterator* bi = ubrk_open(type, "", nullptr, 0, &e);
  ubrk_setUText(bi, ut, &e);
  for (int32_t from = ubrk_first(bi), to = ubrk_next(bi); to != UBRK_DONE;
       from = to, to = ubrk_next(bi)) {
    units.push_back(s.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
  }
  ubrk_close(bi);
  utext_close(ut);
  return units;
}

bool LikeUnits(const std::vector<std::string>& t, size_t i, const std::vector<std::string>& p,
               size_t j, std::vector<char>& memo) {
  char& known = memo[i * (p.size() + 1) + j];
  if (known != 0) return known == 2;
  const bool yes = [&] {
    if (j == p.size()) return i == t.size();
    if (p[j] == "*") {
      return LikeUnits(t, i, p, j + 1, memo) || (i < t.size() && LikeUnits(t, i + 1, p, j, memo));
    }
    if (i == t.size()) return false;
    uint32_t cp = 0;
    const bool digit = Utf8SequenceAt(t[i], 0, &cp) == t[i].size() &&
                       (U_GET_GC_MASK(static_cast<UChar32>(cp)) & U_GC_ND_MASK);
    const bool one = p[j] == "?" || (p[j] == "#" ? digit : t[i] == p[j]);
    return one && LikeUnits(t, i + 1, p, j + 1, memo);
  }();
  known = yes ? 2 : 1;
  return yes;
}

}  // namespace

bool LikeUtf8(const std::string& text, const std::string& pattern) {
  const std::vector<std::string> t = BrokenInto(text, UBRK_CHARACTER),
                                 p = BrokenInto(pattern, UBRK_CHARACTER);
  std::vector<char> memo((t.size() + 1) * (p.size() + 1), 0);
  return LikeUnits(t, 0, p, 0, memo);
}

std::vector<std::string> DocxRuns(const std::string& xml) {
  // 1-based InStr: the position of `needle` at or after `start`, 0 when there is none.
  auto inStr = [&xml](size_t start, const std::string& needle) -> size_t {
    if (start < 1 || start > xml.size()) return 0;
    const size_t at = xml.find(needle, start - 1);
    return at == std::string::npos ? 0 : at + 1;
  };
  const std::string open = "<w:t", close = "</w:t>", br = "<w:br/>", pend = "</w:p>";
  std::vector<std::string> runs;
  size_t pos = 1;
  while (true) {
    if (inStr(pos, open) == 0) break;
    const size_t a = inStr(pos, open);
    const size_t b = inStr(pos, close);
    if (b == 0 || b < a) break;
    const char c = a + 4 <= xml.size() ? xml[a + 4 - 1] : '\0';
    if (c != ' ' && c != '>') {
      pos = a + 4;
      continue;
    }
    if (b <= a + 4) {
      pos = b + 6;
      continue;
    }
    std::string run = xml.substr(a + 4 - 1, b - (a + 4));
    const size_t t2 = inStr(b + 6, open);
    const size_t br2 = inStr(b + 6, br);
    const size_t p2 = inStr(b + 6, pend);
    if (t2 != 0 && ((br2 != 0 && br2 < t2) || (p2 != 0 && p2 < t2))) run += ' ';
    const size_t gt = run.find('>');
    if (gt != std::string::npos) run = run.substr(gt + 1);
    if (run.find_first_not_of(' ') == std::string::npos) {
      run = " ";
    } else {
      for (const auto& [from, to] :
           {std::pair<std::string, std::string>{"&amp;", "&"}, {"&lt;", "<"}, {"&gt;", ">"}}) {
        std::string out;
        size_t at = 0;
        for (size_t found = run.find(from); found != std::string::npos;
             found = run.find(from, at)) {
          out += run.substr(at, found - at) + to;
          at = found + from.size();
        }
        run = out + run.substr(at);
      }
      run = DecodeUtf8Text(run, nullptr, false);
    }
    runs.push_back(run);
    pos = b + 6;
    if (pos > xml.size()) break;
  }
  return runs;
}

namespace {

std::u32string CodePoints(const std::string& text) {
  std::u32string out;
  for (size_t i = 0; i < text.size();) {
    uint32_t cp = 0;
    const size_t len = Utf8SequenceAt(text, i, &cp);
    out.push_back(static_cast<char32_t>(cp));
    i += len;
  }
  return out;
}

std::string Utf8Of(const std::u32string& s) {
  std::string out;
  for (char32_t c : s) AppendUtf8(static_cast<uint32_t>(c), &out);
  return out;
}

bool Letter(char32_t c) {
  return U_GET_GC_MASK(static_cast<UChar32>(c)) & (U_GC_L_MASK | U_GC_M_MASK);
}
bool Mark(char32_t c) { return U_GET_GC_MASK(static_cast<UChar32>(c)) & U_GC_M_MASK; }
bool Hyphen(char32_t c) { return c == '-' || c == 0x2010 || c == 0x2011; }
bool WordChar(char32_t c) {
  return Letter(c) || Hyphen(c) || (U_GET_GC_MASK(static_cast<UChar32>(c)) & U_GC_ND_MASK);
}
bool Dictionary(char32_t c) {
  UErrorCode e = U_ZERO_ERROR;
  const UChar32 u = static_cast<UChar32>(c);
  for (UScriptCode s : {USCRIPT_HAN, USCRIPT_HIRAGANA, USCRIPT_KATAKANA, USCRIPT_THAI, USCRIPT_LAO,
                        USCRIPT_KHMER, USCRIPT_MYANMAR}) {
    if (uscript_getScript(u, &e) == s) return Letter(c);
  }
  return false;
}
int32_t Clusters(const std::string& s) {
  return static_cast<int32_t>(BrokenInto(s, UBRK_CHARACTER).size());
}

}  // namespace

std::vector<std::string> UnicodeWords(const std::string& utf8, bool turkish) {
  const std::u32string t = CodePoints(utf8);
  std::vector<std::string> words;
  auto lower = [&](size_t a, size_t b) {
    std::u32string w;
    for (size_t k = a; k < b; ++k) {
      char32_t c = t[k];
      if (turkish && c == 'I') {
        c = 0x131;
      } else if (c == 0x130) {
        c = 'i';
      } else if (c == 0x3A3) {
        c = k > a && Letter(t[k - 1]) && !(k + 1 < b && Letter(t[k + 1])) ? 0x3C2 : 0x3C3;
      } else {
        c = static_cast<char32_t>(u_tolower(static_cast<UChar32>(c)));
      }
      w.push_back(c);
    }
    return w;
  };
  auto piece = [&](size_t a, size_t b) {
    while (a < b && Hyphen(t[a])) ++a;
    while (b > a && Hyphen(t[b - 1])) --b;
    if (std::none_of(t.begin() + a, t.begin() + b, Letter)) return;
    const bool hangul = std::any_of(t.begin() + a, t.begin() + b, [](char32_t c) {
      UErrorCode e = U_ZERO_ERROR;
      return uscript_getScript(static_cast<UChar32>(c), &e) == USCRIPT_HANGUL;
    });
    std::u32string w = lower(a, b);
    const size_t n = w.size();
    if (n >= 3 && w[n - 1] == 's' && w[n - 2] != 's') {
      unsigned char v = 0;
      const bool vowel = Cp1252ByteOf(static_cast<uint32_t>(w[n - 2]), &v) &&
                         std::string_view(
                             "aeiou\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE8\xE9\xEA\xEB\xEC\xED"
                             "\xEE\xEF\xF2\xF3\xF4\xF5\xF6\xF8\xF9\xFA\xFB\xFC")
                                 .find(static_cast<char>(v)) != std::string_view::npos;
      const std::string u = Utf8Of(w);
      const bool keep = vowel || (w[n - 3] == 'i' && w[n - 2] == 'c') || u == "maths" ||
                        u == "stats" || u == "arms" || u == "dickens" || u == "always" ||
                        u == "perhaps";
      if (!keep) w.pop_back();
    }
    const std::string u = Utf8Of(w);
    if (u == "s" || u == "t") return;
    // The end of a stem is a stem too ("ren" of "aren"), as the rule has always read.
    for (std::string_view stem : {"aren", "couldn", "didn", "doesn", "hadn", "hasn", "isn",
                                  "shouldn", "wasn", "weren", "wouldn"}) {
      if (!u.empty() && stem.ends_with(u)) return;
    }
    const int32_t chars = Clusters(u);
    if (chars < (hangul ? 1 : 3) || chars > 30) return;
    if (chars > 1 && std::all_of(w.begin(), w.end(), [&w](char32_t c) { return c == w[0]; }))
      return;
    if (std::all_of(
            u.begin(), u.end(),
            [](char c) { return std::string_view("ivxlcdm").find(c) != std::string_view::npos; }) &&
        !(u == "dim" || u == "mid" || u == "vim" || u == "cid" || u == "lid" || u == "livid" ||
          u == "vivid" || u == "civil" || u == "dill")) {
      return;
    }
    words.push_back(u);
  };
  auto segment = [&](size_t a, size_t b) {
    for (const std::string& segmentWord : BrokenInto(Utf8Of(t.substr(a, b - a)), UBRK_WORD)) {
      std::u32string w = CodePoints(segmentWord);
      for (char32_t& c : w) c = static_cast<char32_t>(u_tolower(static_cast<UChar32>(c)));
      words.push_back(Utf8Of(w));
    }
  };
  for (size_t i = 0; i < t.size();) {
    if (!WordChar(t[i])) {
      ++i;
      continue;
    }
    size_t begin = i;
    int kind = -1;
    for (; i < t.size() && WordChar(t[i]); ++i) {
      const int k = Mark(t[i]) && kind != -1 ? kind : Dictionary(t[i]) ? 1 : 0;
      if (kind != -1 && k != kind) {
        kind == 1 ? segment(begin, i) : piece(begin, i);
        begin = i;
      }
      kind = k;
    }
    kind == 1 ? segment(begin, i) : piece(begin, i);
  }
  return words;
}

namespace {

struct QueryReader {
  const QueryOptions& options;
  const std::vector<std::string>& spellings;
  const std::vector<int32_t>& lines;
  uint64_t first = 0, last = 0;  // the range

  bool WordMatches(const WordPattern& w, bool wholeWord, const std::string& spelling) const {
    if (w.kind == WordPattern::Kind::kWildcard) {
      std::string pattern = w.text;
      if (!wholeWord) pattern = "*" + pattern + "*";
      if (options.caseSensitive) return Like(spelling, pattern);
      return Like(LowerCaseAccented(spelling), LowerCaseAccented(pattern));
    }
    WordPattern p = w;
    p.caseSensitive = p.caseSensitive || options.caseSensitive;
    WordMatcher matcher;
    QueryError error;
    return matcher.Compile(p, false, &error, wholeWord) && matcher.Matches(spelling);
  }
  bool StepMatches(const TokenStep& step, const std::string& spelling) const {
    if (step.alternatives.empty()) return true;
    for (const std::vector<TokenCondition>& all : step.alternatives) {
      bool met = true;
      for (const TokenCondition& c : all) {
        WordPattern p;
        p.kind = WordPattern::Kind::kRegex;
        p.text = c.regex;
        met = met && WordMatches(p, true, spelling) != c.negated;
      }
      if (met) return true;
    }
    return false;
  }
  // Every end (one past the last token) of a match of steps[s...] from `at`.
  void Ends(const QueryNode& q, size_t s, uint64_t start, uint64_t at,
            std::vector<uint64_t>* ends) const {
    if (s == q.tokens.size()) {
      ends->push_back(at);
      return;
    }
    const TokenStep& step = q.tokens[s];
    const bool within = q.withinLine || options.withinLine;
    for (int k = 0; step.most < 0 || k <= step.most; ++k) {
      if (k >= step.least) Ends(q, s + 1, start, at + static_cast<uint64_t>(k), ends);
      const uint64_t next = at + static_cast<uint64_t>(k);
      if (next >= last || next - start >= kMostMatchTokens) break;
      if (within && lines[next] != lines[start]) break;
      if (!StepMatches(step, spellings[next])) break;
    }
  }
  // The longest match of a word, a phrase or a token pattern from `at`; 0 for none.
  uint32_t Longest(const QueryNode& q, uint64_t at) const {
    std::vector<WordPattern> words;
    if (q.kind == QueryNode::Kind::kWord) words = {q.word};
    if (q.kind == QueryNode::Kind::kPhrase) words = q.phrase;
    if (q.kind == QueryNode::Kind::kTokens) {
      std::vector<uint64_t> ends;
      Ends(q, 0, at, at, &ends);
      uint64_t longest = at;
      for (uint64_t e : ends) longest = std::max(longest, e);
      return static_cast<uint32_t>(longest - at);
    }
    if (at + words.size() > last) return 0;
    for (size_t i = 0; i < words.size(); ++i) {
      if (!WordMatches(words[i], options.wholeWord, spellings[at + i])) return 0;
    }
    if (options.withinLine && lines[at] != lines[at + words.size() - 1]) return 0;
    return static_cast<uint32_t>(words.size());
  }
  std::vector<std::pair<uint64_t, uint32_t>> Unit(const QueryNode& q) const {
    std::vector<std::pair<uint64_t, uint32_t>> out;
    if (q.kind == QueryNode::Kind::kNear || (q.kind == QueryNode::Kind::kWord && q.word.coWord)) {
      QueryNode head, tail;
      if (q.kind == QueryNode::Kind::kWord) {
        head.word = tail.word = q.word;
        head.word.coWord = tail.word.coWord = false;
        tail.word.text = q.word.tail.empty() ? "*" : q.word.tail;
      }
      const QueryNode& a = q.kind == QueryNode::Kind::kNear ? *q.first : head;
      const QueryNode& b = q.kind == QueryNode::Kind::kNear ? *q.second : tail;
      const bool anyDistance = q.kind == QueryNode::Kind::kWord;
      const bool within = anyDistance || options.withinLine;
      const auto bs = Unit(b);
      for (const auto& [af, al] : Unit(a)) {
        bool near = false;
        for (const auto& [bf, bl] : bs) {
          const uint64_t aLast = af + al - 1, bLast = bf + bl - 1;
          const auto d = static_cast<uint64_t>(q.distance);
          const bool after = bf > aLast && (anyDistance || bf - aLast <= d);
          const bool before = bLast < af && (anyDistance || af - bLast <= d);
          bool side = after || before;
          if (q.side == QueryNode::Side::kAfter) side = after;
          if (q.side == QueryNode::Side::kBefore) side = before;
          bool sameLine = true;
          for (uint64_t i = std::min(af, bf); i <= std::max(aLast, bLast); ++i)
            sameLine = sameLine && lines[i] == lines[af];
          near = near || (side && (!within || sameLine));
        }
        if (near) out.push_back({af, al});
      }
      return out;
    }
    for (uint64_t at = first; at < last;) {
      const uint32_t length = Longest(q, at);
      if (length == 0) {
        ++at;
      } else {
        out.push_back({at, length});
        at += length;
      }
    }
    return out;
  }
};

}  // namespace

std::vector<std::pair<uint64_t, uint32_t>> QueryMatches(
    const Query& query, const QueryOptions& options, const std::vector<std::string>& spellings,
    const std::vector<int32_t>& lines, const std::vector<std::pair<uint64_t, uint64_t>>& ranges) {
  std::vector<std::pair<uint64_t, uint32_t>> all;
  for (const auto& [first, last] : ranges) {
    QueryReader reader{options, spellings, lines, first, last};
    std::vector<std::pair<uint64_t, uint32_t>> here;
    for (const QueryNode& q : query.alternatives) {
      for (const auto& m : reader.Unit(q)) {
        bool merged = false;
        for (auto& h : here) {
          if (h.first == m.first) {
            h.second = std::max(h.second, m.second);
            merged = true;
          }
        }
        if (!merged) here.push_back(m);
      }
    }
    std::sort(here.begin(), here.end());
    all.insert(all.end(), here.begin(), here.end());
  }
  return all;
}

}  // namespace quillmoor::reference
