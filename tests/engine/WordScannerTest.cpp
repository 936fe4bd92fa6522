#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <thread>

#include "engine/WordScanner.h"
#include "support/Reference.h"
#include "support/ScanText.h"
#include "support/ScriptedHost.h"
#include "support/Text.h"

namespace quillmoor {
namespace {

using testing::ScanText;
using testing::TableWords;
using Words = std::vector<std::string>;

// A program whose table each test fills by scanning texts.
class ScanTest : public ::testing::Test {
 protected:
  ScriptedHost host;
  Program p{host};
};

TEST_F(ScanTest, WordRules) {
  struct Case {
    std::string text;
    Words words;  // the table after the scan, in binary order
  };
  const std::vector<Case> cases = {
      {"cats", {"cat"}},
      {"days", {"day"}},  // y is not a vowel
      {"goes", {"goes"}},
      {"glass", {"glass"}},
      {"physics", {"physics"}},
      {"its", {}},  // "it" is too short
      {"--well--", {"well"}},
      {"1984", {}},  // no letter
      {"4x4", {"4x4"}},
      {"don't", {"don"}},
      {"couldn't", {}},  // a contraction stem and "t"
      {"John's", {"john"}},
      {"mix mild civic xiv", {}},  // Roman numerals by the letter test
      {"dill mile", {"dill", "mile"}},
      {"aaa zzzz", {}},  // repeated characters
      {"---x", {}},      // "x" is too short
      {"well--known", {"known", "well"}},
      {"maths stats arms dickens always perhaps",
       {"always", "arms", "dickens", "maths", "perhaps", "stats"}},
      {"Caf\xC9S", {"caf\xE9s"}},  // lower-cased first; a vowel before the "s" keeps it
      {"ren aren", {}},            // tails of contraction stems
      {std::string(29, 'q') + "x " + std::string(30, 'q') + "y", {std::string(29, 'q') + "x"}},
      {"tab\tseparated   words", {"separated", "tab", "word"}},
  };
  for (const Case& c : cases) {
    ScanText(p, c.text);
    EXPECT_EQ(TableWords(p), c.words) << c.text;
  }
}

TEST_F(ScanTest, HyphenatedWordsEnterTheirParts) {
  // The very first word of the table is never split.
  ScanText(p, "well-known well-known");
  EXPECT_EQ(TableWords(p), Words{"well-known"});
  ScanText(p, "the re-enter");
  EXPECT_EQ(TableWords(p), (Words{"enter", "re", "re-enter", "the"}));
  ScanText(p, "the 1-2-step");
  EXPECT_EQ(TableWords(p), (Words{"1-2-step", "2-step", "step", "the"}));
  ScanText(p, "the x-y");  // both parts have one character
  EXPECT_EQ(TableWords(p), (Words{"the", "x-y"}));
  // A later occurrence of a known hyphenated word adds no parts again.
  ScanText(p, "the re-enter re-enter enter");
  EXPECT_EQ(p.arrWords[1].strWord, "enter");  // (binary order)
  EXPECT_EQ(p.arrWords[1].lngFrequency, 2);
}

TEST_F(ScanTest, PositionsCountFromTheEndOfTheRun) {
  // " the cats sat, the re-enter " (positions are 1-based in this text)
  ScanText(p, "The cats sat, the re-enter");
  ASSERT_EQ(p.strLine1, " The cats sat, the re-enter ");
  // "cat" one further for the lost "s"; "re" from the end of its run.
  EXPECT_EQ(testing::TableDump(p),
            "cat 1 7\nenter 1 23\nre 1 26\nre-enter 1 20\nsat 1 11\nthe 2 2 16\n");
}

TEST_F(ScanTest, EntitiesAndDoubleHyphensArePreparedFirst) {
  p.blnCharacterEntitiesPossible = true;
  ScanText(p, "caf&eacute; fish&amp;chips");
  EXPECT_EQ(TableWords(p), (Words{"caf\xE9", "chip", "fish"}));
  p.blnCharacterEntitiesPossible = false;
  ScanText(p, "caf&eacute;");
  EXPECT_EQ(TableWords(p), (Words{"caf", "eacute"}));
}

// The quick test of a word against its literal reading.
TEST(WordScannerTest, AcceptedWordsAsTheLiteralTestsSay) {
  std::mt19937 rng(8);
  const std::vector<std::string> alphabet = {" ", "i", "I", "v", "x", "l",    "c",   "d",   "m",
                                             "M", "a", "e", "-", "z", "dill", "mid", "\xCD"};
  for (int round = 0; round < 3000; ++round) {
    const std::string w = reference::RandomBytes(rng, alphabet, rng() % 6);
    const int len = static_cast<int>(w.size());
    const bool literal = len >= 3 && len <= 20 && !IsRepeatedChar(w) && !IsRomanNumeral(w, false);
    ASSERT_EQ(IsAcceptedWord(w, 20), literal) << "'" << w << "'";
  }
}

// A run ends at the first character that is no letter, digit or hyphen, whether the
// scanner finds it sixteen characters at a time or one at a time (near the end, after
// capitals and accented letters); a vowel before a plural "s" is the literal set's.
TEST(WordScannerTest, RunsAndVowelsAsTheLiteralTestsSay) {
  std::mt19937 rng(4);
  const std::vector<std::string> alphabet = testing::Pieces(
      "a|z|Q|-|0|9|\xE9|\xC9|\x9A|/|.|'| |longwordpart|abcdefghijklmnopq|`|{|@|\xFF");
  for (int round = 0; round < 4000; ++round) {
    const std::string text = reference::RandomBytes(rng, alphabet, 1 + rng() % 12);
    const int32_t start = 1 + static_cast<int32_t>(rng() % text.size());
    int32_t lngLP = start;
    ScanWord(text, lngLP);
    int32_t end = start;
    const auto wordChar = [&text](int32_t at) {
      return IsAlphaChar(text[static_cast<size_t>(at - 1)], 0, "-0123456789");
    };
    while (end <= static_cast<int32_t>(text.size()) && wordChar(end)) ++end;
    ASSERT_EQ(lngLP, end) << "'" << text << "' from " << start;
  }
  const std::string vowels = LowerCaseAccented(std::string(kVowels));
  for (int c = 0; c < 256; ++c) {
    EXPECT_EQ(IsAccentAwareVowel(static_cast<char>(c)),
              vowels.find(static_cast<char>(c)) != std::string::npos)
        << c;
  }
}

// The text as a run hands it to the scan.
DocumentText Prepared(const std::string& text) {
  ScriptedHost host;
  Program p(host);
  p.strLine = text;
  NormalizeDocumentText(p);
  return DocumentText{LowerCaseAccented(p.strLine), "", 0};
}

TEST(WordScannerTest, TwoThreadScanFindsWhatOneThreadFinds) {
  std::mt19937 rng(11);
  const std::vector<std::string> pieces = {"cat",       "cats", "Caf\xE9", "well-known", "re-enter",
                                           "1-2-step",  "mix",  "don't",   "--",         " ",
                                           " / ",       ", ",   "aaa",     "x-y",        "the",
                                           "\xC9T\xC9", "42nd", "---x",    "dill",       "its"};
  WorkObserver unwatched;
  for (int round = 0; round < 20; ++round) {
    std::string text;
    const int n = 2000 + static_cast<int>(rng() % 3000);
    for (int i = 0; i < n; ++i) text += pieces[rng() % pieces.size()] + (rng() % 3 ? " " : "");
    DocumentText one = Prepared(text), two = one, three = one;
    WordTable tables[3];
    for (WordTable& t : tables) StartWordTable(t);
    GetWords(one, tables[0], false, unwatched, SIZE_MAX);  // one thread
    GetWords(two, tables[1], false, unwatched, 0);         // two threads
    GetWords(three, tables[2], false, unwatched, 0, 0);    // the passed text handed back
    if (text.size() > 3 * 4096) {
      EXPECT_TRUE(three.strLine.empty()) << text.size();
    }
    for (WordTable& t : tables) FinishWordTable(t);
    ASSERT_EQ(testing::TableDump(tables[1]), testing::TableDump(tables[0]));
    ASSERT_EQ(testing::TableDump(tables[2]), testing::TableDump(tables[0]));
  }
  // A stop request ends the two-thread scan after the word being stored.
  ScriptedHost host;
  bool stop = false;
  WordTable t;
  host.onDoEvents = [&] {
    if (t.lngNumWords == 7) stop = true;
  };
  WorkObserver watched(&host, &stop);
  DocumentText d{" alpha beta gamma delta epsilon zeta eta theta iota kappa lambda ", "", 0};
  StartWordTable(t);
  GetWords(d, t, false, watched, 0);
  EXPECT_EQ(t.lngNumWords, 7);
}

TEST(WordScannerTest, TwoDocumentsScanIntoTwoTablesAtOnce) {
  // Each scan reads only its own text and writes only its own table: two at once on two
  // threads give the tables each gives alone.
  std::string a, b;
  for (int i = 0; i < 40000; ++i) {
    a += "vanity of vanities saith the preacher " + std::to_string(i % 97) + "th ";
    b += "Caf\xE9 well-known re-enter " + std::string(1, static_cast<char>('a' + i % 26)) + "ola ";
  }
  WorkObserver unwatched;
  const auto alone = [&](const std::string& text) {
    DocumentText d = Prepared(text);
    WordTable t;
    StartWordTable(t);
    GetWords(d, t, false, unwatched);
    FinishWordTable(t);
    return t;
  };
  const WordTable soloA = alone(a), soloB = alone(b);
  DocumentText da = Prepared(a), db = Prepared(b);
  WordTable ta, tb;
  StartWordTable(ta);
  StartWordTable(tb);
  std::thread other([&] { GetWords(db, tb, false, unwatched); });
  GetWords(da, ta, false, unwatched);
  other.join();
  FinishWordTable(ta);
  FinishWordTable(tb);
  ASSERT_GT(soloA.lngNumWords, 20);
  ASSERT_GT(soloB.lngNumWords, 20);
  EXPECT_TRUE(testing::TableDump(ta) == testing::TableDump(soloA));
  EXPECT_TRUE(testing::TableDump(tb) == testing::TableDump(soloB));
}

TEST(WordRulesTest, Helpers) {
  EXPECT_FALSE(IsAlphaChar('A', -1, ""));  // lower case only
  EXPECT_TRUE(IsAlphaChar('\xC9', 1, ""));
  EXPECT_EQ(WordLength(" ab-9c d", 0, 2, "-0123456789"), 5);
  EXPECT_EQ(FindFirstNotOf("abc", 1, ""), 1);
  EXPECT_EQ(NextNonSpace("a   ", 2), 0);
  EXPECT_FALSE(IsRepeatedChar("   "));
  EXPECT_TRUE(IsRomanNumeral("xiv", true));
  EXPECT_FALSE(IsRomanNumeral("mix", true));
  EXPECT_TRUE(IsRomanNumeral("civic", false));
  EXPECT_FALSE(IsRomanNumeral("livid", false));
  EXPECT_TRUE(IsContractionStem("SN"));
  EXPECT_FALSE(IsVowel("\xC9", true));  // the first character is not lower-cased
  EXPECT_TRUE(IsVowel("\xC9", false));
  EXPECT_EQ(TrimChars("--a-b--", "-"), "a-b");
  EXPECT_EQ(reference::CollapseSpaces("a    b  c "), "a b c ");
}

TEST(WordRulesTest, LowerCaseAccentedCallsBackPerAccentedCapital) {
  int calls = 0;
  EXPECT_EQ(LowerCaseAccented("\xC9T\xC9 \x8C\xC6\xDE\x8A\x9F Z", [&calls] { ++calls; }),
            "\xE9t\xE9 \x9C\xE6\xFE\x9A\xFF z");
  EXPECT_EQ(calls, 4);  // two E acute, S caron, Y diaeresis; not OE, AE or thorn
  EXPECT_EQ(LowerCaseAccented("\xD7\xDF"), "\xD7\xDF");  // the multiplication sign and sharp s stay
  // Sixteen ASCII characters at a time, the rest one by one: the code page's map of
  // every character, and a call for each accented capital, on random texts.
  std::mt19937 rng(6);
  for (int round = 0; round < 2000; ++round) {
    std::string text(rng() % 70, ' ');
    for (char& c : text) c = static_cast<char>(rng() % 4 ? 0x20 + rng() % 0x60 : rng() % 256);
    std::string expected = text;
    int accented = 0;
    for (char& c : expected) {
      accented += std::string_view(kAccentedCapitals).find(c) != std::string_view::npos;
      c = Cp1252LowerChar(c);
    }
    calls = 0;
    ASSERT_EQ(LowerCaseAccented(text, [&calls] { ++calls; }), expected);
    ASSERT_EQ(calls, accented);
    ASSERT_EQ(LowerCaseAccented(text), expected);
  }
}

}  // namespace
}  // namespace quillmoor
