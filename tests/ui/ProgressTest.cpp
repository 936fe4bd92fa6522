#include <gtest/gtest.h>

#include <random>

#include "support/ScriptedHost.h"
#include "ui/Program.h"
#include "ui/Progress.h"

namespace quillmoor {
namespace {

std::string Bar(Program& p, int32_t done, int32_t total, int32_t minimum = 0) {
  SetTotalNumOccurrencesForFileProgressBar(p);
  UpdateProgressBar(p, done, total, minimum);
  return p.frmMain.lblTotalNumOccurrences.caption;
}

TEST(ProgressTest, TheBarRoundsHalfToEven) {
  ScriptedHost host;
  Program p(host);
  EXPECT_EQ(Bar(p, 1, 80), "[>" + std::string(40, ' ') + "]");   // 0.5 rounds to 0
  EXPECT_EQ(Bar(p, 3, 80), "[->" + std::string(38, ' ') + "]");  // 1.5 rounds to 2
  EXPECT_EQ(Bar(p, 5, 80), "[->" + std::string(38, ' ') + "]");  // 2.5 rounds to 2
  EXPECT_EQ(Bar(p, 80, 80), "[" + std::string(39, '-') + ">]");
  EXPECT_EQ(Bar(p, 100, 80), "[" + std::string(49, '-') + ">]");  // past the end
  // Below the smallest total worth drawing nothing changes.
  EXPECT_EQ(Bar(p, 50, 100, 10240), "[" + std::string(40, ' ') + "]");
  ResetProgressLabel(p);
  EXPECT_EQ(p.frmMain.lblTotalNumOccurrences.fontName, "Arial");
}

// A scan calls the bar only from NextProgressBarStep on: the captions it draws are
// those of a call at every word, on random totals and rising positions.
TEST(ProgressTest, SteppedCallsDrawWhatACallAtEveryWordDraws) {
  std::mt19937 rng(9);
  for (int round = 0; round < 100; ++round) {
    const int32_t total = round < 5 ? 10239 + round : static_cast<int32_t>(1 + rng() % 400000);
    std::vector<int32_t> positions;
    for (int32_t at = 1; at <= total;
         at += 1 + static_cast<int32_t>(rng() % (round % 3 == 0 ? 3 : 400))) {
      positions.push_back(at);
    }
    ScriptedHost everyHost, steppedHost;
    Program every(everyHost), stepped(steppedHost);
    for (Program* q : {&every, &stepped}) SetTotalNumOccurrencesForFileProgressBar(*q);
    std::vector<std::string> everyCaptions, steppedCaptions;
    int32_t next = 0;
    for (int32_t at : positions) {
      UpdateProgressBar(every, at, total, 10240);
      if (everyCaptions.empty() ||
          everyCaptions.back() != every.frmMain.lblTotalNumOccurrences.caption) {
        everyCaptions.push_back(every.frmMain.lblTotalNumOccurrences.caption);
      }
      if (at >= next) {
        UpdateProgressBar(stepped, at, total, 10240);
        next = NextProgressBarStep(stepped, total, 10240);
        if (steppedCaptions.empty() ||
            steppedCaptions.back() != stepped.frmMain.lblTotalNumOccurrences.caption) {
          steppedCaptions.push_back(stepped.frmMain.lblTotalNumOccurrences.caption);
        }
      }
    }
    ASSERT_EQ(steppedCaptions, everyCaptions) << "total " << total;
    ASSERT_EQ(steppedHost.refreshed, everyHost.refreshed) << "total " << total;
  }
}

TEST(ProgressTest, WordCountLabels) {
  ScriptedHost host;
  Program p(host);
  p.frmMain.lblNumberOfWords.caption = "Words: 3";
  p.frmMain.lblTimeElapsed.caption = "Time elapsed: 5s";
  ConcealNumWords(p, false);
  EXPECT_FALSE(p.frmMain.lblNumberOfWords.visible);
  EXPECT_EQ(p.frmMain.lblTimeElapsed.caption, "Time elapsed: 5s");
  ConcealNumWords(p, true);
  EXPECT_EQ(p.frmMain.lblTimeElapsed.caption, "");
  EraseNumWords(p);
  EXPECT_EQ(p.frmMain.lblNumberOfWords.caption, "");
}

}  // namespace
}  // namespace quillmoor
