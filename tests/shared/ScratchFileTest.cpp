// Scratch files: names of their own made exclusively, links never followed, only whole
// files replace their targets, and a signal that ends the process removes them.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>

#include "cli/CliHost.h"
#include "shared/ScratchFile.h"
#include "support/TestFiles.h"

namespace quillmoor {
namespace {

using testing::FilesIn;
using testing::ReadWholeFile;
using testing::TempDir;

TEST(ScratchFileTest, TwoWritersOfOneTargetNeverMix) {
  TempDir dir;
  const std::string target = dir.Write("book.txt.oxn.con_a5.txt", "earlier");
  const std::string first(40000, 'a'), second(70000, 'b');
  testing::FaultyFileSystem fs;
  ScopedFileSystem scoped(&fs);
  bool secondWritten = false;
  fs.meanwhile = [&] {
    FileError error;
    secondWritten = WriteFileAtomically(target, {second}, &error);
    EXPECT_EQ(ReadWholeFile(target), second);
  };
  FileError error;
  ASSERT_TRUE(WriteFileAtomically(target, {first.substr(0, 1000), first.substr(1000)}, &error))
      << error.description;
  EXPECT_TRUE(secondWritten);
  // The later rename wins, with the whole of its text.
  EXPECT_EQ(ReadWholeFile(target), first);
  EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"book.txt.oxn.con_a5.txt"});
}

TEST(ScratchFileTest, LinksAndFoldersUnderItsNamesAreTakenNeverFollowed) {
  TempDir dir;
  const std::string victim = dir.path() + "/victim.txt";
  const std::string index = dir.path() + "/book.oxn.ndx";
  std::filesystem::create_symlink(victim, index + "1");  // dangling
  std::filesystem::create_directory(index + "2");
  FileError error;
  std::unique_ptr<ScratchFile> numbered = ScratchFile::Numbered(index, &error);
  ASSERT_NE(numbered, nullptr) << error.description;
  EXPECT_EQ(numbered->path(), index + "3");
  EXPECT_EQ(ScratchFile::At(index + "1", &error), nullptr);
  EXPECT_EQ(error.number, kErrFileAlreadyExists);
  EXPECT_FALSE(std::filesystem::exists(victim));
  // A target that is a link is replaced by the new file; what it pointed at stays.
  dir.Write("victim.txt", "victim");
  const std::string target = dir.path() + "/book.txt.oxn.con_a5.txt";
  std::filesystem::create_symlink(victim, target);
  ASSERT_TRUE(numbered->writer().Write("new", 3, &error));
  ASSERT_TRUE(numbered->CommitTo(target, &error)) << error.description;
  EXPECT_FALSE(std::filesystem::is_symlink(target));
  EXPECT_EQ(ReadWholeFile(target), "new");
  EXPECT_EQ(ReadWholeFile(victim), "victim");
  EXPECT_TRUE(std::filesystem::is_symlink(index + "1"));
  EXPECT_TRUE(std::filesystem::is_empty(index + "2"));
}

TEST(ScratchFileTest, ScratchGoesUnlessKeptOrCommitted) {
  TempDir dir, temp;
  testing::ScopedEnv tmpdir{"TMPDIR", temp.path()};
  FileError error;
  std::string dropped;
  {
    std::unique_ptr<ScratchFile> a = ScratchFile::Temporary("quillmoor-", &error);
    std::unique_ptr<ScratchFile> b = ScratchFile::Temporary("quillmoor-", &error);
    ASSERT_TRUE(a && b) << error.description;
    EXPECT_EQ(FolderOf(a->path()), temp.path());
    EXPECT_EQ(FileNameOf(a->path()).size(), std::string("quillmoor-").size() + 6);
    EXPECT_NE(a->path(), b->path());
    EXPECT_EQ(ScratchWritesUnderWay(), 2);
    EXPECT_TRUE(a->Close(&error, false));
    EXPECT_EQ(ScratchWritesUnderWay(), 1);
    b->Keep();
    dropped = a->path();
  }
  EXPECT_EQ(ScratchWritesUnderWay(), 0);
  EXPECT_FALSE(std::filesystem::exists(dropped));
  EXPECT_EQ(FilesIn(temp.path()).size(), 1u);  // the kept one
  // A folder with content goes as a whole.
  const std::string folder = CreateScratchFolder("quillmoor-docx-");
  ASSERT_EQ(FolderOf(folder), temp.path());
  std::filesystem::create_directories(folder + "/word/_rels");
  ASSERT_TRUE(WriteFileAtomically(folder + "/word/document.xml", {"<w:t>x</w:t>"}, &error));
  RemoveScratchFolder(folder);
  EXPECT_FALSE(std::filesystem::exists(folder));
}

