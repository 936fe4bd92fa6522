#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/Collation.h"
#include "engine/UnicodeWords.h"
#include "engine/WildcardMatch.h"
#include "engine/WordTable.h"
#include "input/Markup.h"
#include "input/UnicodeText.h"
#include "shared/Cp1252.h"
#include "shared/Utf8.h"
#include "support/Reference.h"
#include "support/ScanText.h"
#include "support/ScriptedHost.h"

namespace quillmoor {
namespace {

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
    ASSERT_EQ(EngineWords(text, turkish), reference::UnicodeWords(text, turkish)) << text;
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
  // A language's order: Swedish å ä ö after z, Czech ch after h and ř after r, Spanish
  // ñ after n.
  for (const auto& [language, words] :
       std::vector<std::pair<std::string, std::vector<std::string>>>{
           {"sv", {"apa", "zebra", "\xC3\xA5l", "\xC3\xA4ng", "\xC3\xB6ra"}},
           {"cs",
            {"hrad", "chata", "rak",
             "\xC5\x99"
             "eka",
             "sova"}},
           {"es",
            {"nada", "nube",
             "\xC3\xB1"
             "and\xC3\xBA",
             "oso"}}}) {
    WordTable t;
    t.wordRules = WordRuleSet::kUnicode;
    t.arrWords.resize(1);
    for (auto it = words.rbegin(); it != words.rend(); ++it) {
      WordRecord r;
      r.strWord = *it;
      t.arrWords.push_back(r);
    }
    t.lngNumWords = static_cast<int32_t>(words.size());
    std::string problem;
    ASSERT_TRUE(ApplySortLanguage(t, language, &problem)) << problem;
    SortWordTable(t.arrWords, 1, t.lngNumWords);
    std::vector<std::string> ordered;
    for (int32_t i = 1; i <= t.lngNumWords; ++i)
      ordered.push_back(t.arrWords[static_cast<size_t>(i)].strWord);
    EXPECT_EQ(ordered, words) << language;
  }
  // "?" is one user-perceived character, "#" a digit of any script.
  EXPECT_TRUE(MatchesPatternUtf8("j\xC4\x99zyk", "j?zyk"));
  EXPECT_TRUE(MatchesPatternUtf8("je\xCC\x81zyk", "j?zyk"));
  EXPECT_FALSE(MatchesPatternUtf8("j\xC4\x99zyk", "j??zyk"));
  EXPECT_TRUE(MatchesPatternUtf8("\xD0\xB2\xD0\xB5\xD1\x80\xD1\x81\xD0\xB8\xD1\x8F\xD9\xA3",
                                 "\xD0\xB2\xD0\xB5\xD1\x80*#"));
}

}  // namespace
}  // namespace quillmoor
