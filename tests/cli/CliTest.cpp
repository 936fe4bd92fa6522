// End-to-end runs of quillmoor-cli on real files.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "cli/Cli.h"
#include "support/TestFiles.h"

namespace quillmoor {
namespace {

using testing::ReadWholeFile;
using testing::TempDir;

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

CliRun RunCliProcess(const std::string& args) {
  TempDir dir;
  std::string out = dir.path() + "/out", err = dir.path() + "/err";
  std::string command = "LC_ALL=C " + Quote(QUILLMOOR_CLI_PATH) + " " + args + " >" + Quote(out) +
                        " 2>" + Quote(err) + " </dev/null";
  int raw = std::system(command.c_str());
  CliRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadWholeFile(out);
  run.err = ReadWholeFile(err);
  return run;
}

std::string Data(const std::string& name) { return Quote(std::string(QUILLMOOR_TEST_DATA) + "/" + name); }

TEST(CliReadTest, PrintsTheDocumentTextInUtf8) {
  CliRun ansi = RunCliProcess("read " + Data("ansi.txt"));
  EXPECT_EQ(ansi.status, 0);
  EXPECT_EQ(ansi.out,
            "The first line. / The second line, with \xE2\x80\x9Cquotes\xE2\x80\x9D and caf\xC3\xA9.\n");
  EXPECT_EQ(ansi.err, "Reading the input file ...\nConverting UTF-8 ...\n");

  // A UTF-8 file named like a typed path checks the UTF-8 box, so no question comes.
  CliRun utf8 = RunCliProcess("read " + Data("utf8.txt"));
  EXPECT_EQ(utf8.status, 0);
  EXPECT_EQ(utf8.out, "\xC3\xAF\xC2\xBB\xC2\xBFNa\xC3\xAFve caf\xC3\xA9  --  \"quoted\".\n");
  EXPECT_EQ(utf8.err.find("UTF-8 or ANSI"), std::string::npos);
}

TEST(CliReadTest, HtmlLosesItsTagsAndKnownEntities) {
  CliRun run = RunCliProcess("read " + Data("page.html"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "   T      Fish & chips for \xC3\x89mile &euro;5    end   \n");
  EXPECT_NE(run.err.find("File read successfully.  Now removing tags ..."), std::string::npos);
}

TEST(CliReadTest, RefusedFilesExitWithOneAndSayWhy) {
  struct Case {
    const char* file;
    const char* message;
  };
  for (const Case& c : {Case{"letter.txt", "is an RTF file."},
                        Case{"utf16.txt", "is a Unicode file but not UTF-8 encoded."},
                        Case{"tiny.txt", "contains only from 1 to 4 bytes."},
                        Case{"empty.txt", "Empty file: Input file is zero-length."},
                        Case{"missing.txt", "File not found: Input file does not exist."}}) {
    CliRun run = RunCliProcess("read " + Data(c.file));
    EXPECT_EQ(run.status, 1) << c.file;
    EXPECT_EQ(run.out, "") << c.file;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.file << ": " << run.err;
  }
  // The refusal is printed once although the file is checked twice.
  CliRun rtf = RunCliProcess("read " + Data("letter.txt"));
  EXPECT_EQ(rtf.err.find("RTF"), rtf.err.rfind("RTF"));
}

TEST(CliReadTest, QuestionsFollowTheAnswerPolicy) {
  TempDir dir;
  std::string text(300000, 'a');
  for (size_t i = 70; i < text.size(); i += 71) text[i] = '\n';
  std::string path = dir.Write("unix.txt", text);
  // The default button of "continue processing?" is No.
  CliRun no = RunCliProcess("read " + Quote(path));
  EXPECT_EQ(no.status, 1);
  EXPECT_NE(no.err.find("Do you wish to continue processing this file? [Yes/No] -> No"),
            std::string::npos);
  EXPECT_NE(no.err.find("Operation canceled."), std::string::npos);
  CliRun yes = RunCliProcess("--yes read " + Quote(path));
  EXPECT_EQ(yes.status, 0);
  EXPECT_EQ(yes.out.size(), text.size() + 1);  // LF stays inside the one long line
  // An ANSI file read with the box checked would be asked about; --no is not needed
  // here, but it is accepted before or after the file.
  EXPECT_EQ(RunCliProcess("read " + Data("ansi.txt") + " --no").status, 0);
}

TEST(CliReadTest, UsageErrorsExitWithTwo) {
  for (const char* args : {"", "read", "frobnicate x", "read a b", "read --yes --no x",
                           "read --colour x"}) {
    CliRun run = RunCliProcess(args);
    EXPECT_EQ(run.status, 2) << args;
    EXPECT_NE(run.err.find("usage: quillmoor-cli"), std::string::npos) << args;
  }
  EXPECT_EQ(RunCliProcess("--help").status, 0);
}

TEST(CliReadTest, MissingProgramTextEndsTheProgramWithItsMessage) {
  TempDir dir;
  std::string copy = dir.path() + "/quillmoor-cli";
  ASSERT_EQ(std::system(("cp " + Quote(QUILLMOOR_CLI_PATH) + " " + Quote(copy)).c_str()), 0);
  std::string err = dir.path() + "/err";
  int raw = std::system((Quote(copy) + " read " + Data("ansi.txt") + " >/dev/null 2>" +
                         Quote(err)).c_str());
  EXPECT_EQ(WEXITSTATUS(raw), 1);
  EXPECT_EQ(ReadWholeFile(err), "Cannot open file containing program text.\n" + dir.path() +
                                    "/quillmoor.dat\n");
}

TEST(CliOptionsTest, ParsesCommandFileAndPolicy) {
  CliOptions options;
  std::string error;
  ASSERT_TRUE(ParseCliOptions({"read", "--no", "a.txt"}, &options, &error));
  EXPECT_EQ(options.command, "read");
  EXPECT_EQ(options.file, "a.txt");
  EXPECT_EQ(options.policy, AnswerPolicy::kNo);
  ASSERT_TRUE(ParseCliOptions({"read", "--", "-odd.txt"}, &options, &error));
  EXPECT_EQ(options.file, "-odd.txt");
  EXPECT_FALSE(ParseCliOptions({"read", ""}, &options, &error));
  EXPECT_EQ(error, "the input file name is empty");
}

TEST(CliHostTest, AnswersByPolicy) {
  MessageBox box;
  box.buttons = MsgButtons::kYesNo;
  box.defaultButton = 2;
  EXPECT_EQ(CliHost::Answer(box, AnswerPolicy::kDefault), MsgResult::kNo);
  EXPECT_EQ(CliHost::Answer(box, AnswerPolicy::kYes), MsgResult::kYes);
  box.buttons = MsgButtons::kYesNoCancel;
  box.defaultButton = 1;
  EXPECT_EQ(CliHost::Answer(box, AnswerPolicy::kDefault), MsgResult::kYes);
  EXPECT_EQ(CliHost::Answer(box, AnswerPolicy::kNo), MsgResult::kNo);
  box.buttons = MsgButtons::kOK;
  EXPECT_EQ(CliHost::Answer(box, AnswerPolicy::kNo), MsgResult::kOK);
}

}  // namespace
}  // namespace quillmoor
