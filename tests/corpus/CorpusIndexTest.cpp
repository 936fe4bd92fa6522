#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "corpus/CorpusIndex.h"
#include "corpus/Keyness.h"

namespace quillmoor {
namespace {

// Random documents written and read back: every word's frequency, range and hits as
// the documents gave them (the literal count over each document's words).
TEST(CorpusIndexTest, WhatIsWrittenIsReadBack) {
  std::mt19937 random(29);
  for (int round = 0; round < 20; ++round) {
    const int documents = 1 + static_cast<int>(random() % 6);
    CorpusBuilder builder(WordRuleSetOf(round % 2 == 1));
    std::vector<DocumentWords> given;
    std::map<std::string, std::pair<uint32_t, uint32_t>> expected;  // frequency, range
    for (int d = 0; d < documents; ++d) {
      std::map<std::string, std::vector<int32_t>> words;
      int32_t position = 1;
      for (int n = static_cast<int>(random() % 40); n > 0; --n) {
        position += 1 + static_cast<int32_t>(random() % (round == 7 ? 1000000 : 9));
        words["w" + std::to_string(random() % 12)].push_back(position);
      }
      DocumentWords list(words.begin(), words.end());
      for (const auto& [w, p] : list) {
        expected[w].first += static_cast<uint32_t>(p.size());
        ++expected[w].second;
      }
      CorpusDocument doc;
      doc.path = "/d/" + std::to_string(d) + ".txt";
      doc.metadata = {{"year", std::to_string(1900 + d)}};
      builder.Add(doc, list);
      given.push_back(std::move(list));
    }
    CorpusIndex index;
    std::string problem;
    ASSERT_TRUE(index.Parse(builder.Serialize(), &problem)) << problem;
    EXPECT_EQ(index.rules(), WordRuleSetOf(round % 2 == 1));
    ASSERT_EQ(index.types().size(), expected.size());
    for (const auto& [word, counts] : expected) {
      const int64_t t = index.Find(word);
      ASSERT_GE(t, 0) << word;
      EXPECT_EQ(index.types()[static_cast<size_t>(t)].frequency, counts.first);
      EXPECT_EQ(index.types()[static_cast<size_t>(t)].range, counts.second);
    }
    EXPECT_EQ(index.Find("absent"), -1);
    EXPECT_EQ(index.AllDocumentWords(), given);
    EXPECT_EQ(index.documents().back().Metadata("year"), std::to_string(1899 + documents));
  }
}

TEST(CorpusIndexTest, DamagedOrForeignFilesAreRefused) {
  CorpusBuilder builder(WordRuleSet::kWindows1252);
  builder.Add(CorpusDocument{"/a.txt", "D", 1, 2, 0, {}}, {{"heron", {2, 9}}, {"river", {5}}});
  const std::string bytes = builder.Serialize();
  CorpusIndex index;
  std::string problem;
  EXPECT_FALSE(index.Parse("Quillmoor index 2: UTF-8 words\n", &problem));
  EXPECT_EQ(problem, "it is not a corpus index of this program");
  // Every shortened file, and every file with one byte changed, is refused or read
  // within its bytes.
  for (size_t n = 0; n < bytes.size(); ++n) {
    EXPECT_FALSE(index.Parse(bytes.substr(0, n), &problem)) << n;
    std::string changed = bytes;
    changed[n] = static_cast<char>(changed[n] ^ 0x5A);
    if (index.Parse(changed, &problem)) {
      for (size_t t = 0; t < index.types().size(); ++t) index.Hits(t);
    }
  }
}

TEST(KeynessTest, TheMeasuresOfHandWorkedTables) {
  // a = 50 in 100,000 words, b = 10 in 100,000: E1 = E2 = 30;
  // LL = 2 (50 ln(50/30) + 10 ln(10/30)) = 2 (25.54128 - 10.98612) = 29.11032;
  // Log Ratio = log2 5; %DIFF = 400;
  // simple maths = (500 + 1) / (100 + 1).
  const KeynessMeasures m = MeasureKeyness(50, 10, 100000, 100000);
  EXPECT_NEAR(m.logLikelihood, 29.11032, 1e-4);
  EXPECT_NEAR(m.logRatio, 2.321928, 1e-6);
  EXPECT_NEAR(m.percentDiff, 400, 1e-9);
  EXPECT_NEAR(m.simpleMaths, 501.0 / 101.0, 1e-9);
  EXPECT_LT(m.p, 0.0001);
  // The same relative frequency: nothing to tell them apart.
  const KeynessMeasures same = MeasureKeyness(10, 20, 1000, 2000);
  EXPECT_NEAR(same.logLikelihood, 0, 1e-12);
  EXPECT_NEAR(same.p, 1, 1e-12);
  // A zero in the reference: Log Ratio takes it as 0.5; LL's term for it is 0.
  const KeynessMeasures zero = MeasureKeyness(4, 0, 1000, 1000);
  EXPECT_NEAR(zero.logRatio, 3, 1e-12);
  EXPECT_NEAR(zero.logLikelihood, 2 * 4 * std::log(2.0), 1e-12);
  EXPECT_TRUE(std::isinf(zero.percentDiff));
  // The chi-square tail of 3.841 (one degree of freedom) is 0.05.
  EXPECT_NEAR(ChiSquareOneTail(3.841459), 0.05, 1e-6);
}

TEST(KeynessTest, SignificantWordsByLogRatioAndTheCorrection) {
  std::vector<KeynessRow> rows = {{"strong", 50, 10, 1, 1, {}},
                                  {"weak", 12, 8, 1, 1, {}},
                                  {"rare", 5, 40, 1, 1, {}},
                                  {"even", 30, 30, 1, 1, {}}};
  KeynessOptions options;
  std::vector<KeynessRow> kept = KeywordsOf(rows, 100000, 100000, options);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].word, "strong");
  options.negative = true;
  kept = KeywordsOf(rows, 100000, 100000, options);
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept[1].word, "rare");  // the most negative last
  // LL of weak is 0.81: kept only at a level above its p.
  options.p = 0.5;
  EXPECT_EQ(KeywordsOf(rows, 100000, 100000, options).size(), 3u);
  options.bonferroni = true;  // 0.5 / 4
  EXPECT_EQ(KeywordsOf(rows, 100000, 100000, options).size(), 2u);
}

}  // namespace
}  // namespace quillmoor
