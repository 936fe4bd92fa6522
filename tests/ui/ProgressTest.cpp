#include "ui/Progress.h"

#include <gtest/gtest.h>

#include "shared/Program.h"
#include "shared/ScriptedHost.h"

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
  EXPECT_EQ(Bar(p, 3, 80), "[->" + std::string(38, ' ') + "]");   // 1.5 rounds to 2
  EXPECT_EQ(Bar(p, 5, 80), "[->" + std::string(38, ' ') + "]");   // 2.5 rounds to 2
  EXPECT_EQ(Bar(p, 80, 80), "[" + std::string(39, '-') + ">]");
  EXPECT_EQ(Bar(p, 100, 80), "[" + std::string(49, '-') + ">]");  // past the end
  // Below the smallest total worth drawing nothing changes.
  EXPECT_EQ(Bar(p, 50, 100, 10240), "[" + std::string(40, ' ') + "]");
  ResetProgressLabel(p);
  EXPECT_EQ(p.frmMain.lblTotalNumOccurrences.fontName, "Arial");
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
