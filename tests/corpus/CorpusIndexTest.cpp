#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "corpus/CorpusIndex.h"
#include "corpus/DocumentTexts.h"
#include "corpus/Keyness.h"
#include "corpus/Subcorpus.h"
#include "corpus/TokenRuns.h"
#include "engine/WordRules.h"
#include "input/Markup.h"
#include "support/TestFiles.h"

namespace quillmoor {
namespace {

// A random document: its tokens, and its words standing in some of them.
struct Document {
  std::vector<std::string> tokens;
  DocumentWords words;
};

Document RandomDocument(std::mt19937& random) {
  Document d;
  std::map<std::string, std::vector<int32_t>> words;
  for (int n = static_cast<int>(random() % 60); n > 0; --n) {
    // Spellings of up to eight bytes, of nine to sixteen and longer, the longer ones
    // alike in their first eight or sixteen bytes: each kind is looked up its own way.
    static const char* const kStems[] = {"t", "abcdefgh", "abcdefghijklmno", "abcdefghijklmnopq"};
    const std::string token = kStems[random() % 4] + std::to_string(random() % 15);
    // Most tokens are words; a few (the short and stop words) are not, and a few hold
    // two (a hyphenated word and its part).
    const auto kind = random() % 6;
    const auto at = static_cast<int32_t>(d.tokens.size());
    if (kind > 0) words["w" + token].push_back(at);
    if (kind == 5) words["p" + std::to_string(random() % 3)].push_back(at);
    d.tokens.push_back(token);
  }
  d.words.assign(words.begin(), words.end());
  return d;
}

// What a written corpus must read back as: the literal sums over its documents.
void ExpectReadsBack(const CorpusIndex& index, const std::vector<Document>& docs) {
  std::map<std::string, std::vector<DocumentHits>> hits;
  std::map<std::string, uint64_t> tokenCounts;
  std::vector<std::string> stream;
  for (uint32_t d = 0; d < docs.size(); ++d) {
    for (const auto& [w, p] : docs[d].words) hits[w].push_back({d, p});
    for (const std::string& t : docs[d].tokens) {
      ++tokenCounts[t];
      stream.push_back(t);
    }
  }
  ASSERT_EQ(index.documents().size(), docs.size());
  for (size_t d = 0; d < docs.size(); ++d) {  // the places Write gave, kept by updates
    EXPECT_EQ(index.documents()[d].textPack, docs[d].tokens.size() + 1);
    EXPECT_EQ(index.documents()[d].textOffset, docs[d].words.size() << 33);
  }
  ASSERT_EQ(index.words().size(), hits.size());
  ASSERT_EQ(index.tokenCount(), stream.size());
  for (const auto& [word, list] : hits) {
    const int64_t w = index.Find(word);
    ASSERT_GE(w, 0) << word;
    const std::vector<DocumentHits> read = index.Hits(static_cast<size_t>(w));
    ASSERT_EQ(read.size(), list.size()) << word;
    for (size_t i = 0; i < list.size(); ++i) {
      EXPECT_EQ(read[i].document, list[i].document) << word;
      EXPECT_EQ(read[i].positions, list[i].positions) << word;
    }
    EXPECT_EQ(index.words()[static_cast<size_t>(w)].range, list.size());
  }
  for (size_t i = 0; i < stream.size(); ++i) {
    const uint32_t id = index.TokenAt(i);
    ASSERT_NE(id, CorpusIndex::kNoToken);
    ASSERT_EQ(index.tokenTypes()[id].spelling, stream[i]) << i;
  }
  EXPECT_EQ(index.TokenAt(stream.size()), CorpusIndex::kNoToken);
  for (const CorpusIndex::Token& t : index.tokenTypes()) {
    const auto found = tokenCounts.find(std::string(t.spelling));
    EXPECT_EQ(t.frequency, found == tokenCounts.end() ? 0 : found->second) << t.spelling;
  }
  EXPECT_EQ(index.Find("absent"), -1);
}

bool Write(CorpusWriter& writer, const Document& d, const std::string& path) {
  std::vector<std::string_view> tokens(d.tokens.begin(), d.tokens.end());
  CorpusDocument doc;
  doc.path = path;
  doc.metadata = {{"name", path}};
  doc.textPack = static_cast<uint32_t>(d.tokens.size() + 1);
  doc.textOffset = d.words.size() << 33;
  return writer.Add(doc, d.words, tokens);
}

// Random corpora written with a spill limit of a few bytes (so that nearly every
// document spills a run of its own, and the runs are merged), then updated: some
// documents kept, some removed, some scanned again, new ones added.
TEST(CorpusIndexTest, WhatIsWrittenIsReadBackThroughSpillsAndUpdates) {
  testing::TempDir dir;
  std::mt19937 random(30);
  for (int round = 0; round < 12; ++round) {
    const WordRuleSet rules = WordRuleSetOf(round % 2 == 1);
    const std::string first = dir.path() + "/a.qci", second = dir.path() + "/b.qci";
    std::vector<Document> docs;
    const size_t spill = round % 3 == 0 ? size_t{1} << 20 : 8;
    {
      CorpusWriter writer(rules, first, spill);
      std::string problem;
      ASSERT_TRUE(writer.Start(&problem)) << problem;
      for (int d = 1 + static_cast<int>(random() % 7); d > 0; --d) {
        docs.push_back(RandomDocument(random));
        ASSERT_TRUE(Write(writer, docs.back(), "/d/" + std::to_string(docs.size())));
      }
      ASSERT_TRUE(writer.Finish(&problem)) << problem;
      const bool anyWords =
          std::any_of(docs.begin(), docs.end(), [](const Document& d) { return !d.words.empty(); });
      EXPECT_EQ(writer.spills() > 0, spill == 8 && anyWords);
    }
    CorpusIndex index;
    std::string problem;
    ASSERT_TRUE(index.Open(first, &problem)) << problem;
    EXPECT_EQ(index.rules(), rules);
    ExpectReadsBack(index, docs);
    EXPECT_EQ(index.documents().back().Metadata("name"), "/d/" + std::to_string(docs.size()));
    // A subcorpus's counts: the literal sums over the documents it keeps.
    DocumentFilter later;
    std::string why;
    ASSERT_TRUE(ParseDocumentFilter("name>=3", &later, &why));
    const Subcorpus sub(index, {later});
    std::vector<uint32_t> frequency, range;
    sub.CountWords(&frequency, &range);
    std::map<std::string, std::pair<uint32_t, uint32_t>> expected;
    for (size_t d = 2; d < docs.size(); ++d) {
      for (const auto& [w, p] : docs[d].words) {
        expected[w].first += static_cast<uint32_t>(p.size());
        ++expected[w].second;
      }
    }
    for (size_t w = 0; w < index.words().size(); ++w) {
      const auto found = expected.find(std::string(index.words()[w].word));
      EXPECT_EQ(frequency[w], found == expected.end() ? 0 : found->second.first);
      EXPECT_EQ(range[w], found == expected.end() ? 0 : found->second.second);
    }

    std::vector<Document> updated;
    CorpusWriter writer(rules, second, spill, &index);
    ASSERT_TRUE(writer.Start(&problem)) << problem;
    for (uint32_t d = 0; d < docs.size(); ++d) {
      const auto fate = random() % 3;  // kept, removed, scanned again
      if (fate == 0) {
        ASSERT_TRUE(writer.Keep(index.documents()[d], d));
        updated.push_back(docs[d]);
      } else if (fate == 2) {
        updated.push_back(RandomDocument(random));
        ASSERT_TRUE(Write(writer, updated.back(), "/again"));
      }
    }
    updated.push_back(RandomDocument(random));
    // Now and then enough new spellings that the stream's ids outgrow a byte.
    if (round % 4 == 0) {
      for (int t = 0; t < 300; ++t) updated.back().tokens.push_back("n" + std::to_string(t));
    }
    ASSERT_TRUE(Write(writer, updated.back(), "/new"));
    ASSERT_TRUE(writer.Finish(&problem)) << problem;
    CorpusIndex after;
    ASSERT_TRUE(after.Open(second, &problem)) << problem;
    ExpectReadsBack(after, updated);
  }
}

// More spellings than two bytes hold: the stream is widened as it is written, and
// read back at three bytes a token.
TEST(CorpusIndexTest, AStreamOutgrowsTwoBytes) {
  testing::TempDir dir;
  const std::string path = dir.path() + "/wide.qci";
  std::vector<Document> docs(2);
  for (int t = 0; t < 70000; ++t) docs[t % 2].tokens.push_back("s" + std::to_string(t));
  docs[1].words = {{"wword", {0, 5, 34999}}};
  CorpusWriter writer(WordRuleSet::kWindows1252, path, 1 << 20);
  std::string problem;
  ASSERT_TRUE(writer.Start(&problem)) << problem;
  for (const Document& d : docs) ASSERT_TRUE(Write(writer, d, "/w"));
  ASSERT_TRUE(writer.Finish(&problem)) << problem;
  CorpusIndex index;
  ASSERT_TRUE(index.Open(path, &problem)) << problem;
  EXPECT_EQ(index.width(), 3u);
  ExpectReadsBack(index, docs);
}

TEST(CorpusIndexTest, DamagedOrForeignFilesAreRefused) {
  testing::TempDir dir;
  const std::string path = dir.path() + "/c.qci";
  {
    CorpusWriter writer(WordRuleSet::kWindows1252, path, 1 << 20);
    std::string problem;
    ASSERT_TRUE(writer.Start(&problem));
    ASSERT_TRUE(writer.Add(CorpusDocument{"/a.txt", "D", 1, 2, 0, 0, 0, 0, 0, {{"year", "1900"}}},
                           {{"heron", {0, 3}}, {"river", {2}}}, {"Heron", "on", "river", "heron"}));
    ASSERT_TRUE(writer.Finish(&problem)) << problem;
  }
  std::string bytes;
  {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    std::fclose(f);
  }
  CorpusIndex index;
  std::string problem;
  ASSERT_TRUE(index.Parse(bytes, &problem)) << problem;
  EXPECT_FALSE(index.Parse("Quillmoor index 2: UTF-8 words\n", &problem));
  EXPECT_EQ(problem, "it is not a corpus index of this program");
  EXPECT_FALSE(index.Open(dir.path() + "/none.qci", &problem));
  // Every shortened file, and every file with one byte changed, is refused or read
  // within its bytes.
  for (size_t n = 0; n < bytes.size(); ++n) {
    EXPECT_FALSE(index.Parse(bytes.substr(0, n), &problem)) << n;
    EXPECT_FALSE(problem.empty());
    std::string changed = bytes;
    changed[n] = static_cast<char>(changed[n] ^ 0x5A);
    if (index.Parse(changed, &problem)) {
      for (size_t t = 0; t < index.words().size(); ++t) index.Hits(t);
      for (uint64_t t = 0; t <= index.tokenCount(); ++t) index.TokenAt(t);
    }
  }
}

TEST(TokenRunsTest, RunsOfWordCharactersHoldingMoreThanHyphens) {
  const struct {
    const char* text;
    bool utf8;
    std::vector<std::string> tokens;
  } kCases[] = {
      {" In the beginning, God's 1611 -- well-known -x- ",
       false,
       {"In", "the", "beginning", "God", "s", "1611", "well-known", "-x-"}},
      {"a - b", false, {"a", "b"}},
      {" \xe9t\xe9 / na\xefve ", false, {"\xe9t\xe9", "na\xefve"}},  // Windows-1252 letters
      {" \xd0\x92\xd0\xbe\xd0\xb9\xd0\xbd\xd0\xb0 \xe2\x80\x94 \xe6\x97\xa5\xe6\x9c\xac ",
       true,
       {"\xd0\x92\xd0\xbe\xd0\xb9\xd0\xbd\xd0\xb0", "\xe6\x97\xa5\xe6\x9c\xac"}},  // a dash between
  };
  for (const auto& c : kCases) {
    std::vector<TokenRun> runs;
    FindTokenRuns(c.text, c.utf8, &runs);
    std::vector<std::string> tokens;
    for (const TokenRun& r : runs) tokens.push_back(std::string(c.text).substr(r.begin, r.size));
    EXPECT_EQ(tokens, c.tokens) << c.text;
    if (!runs.empty()) {
      EXPECT_EQ(TokenAtOffset(runs, runs.back().begin + runs.back().size - 1), runs.size() - 1);
      EXPECT_EQ(TokenAtOffset(runs, 0), 0u);
    }
  }
}

// The runs of random texts against the literal loop: a run of word characters, kept
// when it holds one that is not a hyphen.
// Variable-length numbers read on their short path as on the literal one, from any bytes.
TEST(CorpusIndexTest, ShortNumbersReadAsTheLiteralReaderReadsThem) {
  std::mt19937 random(33);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes;
    for (int n = static_cast<int>(random() % 12); n > 0; --n)
      bytes.push_back(static_cast<char>(random() % 4 == 0 ? random() % 256 : random() % 128));
    size_t fast = 0, slow = 0;
    for (bool more = true; more;) {
      uint64_t a = 0, b = 0;
      more = ReadVarint(bytes, &fast, &a);
      ASSERT_EQ(ReadVarintSlowly(bytes, &slow, &b), more);
      if (more) {
        ASSERT_EQ(a, b);
      }
      ASSERT_EQ(fast, slow);
    }
  }
}

// The ids of a text's tokens, many at a time, are those of a literal table: each new
// spelling takes the next id. The spellings are of every length up to 40 bytes, many
// alike in their first eight or sixteen, some at the very end of the text.
TEST(CorpusIndexTest, SpellingsAManyAtATimeTakeTheirIdsInTurn) {
  testing::TempDir dir;
  CorpusWriter writer(WordRuleSet::kWindows1252, dir.path() + "/i.qci", 1 << 20);
  std::map<std::string, uint32_t> literal;
  std::mt19937 random(32);
  for (int round = 0; round < 200; ++round) {
    std::string text;
    for (int n = static_cast<int>(random() % 40); n > 0; --n) {
      text += std::string("abcdefghijklmnopqrstuvwxyz0123456789ABCD").substr(0, random() % 41);
      text += std::to_string(random() % 40);
      text += ' ';
    }
    if (random() % 2 == 0 && !text.empty()) text.pop_back();  // a token at the very end
    std::vector<TokenRun> runs;
    FindTokenRuns(text, false, &runs);
    std::vector<uint32_t> ids(runs.size());
    writer.InternAll(text, runs, ids.data());
    for (size_t i = 0; i < runs.size(); ++i) {
      const std::string spelling = text.substr(runs[i].begin, runs[i].size);
      const auto [at, fresh] = literal.try_emplace(spelling, static_cast<uint32_t>(literal.size()));
      ASSERT_EQ(ids[i], at->second) << spelling;
      EXPECT_EQ(writer.Intern(spelling), at->second) << spelling;
    }
  }
  EXPECT_GT(literal.size(), 1000u);  // the table grew
}

TEST(TokenRunsTest, TheFastCutIsTheLiteralOne) {
  std::mt19937 random(31);
  for (int round = 0; round < 400; ++round) {
    std::string text;
    for (int n = static_cast<int>(random() % 200); n > 0; --n) {
      const auto pick = random() % 10;
      text.push_back(pick < 5   ? static_cast<char>('a' + random() % 26)
                     : pick < 6 ? '-'
                     : pick < 8 ? " .,'/\n"[random() % 6]
                                : static_cast<char>(random() % (round % 2 == 0 ? 128 : 256)));
    }  // (half the texts ASCII only: the chunks the wide cuts take at once)
    std::vector<TokenRun> expected;
    const std::string spaced = RemoveDoubleHyphens(text);
    for (size_t at = 0; at < spaced.size();) {
      if (!IsWordStartChar(spaced[at])) {
        ++at;
        continue;
      }
      const size_t begin = at;
      bool counts = false;
      for (; at < spaced.size() && IsWordStartChar(spaced[at]); ++at) counts |= spaced[at] != '-';
      if (counts)
        expected.push_back({static_cast<uint32_t>(begin), static_cast<uint32_t>(at - begin)});
    }
    for (const bool wide : {false, true}) {
      std::vector<TokenRun> runs;
      FindTokenRunsBy(text, false, wide, &runs);
      ASSERT_EQ(runs.size(), expected.size()) << text << wide;
      for (size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].begin, expected[i].begin) << text << wide;
        EXPECT_EQ(runs[i].size, expected[i].size) << text << wide;
      }
    }
  }
}

