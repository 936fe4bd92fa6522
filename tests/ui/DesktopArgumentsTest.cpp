// The desktop program's command line.
#include <gtest/gtest.h>
#include <unistd.h>

#include "support/ScriptedHost.h"
#include "support/TestFiles.h"
#include "support/TestProgram.h"
#include "ui/DesktopArguments.h"
#include "ui/Program.h"

namespace quillmoor {
namespace {

TEST(DesktopArgumentsTest, AFileHelpVersionOrAClearError) {
  EXPECT_EQ(ParseDesktopArguments({"book.txt"}).file, "book.txt");
  EXPECT_EQ(ParseDesktopArguments({"--", "-odd.txt"}).file, "-odd.txt");
  EXPECT_TRUE(ParseDesktopArguments({"-h"}).help);
  EXPECT_TRUE(ParseDesktopArguments({"--version"}).version);
  EXPECT_EQ(ParseDesktopArguments({"--colour"}).error, "unknown option '--colour'");
  EXPECT_EQ(ParseDesktopArguments({"a.txt", "b.txt"}).error, "more than one file given");
  const DesktopArguments scripted = ParseDesktopArguments({"--screenshot", "x.png", "book.txt"});
  EXPECT_TRUE(scripted.scripted);
  EXPECT_EQ(scripted.file, "");
  EXPECT_TRUE(
      DesktopVersion().starts_with(std::string("quillmoor (Quillmoor) ") + QUILLMOOR_VERSION));
  EXPECT_NE(DesktopVersion().find("\nLicense GPLv3+: GNU GPL version 3 or later"),
            std::string::npos);
}

TEST(DesktopArgumentsTest, TheFileIsCheckedAsATypedName) {
  testing::TempDir dir;
  dir.Write("book.txt", "The river ran past the old mill.\r\n");
  ScriptedHost host;
  Program p{host};
  testing::StartForTest(p);
  char cwd[4096];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  ASSERT_EQ(::chdir(dir.path().c_str()), 0);
  const bool opened = OpenFileFromCommandLine(p, "./book.txt");
  const bool missing = OpenFileFromCommandLine(p, "missing.txt");
  ASSERT_EQ(::chdir(cwd), 0);
  EXPECT_TRUE(opened);
  EXPECT_FALSE(missing);
  EXPECT_EQ(p.frmMain.txbFile[0].text, dir.path() + "/missing.txt");
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages.back().prompt, "Input file does not exist.");
}

}  // namespace
}  // namespace quillmoor
