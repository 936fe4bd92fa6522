#include <gtest/gtest.h>

#include <random>

#include "engine/WordTable.h"
#include "input/Markup.h"
#include "support/Reference.h"
#include "support/ScanText.h"
#include "support/ScriptedHost.h"
#include "support/Text.h"
#include "ui/ListedWords.h"

namespace quillmoor {
namespace {

using testing::ScanText;
using testing::TableWords;

std::vector<WordRecord> Table(const std::vector<std::string>& words) {
  std::vector<WordRecord> A(1);
  for (const std::string& w : words) {
    WordRecord r;
    r.strWord = w;
    r.strSortKey = SortKeyOf(w);
    A.push_back(r);
  }
  return A;
}

TEST(WordTableTest, FoldAccentsMakesTheSortKey) {
  EXPECT_EQ(FoldAccents("M\xFCller"), "Mueller");
  EXPECT_EQ(SortKeyOf("M\xFCller"), "mueller");
  EXPECT_EQ(SortKeyOf("\x8C"
                      "dipe \xDF \xC6 \xD0\xF0"),
            "oedipe ss ae d\xF0");
  EXPECT_EQ(SortKeyOf("na\xEFve \x8A\x9F\xFD"), "naive syy");
}

TEST(WordTableTest, FindWordGivesInsertionPlaces) {
  std::vector<WordRecord> A = Table({"apple", "pear", "plum"});
  int32_t idx = 0;
  EXPECT_FALSE(FindWord("x", A, 0, &idx));
  EXPECT_EQ(idx, -1);
  // Every absent key of a longer table reports the place that keeps it sorted.
  std::vector<std::string> words;
  for (char c = 'b'; c <= 'y'; c += 2) words.push_back(std::string(1, c));
  std::vector<WordRecord> B = Table(words);
  const int32_t n = static_cast<int32_t>(words.size());
  for (char c = 'a'; c <= 'y'; ++c) {
    bool found = FindWord(std::string(1, c), B, n, &idx);
    int32_t expected = static_cast<int32_t>((c - 'a') / 2 + 1);
    EXPECT_EQ(found, (c - 'a') % 2 == 1) << c;
    EXPECT_EQ(found ? idx : -idx, expected) << c;
  }
}

TEST(WordTableTest, SortOrdersByKeyAndKeepsEqualKeysNextToEachOther) {
  std::vector<WordRecord> A = Table({"cafe", "caf\xE9", "zebra", "apple", "\xE9t\xE9", "ete"});
  SortWordTable(A, 1, 6, 1);
  std::vector<std::string> keys;
  for (size_t i = 1; i < A.size(); ++i) keys.push_back(A[i].strSortKey);
  EXPECT_EQ(keys, (std::vector<std::string>{"apple", "cafe", "cafe", "ete", "ete", "zebra"}));
  // The order of equal keys is the same every time for the same input.
  std::vector<WordRecord> again = Table({"cafe", "caf\xE9", "zebra", "apple", "\xE9t\xE9", "ete"});
  SortWordTable(again, 1, 6, 1);
  for (size_t i = 1; i < A.size(); ++i) EXPECT_EQ(A[i].strWord, again[i].strWord);
  // A key tail from column 2 on.
  std::vector<WordRecord> tails = Table({"ab", "ba"});
  SortWordTable(tails, 1, 2, 2);
  EXPECT_EQ(tails[1].strWord, "ba");
}

class MarkingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ScanText(p, "the well-known 4x4 cat cat cat dog dog");
    SortWordTable(p.arrWords, 1, p.lngNumWords, 1);
  }
  std::vector<std::string> Included() {
    MarkIncludedWords(p);
    CountIncludedWords(p);
    std::vector<std::string> out;
    for (int32_t i = 1; i <= p.lngNumWords; ++i) {
      if (p.arrWords[i].blnIncluded) out.push_back(p.arrWords[i].strWord);
    }
    return out;
  }
  ScriptedHost host;
  Program p{host};
  WorkObserver unwatched;
};

TEST_F(MarkingTest, HyphensNumeralsAndThreshold) {
  p.frmParams.chkAllowWordsWithHyphens.value = 1;
  p.frmParams.chkAllowWordsWithNumerals.value = 1;
  EXPECT_EQ(Included(),
            (std::vector<std::string>{"4x4", "cat", "dog", "known", "the", "well", "well-known"}));
  EXPECT_EQ(p.lngNumOccurrences, 10);
  EXPECT_EQ(p.lngMaxFrequency, 3);
  p.frmParams.chkAllowWordsWithHyphens.value = 0;
  p.frmParams.chkAllowWordsWithNumerals.value = 0;
  EXPECT_EQ(Included(), (std::vector<std::string>{"cat", "dog", "known", "the", "well"}));
  // Exactly the threshold stays; one below goes.
  p.frmParams.chkIgnoreInfrequentWords.value = 1;
  p.intThresholdFrequency = 3;
  EXPECT_EQ(Included(), (std::vector<std::string>{"cat"}));
  p.intThresholdFrequency = 4;
  EXPECT_EQ(Included(), std::vector<std::string>{});
  LinkWordsByFrequency(p, unwatched);
  EXPECT_EQ(p.lngFirstFreq, 0);
}