// A tree goes whole; a link in it goes without what it names; nothing there is no error;
// what cannot go is said by its errno.
TEST(ScratchFileTest, RemoveTreeRemovesEverythingButWhatLinksName) {
  TempDir dir;
  const std::string outside = dir.Write("outside.txt", "kept");
  const std::string tree = dir.path() + "/tree";
  std::filesystem::create_directories(tree + "/a/b");
  dir.Write("tree/a/b/file.txt", "x");
  std::filesystem::create_directory_symlink(dir.path(), tree + "/a/up");
  std::filesystem::create_symlink(outside, tree + "/link.txt");
  EXPECT_EQ(RemoveTree(tree), 0);
  EXPECT_FALSE(std::filesystem::exists(tree));
  EXPECT_EQ(testing::ReadWholeFile(outside), "kept");
  EXPECT_EQ(RemoveTree(tree), 0);
  EXPECT_EQ(RemoveTree(outside + "/not-a-folder"), ENOTDIR);
}

// Runs `body` in a child process with standard error in a pipe; returns the child's
// exit status (-1 when it did not exit) and what it wrote to standard error.
std::pair<int, std::string> InChild(const std::function<void()>& body) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return {-1, "no pipe"};
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipeEnds[1], STDERR_FILENO);
    ::close(pipeEnds[0]);
    body();
    ::_exit(0);
  }
  ::close(pipeEnds[1]);
  std::string err;
  char buffer[512];
  for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
    err.append(buffer, static_cast<size_t>(n));
  ::close(pipeEnds[0]);
  int raw = 0;
  ::waitpid(pid, &raw, 0);
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, err};
}

// A write under way: a scratch file beside the target with part of its text, and a
// scratch folder holding a file.
void StartWriting(const std::string& target) {
  FileError error;
  ScratchFile* file = ScratchFile::Beside(target, &error).release();
  if (file == nullptr || !file->writer().Write("partial", 7, &error)) ::_exit(3);
  const std::string folder = CreateScratchFolder("quillmoor-docx-");
  if (folder.empty() || !WriteFileAtomically(folder + "/document.xml", {"<w:t/>"}, &error))
    ::_exit(4);
}

TEST(ScratchFileTest, EndingSignalsRemoveEveryScratchPathAndLeaveTheTarget) {
  for (int signal : {SIGTERM, SIGHUP, SIGXFSZ, SIGINT}) {
    TempDir dir, temp;
    testing::ScopedEnv tmpdir{"TMPDIR", temp.path()};
    const std::string target = dir.Write("book.txt.oxn.con_a5.txt", "earlier");
    const auto [status, err] = InChild([&] {
      InstallScratchCleanup("quillmoor-cli", signal == SIGINT);
      StartWriting(target);
      std::raise(signal);
    });
    EXPECT_EQ(status, 128 + signal) << signal;
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"book.txt.oxn.con_a5.txt"}) << signal;
    EXPECT_EQ(ReadWholeFile(target), "earlier");
    EXPECT_TRUE(std::filesystem::is_empty(temp.path())) << signal;
    EXPECT_EQ(
        err,
        signal == SIGXFSZ
            ? "quillmoor-cli: the file size limit was reached; the file being written was removed\n"
            : "")
        << signal;
  }
}

TEST(ScratchFileTest, AFirstCtrlCDuringAWriteIsToldASecondAbandonsIt) {
  TempDir dir, temp;
  testing::ScopedEnv tmpdir{"TMPDIR", temp.path()};
  const std::string target = dir.Write("book.txt.oxn.con_a5.txt", "earlier");
  const auto [status, err] = InChild([&] {
    CliHost::CatchInterrupts();
    StartWriting(target);
    std::raise(SIGINT);
    std::raise(SIGINT);
  });
  EXPECT_EQ(status, 130);
  EXPECT_EQ(err, "quillmoor-cli: finishing the write; press Ctrl-C again to abandon it\n");
  EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"book.txt.oxn.con_a5.txt"});
  EXPECT_EQ(ReadWholeFile(target), "earlier");
  EXPECT_TRUE(std::filesystem::is_empty(temp.path()));
}

}  // namespace
}  // namespace quillmoor
