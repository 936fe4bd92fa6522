#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "shared/FileSystem.h"
#include "shared/NumberFormat.h"
#include "support/Reference.h"
#include "support/TestProgram.h"
#include "ui/Defaults.h"
#include "ui/InputFile.h"
#include "ui/Program.h"
#include "ui/RunDriver.h"

namespace quillmoor {
namespace {

using testing::TempDir;

class RunDriverTest : public testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    p.blnStopAfterCounts = true;  // these tests look at the run up to the counts
    EnableControls(p, true);
  }
  // Names `text` (written to a file) as the input, as typing its name does.
  void Input(const std::string& text, const std::string& name = "doc.txt") {
    p.frmMain.txbFile[0].text = dir.Write(name, text);
    InputFileLostFocus(p, 0);
  }
  // Presses the Stop button from inside the run when `when` becomes true.
  void StopWhen(std::function<bool()> when, MsgResult answer = MsgResult::kYes) {
    host.onDoEvents = [this, when, answer] {
      if (pressed || !when()) return;
      pressed = true;
      host.answers.push_back(answer);
      cmdListWords_Click(p);
    };
  }
  std::string Output() const { return p.frmMain.txbOutput.text; }

  bool pressed = false;
};

std::string ManyWords(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) {
    std::string w = "w";
    for (int k = i; k > 0; k /= 26) w += static_cast<char>('a' + k % 26);
    text += w + "zz ";
  }
  return text + "\r\n";
}

TEST_F(RunDriverTest, ACompleteRunShowsItsStatusLinesAndCounts) {
  Input("The cat and the dog.\r\nThe end of the cats.\r\n");
  cmdListWords_Click(p);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Output(),
            "Reading the input file ...\r\nConverting UTF-8 ...\r\nNormalizing the text ...\r\n"
            "Converting the text to lower case ...\r\nScanning the words ...\r\n"
            "Marking the words to include ...\r\nCounting the words ...\r\n"
            "Ranking the words by frequency ...\r\n");
  EXPECT_EQ(p.strLine1, " The cat and the dog. / The end of the cats. ");
  EXPECT_EQ(p.lngNumWords, 5);  // and cat dog end the
  EXPECT_EQ(p.frmMain.lblNumberOfWords.caption, "Words: 5");
  EXPECT_EQ(p.frmMain.lblNumOccurrences.caption, "Occurrences: 9");
  EXPECT_EQ(p.frmMain.cmdListWords.caption, "Create concordance");
  EXPECT_TRUE(p.frmMain.cmdListWords.enabled);
}

TEST_F(RunDriverTest, ASecondPressListsAgainWithoutReading) {
  Input("one two three two\r\n");
  cmdListWords_Click(p);
  ASSERT_TRUE(p.blnWordsGot);
  p.frmParams.chkIgnoreInfrequentWords.value = 1;
  cmdListWords_Click(p);
  EXPECT_EQ(Output(),
            "Marking the words to include ...\r\nCounting the words ...\r\n"
            "Ranking the words by frequency ...\r\n");
  EXPECT_EQ(p.frmMain.lblNumberOfWords.caption, "Words: 1");  // only "two" reaches 2
  // Naming the input again clears the words: the next press reads it.
  InputFileLostFocus(p, 0);
  cmdListWords_Click(p);
  EXPECT_NE(Output().find("Reading the input file"), std::string::npos);
}

TEST_F(RunDriverTest, StoppingTheScan) {
  Input(ManyWords(40));
  StopWhen([this] { return p.lngNumWords == 12; });
  cmdListWords_Click(p);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].defaultButton, 2);
  EXPECT_EQ(host.Said(), "Stop: Do you really wish to stop?\n");
  EXPECT_EQ(Output(), "Stopped with 12 words found.");
  EXPECT_FALSE(p.blnWordsGot);  // the next press scans again
  EXPECT_FALSE(p.blnStop);
  pressed = false;
  StopWhen([this] { return p.lngNumWords == 1; });
  cmdListWords_Click(p);
  EXPECT_EQ(Output(), "Stopped with 1 word found.");
  // Answered No, the run goes on.
  pressed = false;
  StopWhen([this] { return p.lngNumWords == 5; }, MsgResult::kNo);
  cmdListWords_Click(p);
  EXPECT_EQ(p.lngNumWords, 40);
}

TEST_F(RunDriverTest, StoppingWithNoWordFound) {
  Input("... 12 34 !!! ...\r\n");
  // Pressed while the text is being normalised (the second chance after the status
  // line; at the first one the run still counts as reading): the scan finds nothing.
  int chances = 0;
  StopWhen([this, &chances] {
    return p.frmMain.txbOutput.text.find("Normalizing") != std::string::npos && ++chances == 2;
  });
  cmdListWords_Click(p);
  EXPECT_EQ(Output(), "Stopped with 0 words found.");
}

TEST_F(RunDriverTest, StoppingWhileReadingNeedsNoConfirmation) {
  Input(ManyWords(10));
  StopWhen([this] { return p.blnReadingFile; });
  cmdListWords_Click(p);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Output(), "Stopped when reading file.");
  EXPECT_FALSE(p.blnStop);
  EXPECT_FALSE(p.blnWordsGot);
}

TEST_F(RunDriverTest, BadInputEndsTheRunWithItsMessage) {
  cmdListWords_Click(p);
  EXPECT_EQ(host.Said(), "Quillmoor: Input file not specified.\n");
  Input("{\\rtf1 text}");
  host.Said();
  cmdListWords_Click(p);
  EXPECT_TRUE(host.Said().ends_with("is an RTF file.\n"));
  EXPECT_FALSE(p.blnWordsGot);
}