// Kept texts written into one pack, read back by their places: each stretch begins
// where the text says, on the token it says, after the line-break marks it says, and
// holds the tokens asked for.
TEST(DocumentTextsTest, StretchesAreTheWholeTextsPieces) {
  testing::TempDir dir;
  const DocumentTexts texts(dir.path());
  std::mt19937 random(32);
  std::vector<std::string> written;
  std::vector<TextPlace> places;
  std::string problem;
  {
    TextPackWriter pack(texts, texts.NewPack());
    for (int round = 0; round < 60; ++round) {
      std::string text;
      for (int n = static_cast<int>(random() % 3000); n > 0; --n) {
        const auto pick = random() % 12;
        text += pick < 6   ? std::string(1, static_cast<char>('a' + random() % 26))
                : pick < 7 ? "-"
                : pick < 8 ? " / "
                           : std::string(1, " .,'\xe9\xa0"[random() % 7]);
      }
      std::vector<TokenRun> runs;
      FindTokenRuns(text, round % 2 == 1, &runs);
      ASSERT_TRUE(pack.Append(text, TextMarksOf(text, runs), round % 2 == 1, &places.emplace_back(),
                              &problem))
          << problem;
      written.push_back(text);
    }
    ASSERT_TRUE(pack.Finish(&problem)) << problem;
  }
  EXPECT_EQ(texts.NewPack(), 2u);
  for (size_t round = 0; round < written.size(); ++round) {
    const std::string& text = written[round];
    const bool utf8 = round % 2 == 1;
    std::vector<TokenRun> runs;
    FindTokenRuns(text, utf8, &runs);
    KeptText kept;
    ASSERT_TRUE(kept.Open(texts, places[round], &problem) && kept.Load(&problem)) << problem;
    ASSERT_FALSE(kept.whole(utf8));
    EXPECT_TRUE(kept.whole(!utf8));
    for (int q = 0; q < 20; ++q) {
      const int64_t first = static_cast<int64_t>(random() % (runs.size() + 1)) - 5;
      const int64_t last = first + static_cast<int64_t>(random() % 50);
      TextStretch stretch;
      ASSERT_TRUE(kept.Stretch(first, last, utf8, &stretch, &problem)) << problem;
      EXPECT_EQ(stretch.text, text.substr(stretch.begin, stretch.text.size()));
      int64_t lines = 0;
      for (size_t at = text.find(" / "); at < stretch.begin; at = text.find(" / ", at + 3)) ++lines;
      EXPECT_EQ(stretch.lines, lines);
      std::vector<TokenRun> part;
      FindTokenRuns(stretch.text, utf8, &part);
      const int64_t from = stretch.firstToken;
      ASSERT_LE(from, std::max<int64_t>(first, 0));
      for (size_t i = 0; i < part.size(); ++i) {
        const TokenRun& whole = runs[static_cast<size_t>(from) + i];
        ASSERT_EQ(part[i].begin + stretch.begin, whole.begin) << text;
        ASSERT_EQ(part[i].size, whole.size) << text;
      }
      if (!runs.empty()) {
        EXPECT_GE(from + static_cast<int64_t>(part.size()),
                  std::min<int64_t>(last + 1, static_cast<int64_t>(runs.size())));
      }
    }
  }
  // Places that lead nowhere, into the middle of a record, or to a record cut short.
  dir.Write("texts/7.pack", std::string("QM txt2\n\x20\0\0\0\0\0\0\0\0\0\0\0\0short", 26));
  for (const TextPlace place : {TextPlace{0, 0}, TextPlace{1, places[1].offset + 3},
                                TextPlace{1, 1u << 30}, TextPlace{7, 0}, TextPlace{9, 0}}) {
    KeptText bad;
    EXPECT_FALSE(bad.Open(texts, place, &problem) && bad.Load(&problem))
        << place.pack << " " << place.offset;
    EXPECT_NE(problem.find("(index the corpus again)"), std::string::npos) << problem;
  }
  texts.RemovePacksBut({7});
  EXPECT_EQ(texts.NewPack(), 8u);
  KeptText gone;
  EXPECT_FALSE(gone.Open(texts, places[0], &problem) && gone.Load(&problem));
}

