// The analyses: tokens, collocates, n-grams and dispersion, against values worked by
// hand and against literal recounts on random documents.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "analyses/AnalysisTable.h"
#include "analyses/Collocates.h"
#include "analyses/Dispersion.h"
#include "analyses/Ngrams.h"
#include "analyses/Tokens.h"
#include "shared/Cp1252.h"
#include "support/ScanText.h"
#include "support/ScannedText.h"
#include "support/ScriptedHost.h"
#include "ui/Program.h"

namespace quillmoor {
namespace {

using Scanned = testing::ScannedText;

std::vector<std::string> TokenWords(const TokenStream& tokens) {
  std::vector<std::string> words;
  for (const Token& t : tokens.tokens())
    words.push_back((*tokens.source().words)[static_cast<size_t>(t.word)].strWord);
  return words;
}

TEST(TokensTest, HyphenatedWordsAreOneTokenAndLinesCount) {
  // Words are three letters or more, and no Roman numerals.
  Scanned s("Our well-known rivers / ran well. / The well-known mill is here.");
  TokenStream tokens(s.source());
  EXPECT_EQ(TokenWords(tokens), (std::vector<std::string>{"our", "well-known", "river", "ran",
                                                          "well", "the", "well-known", "here"}));
  EXPECT_EQ(tokens[3].line, 2);
  EXPECT_EQ(tokens[5].line, 3);
  EXPECT_EQ(tokens.Lines(), 3);
  EXPECT_EQ(tokens.CountOf(s.Index("well-known")), 2);
  EXPECT_EQ(tokens.CountOf(s.Index("known")), 0);  // only ever a part
  // A part's occurrence (entered at the word's first occurrence) stands for the token
  // holding it.
  EXPECT_EQ(tokens.TokensOf({s.Index("known"), s.Index("well")}), (std::vector<size_t>{1, 4}));
  EXPECT_EQ(tokens.TokenAt(tokens[1].position + 6), 1u);
}

// The collocates of "cat" in a ten-word text, window 1L,1R, worked by hand:
// tokens  0 the 1 cat 2 sat 3 upon 4 the 5 mat 6 the 7 cat 8 ran 9 away
// windows: {the, sat} around token 1 and {the, ran} around token 7, so W = 4, N = 10,
// f(cat) = 2. "the": O = 2 (both left), f(the) = 3, E = W f / N = 4 * 3 / 10 = 1.2.
TEST(CollocatesTest, MeasuresWorkedByHand) {
  Scanned s("The cat sat upon the mat, the cat ran away.");
  TokenStream tokens(s.source());
  ASSERT_EQ(tokens.size(), 10u);
  CollocateCounts counts;
  const std::vector<Collocate> found =
      FindCollocates(tokens, tokens.TokensOf({s.Index("cat")}), s.Every(), {1, 1}, 1,
                     CollocationMeasure::kLogDice, &counts);
  EXPECT_EQ(counts.nodes, 2);
  EXPECT_EQ(counts.window, 4);
  EXPECT_EQ(counts.tokens, 10);
  ASSERT_EQ(found.size(), 3u);  // the, sat, ran
  const Collocate& the = found[0];
  EXPECT_EQ(the.word, s.Index("the"));
  EXPECT_EQ(the.frequency, 2);
  EXPECT_EQ(the.left, 2);
  EXPECT_EQ(the.right, 0);
  EXPECT_EQ(the.total, 3);
  EXPECT_NEAR(the.mi, std::log2(2 / 1.2), 1e-12);                      // 0.737
  EXPECT_NEAR(the.t, (2 - 1.2) / std::sqrt(2.0), 1e-12);               // 0.566
  EXPECT_NEAR(the.logDice, 14 + std::log2(2.0 * 2 / (2 + 3)), 1e-12);  // 13.678
  // Two by two: O11 = 2, O12 = W - O = 2, O21 = f(the) - O = 1, O22 = 10 - 4 - 3 + 2 = 5;
  // E11 = 4 * 3 / 10, E12 = 4 * 7 / 10, E21 = 6 * 3 / 10, E22 = 6 * 7 / 10.
  const double ll = 2 * (2 * std::log(2 / 1.2) + 2 * std::log(2 / 2.8) + 1 * std::log(1 / 1.8) +
                         5 * std::log(5 / 4.2));  // 1.266
  EXPECT_NEAR(the.ll, ll, 1e-12);
  // "sat": O = 1, f = 1, E = 0.4: logDice 14 + log2(2 / 3) is below the's.
  EXPECT_NEAR(found[1].logDice, 14 + std::log2(2.0 / 3), 1e-12);
  // Sorted by MI instead, the single words (log2(1 / 0.4) = 1.32) come first.
  const std::vector<Collocate> byMi = FindCollocates(tokens, tokens.TokensOf({s.Index("cat")}),
                                                     s.Every(), {1, 1}, 1, CollocationMeasure::kMi);
  EXPECT_NEAR(byMi[0].mi, std::log2(1 / 0.4), 1e-12);
  // Candidates and the minimum frequency leave words out; the document's start bounds
  // a window.
  std::vector<bool> noThe = s.Every();
  noThe[static_cast<size_t>(s.Index("the"))] = false;
  EXPECT_EQ(FindCollocates(tokens, tokens.TokensOf({s.Index("cat")}), noThe, {1, 1}, 1,
                           CollocationMeasure::kMi)
                .size(),
            2u);
  EXPECT_EQ(FindCollocates(tokens, tokens.TokensOf({s.Index("cat")}), s.Every(), {1, 1}, 2,
                           CollocationMeasure::kMi)
                .size(),
            1u);
  FindCollocates(tokens, tokens.TokensOf({s.Index("the")}), s.Every(), {3, 0}, 1,
                 CollocationMeasure::kMi, &counts);
  EXPECT_EQ(counts.window, 0 + 3 + 3);  // "the" at 0, 4 and 6: nothing before the first
  EXPECT_EQ(NodesWithCollocate(tokens, tokens.TokensOf({s.Index("cat")}), s.Index("ran"), {1, 1}),
            (std::vector<size_t>{7}));
}

TEST(CollocatesTest, WindowsAndMeasuresParse) {
  CollocateWindow w;
  EXPECT_TRUE(ParseCollocateWindow("3L,0R", &w));
  EXPECT_EQ(w, (CollocateWindow{3, 0}));
  EXPECT_TRUE(ParseCollocateWindow("4r", &w));
  EXPECT_EQ(w, (CollocateWindow{0, 4}));
  EXPECT_EQ(CollocateWindowName({5, 5}), "5L,5R");
  for (const char* bad : {"", "0L,0R", "21L", "5L,5L", "5", "L", "5X", "5L,", "-1L", "5L,5R,1L"}) {
    EXPECT_FALSE(ParseCollocateWindow(bad, &w)) << bad;
  }
  CollocationMeasure m;
  EXPECT_TRUE(ParseMeasure("LogDice", &m));
  EXPECT_EQ(m, CollocationMeasure::kLogDice);
  EXPECT_FALSE(ParseMeasure("dice", &m));
}

// A random document of known words, some hyphenated, some sentences and line breaks:
// the tokens it must give, and the line each lies on.
struct RandomDocument {
  std::string text;
  std::vector<std::string> words;
  std::vector<int32_t> lines;
};

RandomDocument MakeDocument(std::mt19937& random) {
  static const char* kWords[] = {"alpha", "beta",  "Gamma", "delta", "well-known",
                                 "well",  "known", "river", "the"};
  RandomDocument d;
  int32_t line = 1;
  const int n = 1 + static_cast<int>(random() % 60);
  for (int i = 0; i < n; ++i) {
    const std::string word = kWords[random() % 9];
    if (i > 0) {
      const unsigned gap = random() % 8;
      d.text += gap == 0 ? " / " : gap == 1 ? ". " : gap == 2 ? ", " : " ";
      if (gap == 0) ++line;
    }
    d.text += word;
    std::string lower = word;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    d.words.push_back(lower);
    d.lines.push_back(line);
  }
  return d;
}

TEST(AnalysesTest, RecountsOnRandomDocuments) {
  std::mt19937 random(17);
  for (int round = 0; round < 60; ++round) {
    const RandomDocument d = MakeDocument(random);
    Scanned s(d.text);
    TokenStream tokens(s.source());
    ASSERT_EQ(TokenWords(tokens), d.words) << d.text;
    for (size_t i = 0; i < tokens.size(); ++i) ASSERT_EQ(tokens[i].line, d.lines[i]) << d.text;
    // Collocates: every (node, other) pair of tokens within the window, counted.
    const std::string node = round % 2 ? "alpha" : "gamma";
    const CollocateWindow window{static_cast<int>(random() % 4),
                                 1 + static_cast<int>(random() % 4)};
    std::map<std::string, std::pair<int, int>> pairs;  // word -> left, right
    int64_t slots = 0;
    for (size_t i = 0; i < d.words.size(); ++i) {
      if (d.words[i] != node) continue;
      for (size_t j = 0; j < d.words.size(); ++j) {
        const long distance = static_cast<long>(j) - static_cast<long>(i);
        if (distance < 0 && -distance <= window.left) ++pairs[d.words[j]].first, ++slots;
        if (distance > 0 && distance <= window.right) ++pairs[d.words[j]].second, ++slots;
      }
    }
    CollocateCounts counts;
    const std::vector<Collocate> found =
        FindCollocates(tokens, tokens.TokensOf({s.Index(node)}), s.Every(), window, 1,
                       CollocationMeasure::kLl, &counts);
    EXPECT_EQ(counts.window, slots);
    std::map<std::string, std::pair<int, int>> counted;
    for (const Collocate& c : found)
      counted[s.p.arrWords[static_cast<size_t>(c.word)].strWord] = {c.left, c.right};
    EXPECT_EQ(counted, pairs) << d.text;
    for (size_t k = 1; k < found.size(); ++k) EXPECT_GE(found[k - 1].ll, found[k].ll);
    // N-grams: every run of n words (on one line, when asked), counted.
    const NgramOptions options{2 + static_cast<int>(random() % 3), round % 3 != 0, 1};
    std::map<std::string, int> grams;
    for (size_t i = 0; i + static_cast<size_t>(options.size) <= d.words.size(); ++i) {
      if (!options.acrossLines && d.lines[i] != d.lines[i + static_cast<size_t>(options.size) - 1])
        continue;
      std::string gram;
      for (int k = 0; k < options.size; ++k)
        gram += (k ? " " : "") + d.words[i + static_cast<size_t>(k)];
      ++grams[gram];
    }
    std::map<std::string, int> counted2;
    const std::vector<Ngram> ngrams = FindNgrams(tokens, options, s.Every(), {});
    for (const Ngram& g : ngrams) {
      EXPECT_TRUE(counted2.emplace(NgramText(tokens, g), g.frequency).second);
      EXPECT_EQ(static_cast<int32_t>(NgramOccurrences(tokens, g, options, s.Every()).size()),
                g.frequency);
    }
    EXPECT_EQ(counted2, grams) << d.text;
    for (size_t k = 1; k < ngrams.size(); ++k)
      EXPECT_GE(ngrams[k - 1].frequency, ngrams[k].frequency);
  }
}

TEST(NgramsTest, NodesPlacesAndBreaks) {
  Scanned s("The lord said, the lord was well-known. / Lord God.");
  TokenStream tokens(s.source());
  std::vector<bool> usable = s.Every();
  usable[static_cast<size_t>(s.Index("well-known"))] = false;  // a word the run does not allow
  std::vector<bool> nodes(usable.size(), false);
  nodes[static_cast<size_t>(s.Index("lord"))] = true;
  const std::vector<Ngram> found = FindNgrams(tokens, {2, false, 1}, usable, nodes);
  std::map<std::string, std::pair<int32_t, std::string>> byText;
  for (const Ngram& g : found)
    byText[NgramText(tokens, g) + "@" + NgramPlaceName(g)] = {g.frequency, ""};
  // "the lord"@right, "lord said", "lord was" and "lord god"@left; "well-known lord"
  // spans a break (and holds a word not allowed).
  EXPECT_EQ(byText.size(), 4u);
  EXPECT_EQ(byText["the lord@right"].first, 2);
  EXPECT_EQ(found[0].firstLine, 1);
  // Across lines, and "said the" needs no node; "well-known" still breaks.
  const std::vector<Ngram> all = FindNgrams(tokens, {2, true, 1}, usable, {});
  std::vector<std::string> texts;
  for (const Ngram& g : all) texts.push_back(NgramText(tokens, g));
  EXPECT_EQ(texts, (std::vector<std::string>{"the lord", "lord said", "said the", "lord was",
                                             "lord god"}));
  EXPECT_EQ(all[4].firstLine, 2);
  EXPECT_EQ(all[0].lastLine, 1);
  EXPECT_EQ(FindNgrams(tokens, {2, true, 2}, usable, {}).size(), 1u);
}

TEST(DispersionTest, MeasuresFollowTheirDefinitions) {
  // Gries (2008): five parts of 9, 10, 10, 10 and 11 words, the element occurring 1, 2,
  // 3, 4 and 5 times: DP 0.18.
  EXPECT_NEAR(GriesDP({1, 2, 3, 4, 5}, {0.18, 0.2, 0.2, 0.2, 0.22}), 0.18, 1e-12);
  // Juilland's D: mean 3, population sd sqrt(2), so 1 - (sqrt(2) / 3) / sqrt(4).
  EXPECT_NEAR(JuillandD({1, 2, 3, 4, 5}), 1 - (std::sqrt(2.0) / 3) / 2, 1e-12);  // 0.764
  EXPECT_DOUBLE_EQ(JuillandD({2, 2, 2}), 1);
  EXPECT_NEAR(JuillandD({0, 0, 6, 0}), 0, 1e-12);
  EXPECT_EQ(PartBounds(23), (std::array<size_t, 11>{0, 3, 6, 9, 11, 13, 15, 17, 19, 21, 23}));
  // Twenty tokens, two per part: "fox" twice in part 1, once in part 10.
  std::string text = "fox fox";
  for (int i = 0; i < 17; ++i) text += " dog";
  text += " fox.";
  Scanned s(text);
  TokenStream tokens(s.source());
  const std::vector<DispersionRow> rows = Disperse(tokens, {s.Index("fox"), s.Index("nothing")});
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].parts, (std::array<int32_t, 10>{2, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
  // DP: 0.5 * (|2/3 - 0.1| + 8 * 0.1 + |1/3 - 0.1|) = 0.5 * (0.5667 + 0.8 + 0.2333) = 0.8
  EXPECT_NEAR(rows[0].griesDP, 0.8, 1e-12);
  // D: mean 0.3, sd sqrt((1.7^2 + 0.7^2 + 8 * 0.3^2) / 10) = sqrt(0.41)
  EXPECT_NEAR(rows[0].juillandD, 1 - (std::sqrt(0.41) / 0.3) / 3, 1e-12);
  // The plot: one tick per occurrence, found again by where it was drawn.
  DispersionPlot plot(tokens, rows, "t");
  size_t ticks = 0;
  for (const PlotItem& item : plot.items())
    ticks += item.kind == PlotItem::kLine && item.color == 0x1f4e9c;
  EXPECT_EQ(ticks, 3u);
  size_t row = 9, token = 0;
  const double xLast =
      224 + 660.0 * (tokens[19].position - 1) / static_cast<double>(tokens.source().text.size());
  ASSERT_TRUE(plot.TickAt(xLast + 2, 44 + 10, &row, &token));
  EXPECT_EQ(row, 0u);
  EXPECT_EQ(token, 19u);
  EXPECT_FALSE(plot.TickAt(xLast - 40, 44 + 10, &row, &token));
  EXPECT_FALSE(plot.TickAt(xLast, 44 + 40, &row, &token));  // below the only row
}

TEST(AnalysisTableTest, FormatsAndSorts) {
  std::string text;
  ASSERT_TRUE(Utf8ToCp1252("Café au lait, café noir, café crème.", &text));
  Scanned s(text);
  TokenStream tokens(s.source());
  AnalysisTable table =
      DispersionTable(tokens, Disperse(tokens, {s.Index("noir"), s.Index("caf\xe9")}));
  const std::vector<size_t> order = SortedOrder(table, 1, true);
  EXPECT_EQ(order, (std::vector<size_t>{1, 0}));
  EXPECT_EQ(SortedOrder(table, 0, false), (std::vector<size_t>{1, 0}));  // "café" < "noir"
  std::string out;
  ExportTable(
      table, KwicFormat::kCsv, [&](std::string_view t) { out += t; }, &order);
  EXPECT_EQ(out.substr(0, out.find("\r\n")),
            "word,frequency,juilland_d,gries_dp,part1,part2,part3,part4,part5,part6,part7,part8,"
            "part9,part10");
  EXPECT_NE(out.find("\r\ncafé,3,"), std::string::npos) << out;
  out.clear();
  ExportTable(
      table, KwicFormat::kText, [&](std::string_view t) { out += t; }, &order);
  EXPECT_EQ(out.substr(0, out.find('\n')).find("frequency"),
            6u);  // "word  frequency": "café" is 4 wide
  out.clear();
  ExportTable(
      table, KwicFormat::kJsonl, [&](std::string_view t) { out += t; }, &order);
  EXPECT_EQ(out.substr(0, out.find(',', 20)), "{\"word\":\"café\",\"frequency\":3");
}

}  // namespace
}  // namespace quillmoor
