#include <gtest/gtest.h>
#include <unicode/brkiter.h>
#include <unicode/normalizer2.h>
#include <unicode/ubrk.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/utext.h>

#include <algorithm>
#include <random>

#include "engine/UnicodeWords.h"
#include "engine/WildcardMatch.h"
#include "input/Markup.h"
#include "input/UnicodeText.h"
#include "shared/Cp1252.h"
#include "shared/Utf8.h"
#include "support/Reference.h"
#include "support/ScanText.h"
#include "support/ScriptedHost.h"

namespace quillmoor {
namespace {

// The rules applied a code point at a time, each question asked of ICU directly: the
// literal reference of UnicodeWordScanner.
std::vector<std::u32string> CodePoints(const std::string& text) {
  std::vector<std::u32string> out(1);
  for (size_t i = 0; i < text.size();) {
    uint32_t cp = 0;
    const size_t len = Utf8SequenceAt(text, i, &cp);
    out[0].push_back(static_cast<char32_t>(cp));
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
  UErrorCode e = U_ZERO_ERROR;
  UText* ut = utext_openUTF8(nullptr, s.data(), static_cast<int64_t>(s.size()), &e);
  UBreakIterator* bi = ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &e);
  ubrk_setUText(bi, ut, &e);
  int32_t n = 0;
  while (ubrk_next(bi) != UBRK_DONE) ++n;
  ubrk_close(bi);
  utext_close(ut);
  return n;
}

std::vector<std::string> ReferenceWords(const std::string& utf8, bool turkish) {
  const std::u32string t = CodePoints(utf8)[0];
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
    for (std::string_view stem : {"aren", "couldn", "didn", "doesn", "hadn", "hasn", "isn",
                                  "shouldn", "wasn", "weren", "wouldn"}) {
      if (u == stem) return;
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
    const std::string s = Utf8Of(t.substr(a, b - a));
    UErrorCode e = U_ZERO_ERROR;
    UText* ut = utext_openUTF8(nullptr, s.data(), static_cast<int64_t>(s.size()), &e);
    UBreakIterator* bi = ubrk_open(UBRK_WORD, "", nullptr, 0, &e);
    ubrk_setUText(bi, ut, &e);
    for (int32_t from = ubrk_first(bi), to = ubrk_next(bi); to != UBRK_DONE;
         from = to, to = ubrk_next(bi)) {
      const std::string w = Utf8Of(
          CodePoints(s.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)))[0]);
      words.push_back(LowerUnicodeText(w));
    }
    ubrk_close(bi);
    utext_close(ut);
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

std::vector<std::string> EngineWords(const std::string& utf8, bool turkish) {
  std::vector<std::string> words;
  UnicodeWordScanner scanner({turkish, 30});
  scanner.Scan(utf8, [&words](std::string_view w, int32_t) {
    words.emplace_back(w);
    return true;
  });
  return words;
}

TEST(UnicodeWordsTest, TheScannerFindsWhatTheRulesSayOnRandomTextsOfManyScripts) {
  // Latin with accents and the six letters, Cyrillic, Greek with sigma, Turkish i,
  // combining marks (NFD input), Hangul, Han and Thai, digits of two scripts, hyphens,
  // apostrophes, punctuation, and the characters of Windows-1252's 80-9F row.
  const std::vector<std::string> alphabet = {"a",
                                             "b",
                                             "c",
                                             "e",
                                             "i",
                                             "s",
                                             "t",
                                             "S",
                                             "I",
                                             "x",
                                             "v",
                                             "\xC3\xA9",
                                             "\xC5\xBE",
                                             "\xC2\xB5",
                                             "\xC2\xAA",
                                             "\xC6\x92",
                                             "\xC5\x93",
                                             "\xE2\x82\xAC",
                                             "\xD0\xB6",
                                             "\xD0\x96",
                                             "\xD1\x8F",
                                             "\xCE\xA3",
                                             "\xCE\xB1",
                                             "\xCE\xBB",
                                             "\xC4\xB0",
                                             "\xC4\xB1",
                                             "e\xCC\x81",
                                             "\xCC\x88",
                                             "\xEA\xB0\x80",
                                             "\xED\x95\x9C",
                                             "\xE4\xB8\xAD",
                                             "\xE6\x96\x87",
                                             "\xE0\xB8\x81",
                                             "\xE0\xB8\xB2",
                                             "1",
                                             "\xD9\xA3",
                                             "-",
                                             "\xE2\x80\x90",
                                             "'",
                                             ",",
                                             " ",
                                             " ",
                                             "\xE3\x80\x82"};
  std::mt19937 rng(28);
  for (int round = 0; round < 3000; ++round) {
    std::string text = reference::RandomBytes(rng, alphabet, 1 + rng() % 24);
    NormalizeToNfc(text);
    const bool turkish = round % 2 == 1;
    ASSERT_EQ(EngineWords(text, turkish), ReferenceWords(text, turkish)) << text;
  }
}

TEST(UnicodeWordsTest, OnWindows1252TextBothRuleSetsFindTheSameWordsAtTheSamePlaces) {
  // Every character Windows-1252 has (not the five bytes it leaves undefined) but the
  // seven letters the Unicode rules add (the modifier circumflex is a letter of
  // Unicode's too).
  std::vector<std::string> alphabet;
  for (int b = 1; b < 256; ++b) {
    if (std::string_view("\x8E\x9E\x83\xAA\xBA\xB5\x88\x81\x8D\x8F\x90\x9D")
            .find(static_cast<char>(b)) == std::string_view::npos) {
      alphabet.emplace_back(1, static_cast<char>(b));
    }
  }
  for (const char* common : {"a", "e", "s", "i", "-", " ", " ", " ", "n", "t", "'"}) {
    for (int k = 0; k < 8; ++k) alphabet.emplace_back(common);
  }
  std::mt19937 rng(1252);
  ScriptedHost host;
  Program p{host};
  p.intMaxPermittedWordLength = 30;
  for (int round = 0; round < 1500; ++round) {
    const std::string text = reference::RandomBytes(rng, alphabet, 1 + rng() % 40);
    testing::ScanText(p, text);
    std::vector<std::string> windows;
    for (int32_t i = 1; i <= p.lngNumWords; ++i) {
      const WordRecord& r = p.arrWords[static_cast<size_t>(i)];
      for (int32_t at : r.positions) windows.push_back(r.strWord + " " + std::to_string(at));
    }
    // The same text under the Unicode rules; positions counted in characters again.
    const std::string utf8 = DecodeUnicodeText(Cp1252ToUtf8(text));
    p.strLine = utf8;
    NormalizeDocumentText(p);
    const std::string normal = RemoveDoubleHyphens(p.strLine);  // as GetWords does
    std::vector<std::string> unicode;
    UnicodeWordScanner scanner({false, 30});
    scanner.Scan(normal, [&](std::string_view w, int32_t at) {
      std::string engine;
      EXPECT_TRUE(Utf8ToCp1252(w, &engine));
      unicode.push_back(
          engine + " " +
          std::to_string(Utf8Length(normal.substr(0, static_cast<size_t>(at - 1))) + 1));
      return true;
    });
    std::sort(windows.begin(), windows.end());
    std::sort(unicode.begin(), unicode.end());
    // The Windows-1252 table also holds the parts of hyphenated words.
    std::vector<std::string> whole;
    std::set_intersection(windows.begin(), windows.end(), unicode.begin(), unicode.end(),
                          std::back_inserter(whole));
    ASSERT_EQ(whole, unicode) << text;
  }
  // The six letters are letters under the Unicode rules only.
  EXPECT_EQ(EngineWords("\xC5\xBE"
                        "ak \xC2\xB5mx \xC6\x92ix \xC2\xAA"
                        "bc \xC2\xBA"
                        "de",
                        false),
            (std::vector<std::string>{"\xC5\xBE"
                                      "ak",
                                      "\xC2\xB5mx", "\xC6\x92ix",
                                      "\xC2\xAA"
                                      "bc",
                                      "\xC2\xBA"
                                      "de"}));
}

TEST(UnicodeWordsTest, CaseOrderAndWildcardTables) {
  struct Case {
    const char* text;
    bool turkish;
    std::vector<std::string> words;
  };
  for (const Case& c : std::vector<Case>{
           // ΟΔΥΣΣΕΥΣ: the last sigma is final, the inner ones are not.
           {"\xCE\x9F\xCE\x94\xCE\xA5\xCE\xA3\xCE\xA3\xCE\x95\xCE\xA5\xCE\xA3",
            false,
            {"\xCE\xBF\xCE\xB4\xCF\x85\xCF\x83\xCF\x83\xCE\xB5\xCF\x85\xCF\x82"}},
           // DİYARBAKIR: Turkish i with and without a dot; elsewhere I is i.
           {"D\xC4\xB0YARBAKIR", true, {"diyarbak\xC4\xB1r"}},
           {"D\xC4\xB0YARBAKIR", false, {"diyarbakir"}},
           // Han without spaces: a dictionary's words, one character long too.
           {"\xE6\x88\x91\xE4\xBB\xAC\xE7\x9A\x84",
            false,
            {"\xE6\x88\x91\xE4\xBB\xAC", "\xE7\x9A\x84"}},
           // Hangul of two syllables is a word; a Cyrillic word of two letters is not.
           {"\xED\x95\x9C\xEA\xB5\xAD \xD0\xBD\xD0\xB0", false, {"\xED\x95\x9C\xEA\xB5\xAD"}},
       }) {
    EXPECT_EQ(EngineWords(c.text, c.turkish), c.words) << c.text;
  }
  // The default order: accents folded as the Windows-1252 key does, any other
  // character by its code point after them; ř sorts with r.
  const std::vector<std::string> sorted = {"cote",
                                           "c\xC3\xB4t\xC3\xA9",
                                           "r\xC5\x99"
                                           "ad",
                                           "zed",
                                           "\xC5\x82"
                                           "ad",
                                           "\xD0\xB0\xD0\xB1"};
  for (size_t i = 0; i + 1 < sorted.size(); ++i) {
    EXPECT_LE(UnicodeSortKey(sorted[i]), UnicodeSortKey(sorted[i + 1])) << sorted[i];
  }
  EXPECT_EQ(UnicodeSortKey("caf\xC3\xA9"), SortKeyOf("caf\xE9"));
  // "?" is one user-perceived character, "#" a digit of any script.
  EXPECT_TRUE(MatchesPatternUtf8("j\xC4\x99zyk", "j?zyk"));
  EXPECT_TRUE(MatchesPatternUtf8("je\xCC\x81zyk", "j?zyk"));
  EXPECT_FALSE(MatchesPatternUtf8("j\xC4\x99zyk", "j??zyk"));
  EXPECT_TRUE(MatchesPatternUtf8("\xD0\xB2\xD0\xB5\xD1\x80\xD1\x81\xD0\xB8\xD1\x8F\xD9\xA3",
                                 "\xD0\xB2\xD0\xB5\xD1\x80*#"));
}

}  // namespace
}  // namespace quillmoor