TEST(SubcorpusTest, FiltersOnMetadataAndNames) {
  CorpusDocument d;
  d.path = "/corpus/novels/emma.txt";
  d.metadata = {{"year", "1815"}, {"genre", "Novel"}, {"note", ""}};
  const struct {
    const char* filter;
    bool passes;
  } kCases[] = {
      {"year>=1800", true},    {"year>=1900", false},
      {"year<1816", true},     {"year=1815", true},
      {"year!=1815", false},   {"year>999", true},  // as numbers, not text
      {"genre=Novel", true},   {"genre=novel", false},
      {"genre~NOV", true},     {"author!=x", true},
      {"author=x", false},     {"note=", true},
      {"name=emma.txt", true}, {"folder=/corpus/novels", true},
      {"path~/novels/", true},
  };
  for (const auto& c : kCases) {
    DocumentFilter f;
    std::string problem;
    ASSERT_TRUE(ParseDocumentFilter(c.filter, &f, &problem)) << c.filter;
    EXPECT_EQ(PassesFilter(f, d), c.passes) << c.filter;
  }
  DocumentFilter f;
  std::string problem;
  for (const char* bad : {"year", "=1900", " >= 3"}) {
    EXPECT_FALSE(ParseDocumentFilter(bad, &f, &problem)) << bad;
    EXPECT_NE(problem.find("is not a filter"), std::string::npos);
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