TEST_F(MarkingTest, FrequencyOrderBreaksTiesByTableOrder) {
  p.frmParams.chkAllowWordsWithHyphens.value = 1;
  p.frmParams.chkAllowWordsWithNumerals.value = 1;
  Included();
  LinkWordsByFrequency(p, unwatched);
  std::vector<std::string> order;
  for (int32_t i = p.lngFirstFreq; i != 0; i = p.arrWords[i].lngNextByFreq) {
    order.push_back(p.arrWords[i].strWord);
    EXPECT_EQ(p.arrWords[i].lngFreqRank, static_cast<int32_t>(order.size()));
  }
  EXPECT_EQ(order,
            (std::vector<std::string>{"cat", "dog", "4x4", "known", "the", "well", "well-known"}));
}

TEST(WordTableTest, SetExtraWordChars) {
  ScriptedHost host;
  Program p(host);
  p.frmParams.chkAllowWordsWithHyphens.value = 1;
  p.frmParams.chkAllowWordsWithNumerals.value = 1;
  SetExtraWordChars(p);
  EXPECT_EQ(p.strAllowedExtraChars, "0123456789-");
  EXPECT_EQ(AllowedExtraWordChars(true, false), "-");
  EXPECT_TRUE(IsInteger(" 123 "));
  EXPECT_FALSE(IsInteger("-1"));
  EXPECT_TRUE(IsInteger("-1", true));
  EXPECT_TRUE(IsInteger("1,000", false, true));
}

// The table built with the hash index and one sort equals the table the program
// builds by sorted insertion, field by field; ranking and linking equal the literal
// loops.
TEST(WordTableTest, MatchesTheLiteralTableOnRandomDocuments) {
  // Words compared in or out of the index slots.
  const std::vector<std::string> vocabulary = testing::Pieces(
      "cat cats Caf\xC9 cafe caf\xE9s well-known re-enter 1-2-step x-y 4x4 1984 mix dill don't "
      "glass goes M\xFCller mueller aaa --well-- a-b-c-d \xFC"
      "ber na\xEFve \xC9T\xC9 self-made-man "
      "42nd x-ray ray known well the The THE step 2-step internationalisation "
      "internationalisations twelve-letter",
      ' ');
  const std::vector<std::string> separators = {" ", ", ", ". ", " / ", "--", "\t", "'", "-"};
  std::mt19937 rng(1234);
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const int words = 1 + static_cast<int>(rng() % 200);
    for (int w = 0; w < words; ++w) {
      text += vocabulary[rng() % vocabulary.size()];
      text += separators[rng() % separators.size()];
    }
    ScriptedHost host;
    Program p(host);
    ScanText(p, text);

    // The literal scan: the same words at the same scan positions, into the sorted array.
    Program q(host);
    q.strLine = text;
    NormalizeDocumentText(q);
    q.strLine = RemoveDoubleHyphens(LowerCaseAccented(q.strLine));
    reference::LiteralWordTable lit;
    q.lngLP = 1;
    while (q.lngLP < static_cast<int32_t>(q.strLine.size())) {
      if (IsAlphaChar(q.strLine[q.lngLP - 1], 0, "-0123456789")) {
        std::string w = GetWord(q);
        if (w.size() >= 3 && w.size() <= 30 && !IsRepeatedChar(w) && !IsRomanNumeral(w, false)) {
          lit.AddWordToList(w, q.lngLP);
        }
      }
      q.lngLP = NextNonSpace(q.strLine, q.lngLP + 1);
      if (q.lngLP == 0) break;
    }

    ASSERT_EQ(p.lngNumWords, lit.n) << text;
    for (int32_t i = 1; i <= lit.n; ++i) {
      ASSERT_EQ(p.arrWords[i].strWord, lit.A[i].word) << text;
      ASSERT_EQ(p.arrWords[i].lngFrequency, lit.A[i].frequency);
      ASSERT_EQ(p.arrWords[i].positions, lit.A[i].positions);
    }

    SortWordTable(p.arrWords, 1, p.lngNumWords, 1);
    reference::LiteralWordTable sorted;
    sorted.n = p.lngNumWords;
    for (int32_t i = 1; i <= p.lngNumWords; ++i) {
      p.arrWords[i].blnIncluded = rng() % 4 != 0;
      reference::LiteralWord w;
      w.word = p.arrWords[i].strWord;
      w.frequency = p.arrWords[i].lngFrequency;
      w.included = p.arrWords[i].blnIncluded;
      sorted.A.push_back(w);
    }
    CountIncludedWords(p);
    WorkObserver unwatched;
    LinkWordsByFrequency(p, unwatched);
    ASSERT_EQ(p.lngFirstFreq, sorted.LinkWordsByFrequency());
    for (int32_t i = 1; i <= p.lngNumWords; ++i) {
      ASSERT_EQ(p.arrWords[i].lngFreqRank, sorted.A[i].freqRank);
      ASSERT_EQ(p.arrWords[i].lngNextByFreq, sorted.A[i].nextByFreq);
    }
  }
}

}  // namespace
}  // namespace quillmoor
