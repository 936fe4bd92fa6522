#include <gtest/gtest.h>

#include "shared/ProgramText.h"
#include "support/ScriptedHost.h"
#include "support/TestFiles.h"

namespace quillmoor {
namespace {

using testing::TempDir;

// Loads `contents` as the program-text file and returns the message shown ("" if none).
std::string LoadMessage(const std::string& contents, bool* ended = nullptr) {
  TempDir dir;
  dir.Write("quillmoor.dat", contents);
  ScriptedHost host;
  ProgramText texts;
  bool ok = texts.LoadProgramText(host, dir.path());
  if (ended) *ended = host.ended;
  if (ok) return "";
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].icon, MsgIcon::kCritical);
  EXPECT_EQ(host.messages[0].title, "");
  EXPECT_TRUE(host.ended);
  return host.messages.empty() ? "" : host.messages[0].prompt;
}

TEST(ProgramTextTest, LooksUpTextsByNumberAndLanguage) {
  TempDir dir;
  dir.Write("quillmoor.dat", "# comment\r\n\r\n3|Create|Erstellen\r\n74|Stop\r\n5|~\r\n");
  ScriptedHost host;
  ProgramText texts;
  ASSERT_TRUE(texts.LoadProgramText(host, dir.path() + "/"));  // no second "/"
  EXPECT_EQ(texts.GetProgramText(3), "Create");
  EXPECT_EQ(texts.GetProgramText(74), "Stop");
  EXPECT_EQ(texts.GetProgramText(5), "");    // "~" reads as ""
  EXPECT_EQ(texts.GetProgramText(999), "");  // a missing number is not an error
  texts.intCurrentLanguage = ProgramText::kSecondLanguage;
  EXPECT_EQ(texts.GetProgramText(3), "Erstellen");
  EXPECT_EQ(texts.GetProgramText(74), "");
  EXPECT_EQ(texts.arrStopWordFiles[7], "stwds_en_de_es_pt_it_fr.txt");
}

TEST(ProgramTextTest, ShippedFileHasEveryTextTheProgramUses) {
  ScriptedHost host;
  ProgramText texts;
  ASSERT_TRUE(texts.LoadProgramText(host, QUILLMOOR_DATA_DIR));
  for (int n :
       {3,  4,  5,  6,  11, 12, 13, 15, 19, 20, 21, 22, 26, 34, 37, 38, 39,  40,  42,  43,  44,
        50, 74, 75, 77, 78, 79, 80, 81, 82, 83, 84, 85, 86, 87, 91, 92, 119, 120, 121, 122, 310}) {
    EXPECT_NE(texts.GetProgramText(n), "") << n;
  }
}

TEST(ProgramTextTest, LoadFailuresShowTheirMessageAndEndTheProgram) {
  EXPECT_EQ(LoadMessage(""), "File is empty.");
  EXPECT_EQ(LoadMessage("# only a comment\r\n"), "No program text was read.");
  EXPECT_EQ(LoadMessage("1|a\r\n2|b\r\n1|c\r\n"), "Duplicate in program text at line 3.");
  EXPECT_EQ(LoadMessage("1|a\r\n\r\n7|\r\n"), "Missing string at line 3.");
  EXPECT_EQ(LoadMessage("1|" + std::string(1025, 'x') + "\r\n"), "String too long at line 1.");
  EXPECT_EQ(LoadMessage("1|" + std::string(1024, 'x') + "\r\n"), "");
  EXPECT_EQ(LoadMessage("1|a|b|c|d\r\n"), "Error -5");
  std::string many;
  for (int i = 1; i <= 501; ++i) many += std::to_string(i) + "|t\r\n";
  EXPECT_EQ(LoadMessage(many), "Too much program text.");

  ScriptedHost host;
  ProgramText texts;
  EXPECT_FALSE(texts.LoadProgramText(host, "/nonexistent-folder"));
  EXPECT_EQ(host.messages.at(0).prompt,
            "Cannot open file containing program text.\r\n/nonexistent-folder/quillmoor.dat");
}

TEST(ProgramTextTest, MessagesOfTheResultCodesNoFileGives) {
  EXPECT_EQ(ProgramText::LoadFailureMessage(-2, ""), "Particular memory allocation error.");
  EXPECT_EQ(ProgramText::LoadFailureMessage(-7, ""), "Error reading file.");
  EXPECT_EQ(ProgramText::LoadFailureMessage(-8, ""), "General memory allocation error.");
  EXPECT_EQ(ProgramText::LoadFailureMessage(-1000, ""),
            "Missing string at line 500.");  // a range's end
}

}  // namespace
}  // namespace quillmoor
