#include <gtest/gtest.h>

#include "support/TestProgram.h"
#include "ui/Program.h"
#include "ui/Timers.h"

namespace quillmoor {
namespace {

TEST(FormatDurationTest, ShortForm) {
  EXPECT_EQ(FormatDuration(22, false, false), "22s");
  EXPECT_EQ(FormatDuration(3600, false, false), "1h 0m 0s");
  EXPECT_EQ(FormatDuration(86400 + 5, false, false), "1d 0h 0m 5s");
  EXPECT_EQ(FormatDuration(61, true, false), "1 minute 1 second");
  EXPECT_EQ(FormatDuration(7322, true, true), "2 hours 2 minutes");
}

using TimersTest = testing::ProgramTest;

TEST_F(TimersTest, Timer2CountsTheElapsedTimeWhileARunSaysSo) {
  p.lngNumWords = 12345;
  Timer2_Timer(p);
  EXPECT_EQ(p.lngSecondsElapsed, 0);  // not running
  p.blnElapsedTimeRunning = true;
  Timer2_Timer(p);
  Timer2_Timer(p);
  EXPECT_EQ(p.frmMain.lblTimeElapsed.caption, "");  // shown from the third second on
  EXPECT_EQ(p.frmMain.lblNumberOfWords.caption, "12,345 words");
  Timer2_Timer(p);
  EXPECT_EQ(p.frmMain.lblTimeElapsed.caption, "Time elapsed: 3s");
}

TEST_F(TimersTest, Timer1KeepsTheFileRowsCurrent) {
  MainControls& m = p.frmMain;
  m.txbFile[0].text = dir.Write("in.txt", std::string(2048, 'a'));
  m.txbFile[1].text = dir.path() + "/results-not-yet.txt";
  m.txbFile[2].text = dir.Write("keys.txt", "alpha\r\n");
  m.cmdClearFile[0].enabled = false;
  Timer1_Timer(p);
  EXPECT_FALSE(m.chkUTF8[0].enabled);  // followed the Clear button as it was
  EXPECT_TRUE(m.cmdClearFile[0].enabled);
  Timer1_Timer(p);
  EXPECT_TRUE(m.chkUTF8[0].enabled);
  EXPECT_FALSE(m.cmdViewFile[1].enabled);  // no such file
  EXPECT_TRUE(m.cmdViewFile[2].enabled);
  EXPECT_EQ(m.lblInputFilesize.caption, "Input filesize: 2.00 Kb");
  EXPECT_FALSE(m.lblSearchResultsFilesize.visible);
  m.txbFile[0].text = std::string(71, 'x');  // a long name is its own tool tip
  Timer1_Timer(p);
  EXPECT_EQ(m.txbFile[0].toolTip, m.txbFile[0].text);
  // The concordance labels follow the file that was made.
  p.strConcordanceFile = dir.Write("in.txt.oxn.con_a5.txt", std::string(100, 'c'));
  p.blnConcordanceFileCreated = true;
  Timer1_Timer(p);
  EXPECT_EQ(m.lblConcordanceFilesize.caption, "Concordance filesize: 100 bytes");
  EXPECT_TRUE(m.lblConcordanceFile[1].visible);
}

}  // namespace
}  // namespace quillmoor
