// The explorer's lines: cuts, sorts against a literal reference, the query against
// the keyword search's own selection, and the exports.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/WordTable.h"
#include "explore/KwicExport.h"
#include "explore/KwicRows.h"
#include "output/KeywordSearch.h"
#include "shared/Cp1252.h"
#include "support/ScanText.h"
#include "support/ScannedText.h"
#include "support/ScriptedHost.h"
#include "ui/KeywordBoxes.h"
#include "ui/Program.h"

namespace quillmoor {
namespace {

using Scanned = testing::ScannedText;

TEST(KwicRowsTest, CutsKeywordsAsWrittenAndLines) {
  Scanned s(
      "The Rivers ran past the old mill. / The well-known river, \"quoth he\", ran on.");  // as
                                                                                           // read
  KwicRows rows(s.source());
  rows.Select({s.Index("river"), s.Index("known")});
  ASSERT_EQ(rows.size(), 3u);
  const KwicCut first = rows.Cut(rows.row(0), 2);
  EXPECT_EQ(first.left, "The ");       // the text's start
  EXPECT_EQ(first.keyword, "Rivers");  // a plural, as written
  EXPECT_EQ(first.right, " ran past");
  EXPECT_EQ(rows.LineOf(rows.row(0).position), 1);
  const KwicCut part = rows.Cut(rows.row(1), 1);
  EXPECT_EQ(part.keyword, "known");  // a hyphenated word's part
  EXPECT_EQ(part.left, "well-");
  const KwicCut last = rows.Cut(rows.row(2), 3);
  EXPECT_EQ(last.left, "mill. / The well-known ");
  EXPECT_EQ(last.right, ", \"quoth he\", ran");
  EXPECT_EQ(rows.LineOf(rows.row(2).position), 2);
  std::vector<SortLevel> levels;
  EXPECT_TRUE(ParseSortLevels("r1,L2,pos", &levels));
  EXPECT_EQ(levels, (std::vector<SortLevel>{
                        {SortLevel::kRight, 1}, {SortLevel::kLeft, 2}, {SortLevel::kPosition, 0}}));
  for (const char* bad : {"", "R6", "R1,,L1", "R1,R2,R3,R4", "X"})
    EXPECT_FALSE(ParseSortLevels(bad, &levels)) << bad;
}

// The literal reading of a sort: the text split into its context words, each row's
// neighbours found by counting words from its keyword, rows compared key by key.
std::vector<KwicRow> ReferenceSort(const KwicRows& rows, const std::vector<SortLevel>& levels) {
  const std::string_view text = rows.text();
  std::vector<TextSpan> words;
  for (size_t i = 0; i < text.size();) {
    if (!IsContextWordChar(text[i])) {
      ++i;
      continue;
    }
    const size_t begin = i;
    while (i < text.size() && IsContextWordChar(text[i])) ++i;
    words.push_back({begin, i - begin});
  }
  auto keyOf = [&](const KwicRow& row, const SortLevel& level) -> std::string {
    if (level.kind == SortLevel::kKeyword) return rows.word(row).strSortKey;
    const size_t begin = rows.Keyword(row).begin;
    const auto at = std::find_if(words.begin(), words.end(),
                                 [&](const TextSpan& w) { return w.begin == begin; });
    const long k =
        (at - words.begin()) + (level.kind == SortLevel::kLeft ? -level.distance : level.distance);
    if (k < 0 || k >= static_cast<long>(words.size())) return "";
    return SortKeyOf(
        text.substr(words[static_cast<size_t>(k)].begin, words[static_cast<size_t>(k)].size));
  };
  std::vector<KwicRow> sorted = rows.rows();
  std::sort(sorted.begin(), sorted.end(), [](const KwicRow& a, const KwicRow& b) {
    return a.position != b.position ? a.position < b.position : a.word < b.word;
  });
  std::stable_sort(sorted.begin(), sorted.end(), [&](const KwicRow& a, const KwicRow& b) {
    for (const SortLevel& level : levels) {
      if (level.kind == SortLevel::kPosition) return false;  // document order already
      const std::string ka = keyOf(a, level), kb = keyOf(b, level);
      if (ka != kb) return ka < kb;
    }
    return false;
  });
  return sorted;
}

TEST(KwicRowsTest, SortsAgreeWithTheLiteralReading) {
  std::mt19937 random(11);
  const std::vector<std::string> vocabulary = {"river",    "River", "mill", "Caf\xE9", "cafe",
                                               "\xC9tude", "etude", "old",  "past",    "stone",
                                               "bridge",   "zebra", "4x4",  "ran"};
  const std::vector<std::string> marks = {" ", " ", " ", ", ", ". ", "; ", " / ", " \"", "\" "};
  for (int round = 0; round < 40; ++round) {
    std::string text;
    const int n = std::uniform_int_distribution<int>(1, 120)(random);
    for (int i = 0; i < n; ++i) {
      text += vocabulary[std::uniform_int_distribution<size_t>(0, vocabulary.size() - 1)(random)];
      text += marks[std::uniform_int_distribution<size_t>(0, marks.size() - 1)(random)];
    }
    Scanned s(text);
    KwicRows rows(s.source());
    rows.Select(s.All(), round % 2 == 0);      // word by word, or in document order
    for (int again = 0; again < 2; ++again) {  // a sort of rows that an earlier sort left
      std::vector<SortLevel> levels;
      for (int k = std::uniform_int_distribution<int>(1, 3)(random); k > 0; --k) {
        const int kind = std::uniform_int_distribution<int>(0, 3)(random);
        levels.push_back({static_cast<SortLevel::Kind>(kind),
                          kind == SortLevel::kLeft || kind == SortLevel::kRight
                              ? std::uniform_int_distribution<int>(1, kMaxSortDistance)(random)
                              : 0});
      }
      const std::vector<KwicRow> expected = ReferenceSort(rows, levels);
      if (levels == std::vector<SortLevel>{{SortLevel::kKeyword, 0}} && again == 0) {
        rows.SelectInWordOrder(s.All());
      } else {
        rows.Sort(levels);
      }
      ASSERT_EQ(rows.size(), expected.size());
      for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(rows.row(i).position, expected[i].position)
            << round << " row " << i << " of " << text;
        ASSERT_EQ(rows.row(i).word, expected[i].word) << round;
      }
    }
  }
}

TEST(KwicRowsTest, TheQuerySelectsWhatTheKeywordSearchSelects) {
  Scanned s("The river ran past the old mill; rivers, a riverbank, 1984 and 4x4 caf\xE9s.");
  s.p.frmParams.chkAllowWordsWithNumerals.value = 1;
  for (const char* query :
       {"riv*", "?at", "r*r", "*", "19##", "caf\xE9 old+mill", "zebra", "riv*+past ma*"}) {
    s.p.frmMain.txbExtraKeywords.text = Cp1252ToUtf8(query);
    ASSERT_TRUE(GetExtraKeywords(s.p)) << query;
    BuildKeywordHeads(s.p);
    const ExploreQuery explore(query);
    for (int32_t i = 1; i <= s.p.lngNumWords; ++i) {
      const std::string& w = s.p.arrWords[static_cast<size_t>(i)].strWord;
      EXPECT_EQ(explore.SelectsWord(w), IsSearchWord(s.p, w)) << query << " " << w;
    }
  }
  // A tail keeps the rows with a matching word in their context.
  KwicRows rows(s.source());
  rows.Select({s.Index("river")});
  const ExploreQuery tail("river+past");
  rows.KeepRowsIf([&](const KwicRow& row) { return tail.KeepsRow(rows, row, 2); });
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows.Cut(rows.row(0), 1).keyword, "river");
}