TEST_F(RunDriverTest, DocumentsWithoutWords) {
  Input("\x01\x02   \t\x03\x04\x05");
  cmdListWords_Click(p);
  EXPECT_EQ(p.strLine, "  ");
  EXPECT_EQ(p.lngNumWords, 0);
  EXPECT_EQ(p.frmMain.lblNumOccurrences.caption, "");
  Input("antidisestablishmentarianismus\r\n");  // one word of 30 characters
  cmdListWords_Click(p);
  EXPECT_EQ(p.lngNumWords, 1);
  Input("antidisestablishmentarianismuss\r\n");  // 31: ignored
  cmdListWords_Click(p);
  EXPECT_EQ(p.lngNumWords, 0);
}

TEST_F(RunDriverTest, ListingWritesTheConcordanceAndCanBeStopped) {
  p.blnStopAfterCounts = false;
  std::string text;
  for (int i = 0; i < 300; ++i) {
    const int n = i % 150;
    text += std::string("w") + static_cast<char>('a' + n / 26) + static_cast<char>('a' + n % 26) +
            "zz ";
  }
  Input(text + "\r\n");
  cmdListWords_Click(p);
  ASSERT_TRUE(p.blnOutputFileCreated);
  EXPECT_TRUE(FileExists(p.frmMain.txbFile[0].text + ".oxn.con_a5.txt"));
  EXPECT_EQ(p.frmMain.lblNumberOfWords.caption, "Number of keywords found: 150");
  // A second press lists by frequency with other options, without reading again.
  p.frmMain.cboWordOrder.listIndex = 1;
  p.frmMain.cboContextSize.listIndex = 0;
  host.messages.clear();
  cmdListWords_Click(p);
  EXPECT_TRUE(FileExists(p.frmMain.txbFile[0].text + ".oxn.con_f0.txt"));
  EXPECT_TRUE(p.strOutputBuffer.starts_with("waazz 2\r\nwabzz 2\r\n"))
      << p.strOutputBuffer.substr(0, 40);
  // Stopped while listing: what was listed stays, and says so.
  int words = 0;
  host.onDoEvents = [this, &words] {
    if (p.frmMain.txbOutput.text.find("Creating concordance") != std::string::npos &&
        ++words == 20) {
      p.blnStop = true;
    }
  };
  p.frmMain.cboContextSize.listIndex = 3;
  host.answers = {MsgResult::kNo};  // do not write the partial concordance
  cmdListWords_Click(p);
  EXPECT_TRUE(p.frmMain.txbOutput.text.ends_with("\r\nListing stopped.\r\n"));
  EXPECT_EQ(std::count(p.strOutputBuffer.begin(), p.strOutputBuffer.end(), '['), 20);
}

// The digit count against the quotient of logarithms it stands for, at the powers of
// ten and beside them, and at random lengths of every size.
TEST(PositionDigitsTest, CountsTheDigitsOfTheTextLength) {
  auto literal = [](size_t length) {
    return static_cast<int16_t>(std::floor(std::log(static_cast<double>(length)) / std::log(10.0)) +
                                1);
  };
  std::vector<size_t> lengths;
  for (size_t power = 10; power <= (size_t{1} << 34); power *= 10) {
    lengths.insert(lengths.end(), {power - 1, power, power + 1});
  }
  std::mt19937_64 rng(11);
  for (int i = 0; i < 100000; ++i) lengths.push_back(rng() >> (rng() % 64) | 1);
  for (size_t length : lengths) ASSERT_EQ(PositionDigits(length), literal(length)) << length;
  EXPECT_EQ(PositionDigits(0), 1);
  EXPECT_EQ(PositionDigits(9), 1);
  EXPECT_EQ(PositionDigits(101), 3);
  ScriptedHost host;
  Program p(host);
  p.strLine = std::string(50, 'a') + "    " + std::string(50, 'b');  // 101 after collapsing
  NormalizeDocumentText(p);
  EXPECT_EQ(p.intPositionDigits, 3);
}

// The one-pass normalization against its steps taken one by one.
TEST(NormalizeDocumentTextTest, OnePassDoesWhatTheStepsDo) {
  std::mt19937 rng(5);
  const std::vector<std::string> alphabet = {" ",     " ",     "  ",    "\t",      "\x01", "\x1f",
                                             "\r",    "a",     "Bc",    "/",       "!",    "\xA0",
                                             "word ", " the ", "\x89 ", "\xA0\xA0"};
  ScriptedHost host;
  Program p(host);
  for (int round = 0; round < 400; ++round) {
    const std::string text = reference::RandomBytes(rng, alphabet, rng() % (round % 2 ? 40 : 400));
    p.strLine = text;
    NormalizeDocumentText(p);
    int16_t digits = 0;
    const std::string expected = reference::NormalizeDocumentText(text, &digits);
    ASSERT_EQ(p.strLine1, expected) << ::testing::PrintToString(text);
    ASSERT_EQ(p.strLine, expected);
    ASSERT_EQ(p.intPositionDigits, digits);
    // A word list's run makes the same text where it lies, without the display copy
    // (exactly sized texts too: no room to spare when nothing is trimmed).
    p.blnNoDisplayCopy = true;
    p.strLine = text;
    p.strLine.shrink_to_fit();
    NormalizeDocumentText(p);
    p.blnNoDisplayCopy = false;
    ASSERT_EQ(p.strLine, expected) << ::testing::PrintToString(text);
    ASSERT_TRUE(p.strLine1.empty());
  }
}

}  // namespace
}  // namespace quillmoor
