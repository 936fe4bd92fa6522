// Small files read once in a run: while a scope lives, the first opening of a small
// file fixes what the run sees of it; writing the path through the file system, the
// end of the scope, a file over the limit and the fifth file kept each let the disk
// be read again.
#include <gtest/gtest.h>

#include <string>

#include "input/TextFile.h"
#include "shared/FileSystem.h"
#include "shared/KeptFiles.h"
#include "support/TestFiles.h"

namespace quillmoor {
namespace {

using testing::TempDir;

// What a run sees of `path`: existence, length and bytes (by the prefix reader).
std::string Seen(const std::string& path) {
  std::string bytes;
  FileError error;
  if (!FileExists(path) || !ReadFilePrefix(path, -1, &bytes, &error)) return "<none>";
  return std::to_string(Files().FileLength(path, &error)) + ":" + bytes;
}

TEST(KeptFilesTest, AFileOpenedInARunKeepsItsFirstBytesUntilWrittenOrTheRunEnds) {
  TempDir dir;
  const std::string doc = dir.Write("doc.txt", "first\r\nversion");
  {
    ScopedFileKeeping run;
    EXPECT_EQ(Seen(doc), "14:first\r\nversion");
    // Changed or removed behind the run's back: the run goes on with what it read.
    dir.Write("doc.txt", "the second version");
    EXPECT_EQ(Seen(doc), "14:first\r\nversion");
    std::string prefix;
    FileError error;
    ASSERT_TRUE(ReadFilePrefix(doc, 5, &prefix, &error));
    EXPECT_EQ(prefix, "first");
    std::vector<std::string> lines;
    ASSERT_TRUE(ForEachLine(doc, &error, [&](std::string& line) {
      lines.push_back(line);
      return true;
    }));
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "version"}));
    {
      ScopedFileKeeping nested;  // shares the run's store
      EXPECT_EQ(Seen(doc), "14:first\r\nversion");
    }
    EXPECT_EQ(Seen(doc), "14:first\r\nversion");
    // Written through the file system: read again.
    ASSERT_TRUE(WriteFileAtomically(doc, {std::string_view("third")}, &error, false));
    EXPECT_EQ(Seen(doc), "5:third");
    dir.Write("doc.txt", "fourth");
    EXPECT_EQ(Seen(doc), "5:third");
  }
  EXPECT_EQ(Seen(doc), "6:fourth");  // no scope: the disk as it is
  dir.Write("doc.txt", "fifth!");
  EXPECT_EQ(Seen(doc), "6:fifth!");
}

TEST(KeptFilesTest, LargeFilesAndTheLeastRecentlyUsedAreReadAgain) {
  TempDir dir;
  const std::string large = dir.Write("large.txt", std::string(kKeptFileBytes + 1, 'a'));
  std::vector<std::string> small;
  for (size_t i = 0; i <= kKeptFiles; ++i)
    small.push_back(dir.Write("s" + std::to_string(i), "old"));
  ScopedFileKeeping run;
  FileError error;
  EXPECT_EQ(Files().FileLength(large, &error), kKeptFileBytes + 1);
  std::string bytes;
  ASSERT_TRUE(ReadFilePrefix(large, 3, &bytes, &error));
  dir.Write("large.txt", "b");
  EXPECT_EQ(Seen(large), "1:b");
  for (const std::string& path : small) EXPECT_EQ(Seen(path), "3:old");
  for (size_t i = 0; i <= kKeptFiles; ++i) dir.Write("s" + std::to_string(i), "new!");
  // The first was dropped when the last was kept; the others stay as read.
  EXPECT_EQ(Seen(small[0]), "4:new!");
  EXPECT_EQ(Seen(small[kKeptFiles]), "3:old");
}

}  // namespace
}  // namespace quillmoor
