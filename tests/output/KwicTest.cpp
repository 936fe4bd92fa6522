#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <random>

#include "output/KeywordSearch.h"
#include "output/Kwic.h"
#include "support/Reference.h"
#include "support/ScanText.h"
#include "support/ScriptedHost.h"
#include "ui/KeywordBoxes.h"
#include "ui/Listing.h"

namespace quillmoor {
namespace {

using testing::ScanText;

// The entry of `word` in `text`, as the listing makes it.
class KwicTest : public ::testing::Test {
 protected:
  std::string Entry(const std::string& text, const std::string& word, int context,
                    bool frequencies = true, bool lineBreaks = false) {
    ScanText(p, text);
    p.intContextSize = static_cast<int16_t>(context);
    p.blnShowFrequencies = frequencies;
    p.blnShowLineBreaks = lineBreaks;
    for (int32_t i = 1; i <= p.lngNumWords; ++i) {
      if (p.arrWords[i].strWord != word) continue;
      std::string out;
      DisplayNextWord(p, i, out);
      return out;
    }
    return "(no such word)";
  }
  ScriptedHost host;
  Program p{host};
};

const std::string kRiver =
    "Once the old river ran past the mill, and the old river ran past the town; "
    "down by the river and then home.";

TEST_F(KwicTest, RepeatedContextsAreListedOnceWithTheirCount) {
  EXPECT_EQ(Entry(kRiver, "river", 2),
            "\r\n[river 3]\r\n... the old river ran past (x2)\r\n... by the river and then\r\n");
  EXPECT_EQ(Entry(kRiver, "river", 2, false),
            "\r\n[river]\r\n... the old river ran past\r\n... by the river and then\r\n");
}

TEST_F(KwicTest, LineBreakMarksAreKeptOrDropped) {
  // ScanText does not turn line breaks into " / "; the reader does. Use the marks.
  const std::string text = "down by the river / and then home";
  EXPECT_EQ(Entry(text, "river", 2, true, true),
            "\r\n[river 1]\r\n... by the river / and then\r\n");
  EXPECT_EQ(Entry(text, "river", 2, true, false), "\r\n[river 1]\r\n... by the river and then\r\n");
  // The slash is no word: with marks shown, two words still stand on each side.
  EXPECT_EQ(Entry("a b c / d river e / f g h", "river", 2, true, true),
            "\r\n[river 1]\r\n... c / d river e / f\r\n");
}

TEST_F(KwicTest, WindowsAtTheStartAndTheEndOfTheText) {
  // Near the start the window begins at character 1. For the first word the count of
  // words runs on into the right-hand side; for the second, the text's leading space
  // stays at the front of the line.
  EXPECT_EQ(Entry("river one two three four five six", "river", 2),
            "\r\n[river 1]\r\n... river one two three four\r\n");
  EXPECT_EQ(Entry("one river two three four five six", "river", 2),
            "\r\n[river 1]\r\n...  one river two three\r\n");
  // Near the end the line ends with a space and fewer words on the right.
  EXPECT_EQ(Entry("one two three four five river", "river", 2),
            "\r\n[river 1]\r\n... four five river \r\n");
  // A window that begins with "/": the count of spaces goes on past the wrap-around.
  EXPECT_EQ(Entry("see http://example.org/folder/page", "page", 1, true, true),
            "\r\n[page 1]\r\n... /page \r\n");
}

TEST_F(KwicTest, NoContextGivesOneLinePerWord) {
  EXPECT_EQ(Entry(kRiver, "river", 0), "river 3\r\n");
  EXPECT_EQ(p.frmMain.txbOutput.text, "river 3\r\n");
  EXPECT_EQ(Entry(kRiver, "river", 0, false), "river\r\n");
}

TEST_F(KwicTest, RepeatMarksCountUpAndStopAtOneThousand) {
  std::string text;
  for (int i = 0; i < 1005; ++i) text += "xx yy rain zz ww. ";
  EXPECT_EQ(Entry(text, "rain", 2), "\r\n[rain 1005]\r\n... xx yy rain zz ww. (x1000)\r\n");
  std::string three = "aa bb rain cc dd. aa bb rain cc dd. aa bb rain cc dd.";
  EXPECT_EQ(Entry(three, "rain", 2), "\r\n[rain 3]\r\n... aa bb rain cc dd. (x3)\r\n");
}

// The cut against its step-by-step reading on random texts of two kinds: any pieces
// (two spaces side by side, few spaces: the walks), and texts as normalisation leaves
// them (the common case, cut by the windows' bitmaps); long texts and wide contexts
// (windows of more than 1024 characters) now and then.
TEST(BuildContextLineTest, MatchesTheStepByStepCut) {
  std::mt19937 rng(8);
  const std::vector<std::string> pieces = {"a", "bb",  "ccc",  " ",  " ", " / ",
                                           "/", " (x", "word", "  ", "x", "/ "};
  const std::vector<std::string> words = {"a", "bb", "ccc", "word", "x", "(x3)", "longerword", "/"};
  const std::vector<std::string> gaps = {" ", " ", " ", " / ", "/", " /", "/ "};
  for (int round = 0; round < 40000; ++round) {
    const bool wide = round % 10 == 0;
    std::string text = " ";
    if (round % 2 == 0) {
      text += reference::RandomBytes(rng, pieces, 10 + rng() % (wide ? 900 : 120));
    } else {
      for (int n = 1 + static_cast<int>(rng() % (wide ? 400 : 60)); n > 0; --n) {
        text += words[rng() % words.size()] + gaps[rng() % gaps.size()];
      }
    }
    text += " ";
    const int C = 1 + static_cast<int>(rng() % (wide ? 30 : 9));
    const bool lineBreaks = rng() % 4 != 0;
    const int32_t p = 1 + static_cast<int32_t>(rng() % text.size());
    const size_t length = 1 + rng() % 10;
    ASSERT_EQ(BuildContextLine(text, p, length, C, lineBreaks),
              reference::BuildContextLine(text, p, length, C, lineBreaks))
        << "round " << round << " C " << C << " p " << p << " text [" << text << "]";
  }
}

TEST(EntryPipelineTest, MakesTheSameEntriesAsOneThreadInTheSameOrder) {
  std::mt19937 rng(3);
  std::string text;
  for (int i = 0; i < 20000; ++i) {
    text += "w" + std::to_string(rng() % 700) + (rng() % 9 == 0 ? " / " : " ");
  }
  ScriptedHost host;
  Program p(host);
  ScanText(p, text);
  for (bool frequencies : {true, false}) {
    p.intContextSize = static_cast<int16_t>(1 + rng() % 9);
    p.blnShowFrequencies = frequencies;
    p.blnShowLineBreaks = !frequencies;
    std::vector<int32_t> order;
    for (int32_t i = p.lngNumWords; i >= 1; --i) order.push_back(i);  // any order will do
    std::string expected;
    for (int32_t i : order) DisplayNextWord(p, i, expected);
    for (int workers : {1, 2, 4}) {
      EntryPipeline pipeline(p.arrWords, p.strLine1, ListingOptions(p), SearchOf(p), order,
                             workers);
      std::string got;
      for (size_t k = 0; k < order.size(); ++k) pipeline.Append(k, got);
      EXPECT_EQ(got, expected) << workers;
    }
  }
  // Search mode: the selected lines, the same way.
  p.frmMain.optCreate.value = false;
  p.keywordSelection = KeywordSelection({"w5", "w77"}, {"w1*", "w2*+w3*", "w4#+w5", "w6??"});
  p.intContextSize = 3;
  std::vector<int32_t> order;
  for (int32_t i = 1; i <= p.lngNumWords; ++i) order.push_back(i);
  std::string expected;
  for (int32_t i : order) DisplayNextWord(p, i, expected);
  EXPECT_NE(expected.find("[w77"), std::string::npos);
  EntryPipeline searching(p.arrWords, p.strLine1, ListingOptions(p), SearchOf(p), order, 3);
  std::string got;
  for (size_t k = 0; k < order.size(); ++k) searching.Append(k, got);
  EXPECT_EQ(got, expected);
  p.frmMain.optCreate.value = true;

  // Stopped after a few entries: the workers end with the pipeline.
  auto pipeline = std::make_unique<EntryPipeline>(p.arrWords, p.strLine1, ListingOptions(p),
                                                  SearchOf(p), order, 3);
  std::string some;
  pipeline->Append(0, some);
  pipeline->Append(1, some);
  pipeline.reset();
  EXPECT_FALSE(some.empty());
}

TEST(ContextLinesTest, BasesBeforeTheLastRepeatMark) {
  EXPECT_EQ(ContextBase("a (xb c (x2)"), "a (xb c");
  EXPECT_EQ(ContextBase("plain"), "plain");
}

TEST(ContextLinesTest, MatchesTheLiteralMergeOnRandomLines) {
  std::mt19937 rng(42);
  const std::vector<std::string> pieces = {"a", "b", " ", " (x", "2)", "(x", " (x2)", "c"};
  for (int round = 0; round < 3000; ++round) {
    const bool frequencies = rng() % 4 != 0;
    ContextLines fast;
    reference::LiteralContextLines literal;
    const int n = 1 + static_cast<int>(rng() % 40);
    for (int i = 0; i < n; ++i) {
      std::string line = reference::RandomBytes(rng, pieces, rng() % 4);
      fast.Merge(line, frequencies);
      literal.Merge(line, frequencies);
    }
    ASSERT_EQ(fast.lines(), literal.lines) << round;
    ASSERT_EQ(fast.repeatCounts(), literal.repeats) << round;
  }
}

}  // namespace
}  // namespace quillmoor