TEST(KwicExportTest, FieldsAreQuotedForEachFormat) {
  EXPECT_EQ(CsvField("plain text"), "plain text");
  EXPECT_EQ(CsvField("he said, \"go\""), "\"he said, \"\"go\"\"\"");
  EXPECT_EQ(JsonString("a \"b\" \\ \x01"), "\"a \\\"b\\\" \\\\ \\u0001\"");
  Scanned s("The river, \"quoth he\", ran.");
  KwicRows rows(s.source());
  rows.Select({s.Index("river")});
  std::string csv, text;
  ExportKwic(rows, 2, KwicFormat::kCsv, [&](std::string_view piece) { csv += piece; });
  EXPECT_EQ(csv,
            "left,keyword,right,word,frequency,line,offset\r\nThe ,river,\", \"\"quoth "
            "he\",river,1,1,6\r\n");
  ExportKwic(rows, 1, KwicFormat::kText, [&](std::string_view piece) { text += piece; });
  EXPECT_EQ(text, "The   river  , \"quoth\n");
}

// Chunks formatted on several threads come out as one pass writes them.
TEST(KwicExportTest, TheParallelExportEqualsTheSequentialOne) {
  std::string book;
  for (int i = 0; i < 20000; ++i)
    book += (i % 7 == 0 ? "The river ran, " : i % 3 ? "old bridge " : "\"stone\" / ");
  Scanned s(book);
  KwicRows rows(s.source());
  rows.Select(s.All());
  rows.Sort({{SortLevel::kRight, 1}});
  ASSERT_GT(rows.size(), 32768u);  // more than one chunk
  for (KwicFormat format :
       {KwicFormat::kText, KwicFormat::kCsv, KwicFormat::kJsonl, KwicFormat::kHtml}) {
    std::string one, many;
    ExportKwic(rows, 3, format, [&](std::string_view piece) { one += piece; });
    ExportKwicInParallel(
        rows, 3, format, [&](std::string_view piece) { many += piece; }, 3);
    EXPECT_TRUE(one == many) << static_cast<int>(format);
  }
  // Rows made key by key as the export goes equal the rows selected in word order.
  rows.SelectInWordOrder(s.All());
  WordOrderRows byKey(s.source(), s.All());
  EXPECT_EQ(byKey.Total(), rows.size());
  std::string whole, streamed;
  ExportKwic(rows, 2, KwicFormat::kTsv, [&](std::string_view piece) { whole += piece; });
  ExportKwicChunks(
      rows, [&byKey](std::vector<KwicRow>* out) { return byKey.Next(out); }, 2, KwicFormat::kTsv,
      [&](std::string_view piece) { streamed += piece; }, 2, 0);
  EXPECT_TRUE(whole == streamed);
}

}  // namespace
}  // namespace quillmoor
