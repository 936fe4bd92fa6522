// The file layer's path arithmetic.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "shared/FileSystem.h"
#include "shared/Utf8.h"
#include "support/TestFiles.h"

namespace quillmoor {
namespace {

using testing::TempDir;

// Lexical normalisation against std::filesystem's on random paths of names, ".", "..",
// runs of slashes and trailing slashes, absolute and relative.
TEST(LexicallyNormalTest, NormalisesAsTheStandardLibraryDoes) {
  std::mt19937 rng(17);
  const char* const kPieces[] = {"a", "bc", ".", "..", "", "...", ".x", "d.e"};
  for (int round = 0; round < 20000; ++round) {
    std::string path = rng() % 2 ? "/" : "";
    const int parts = static_cast<int>(rng() % 7);
    for (int i = 0; i < parts; ++i) {
      path += kPieces[rng() % 8];
      if (i + 1 < parts || rng() % 3 == 0) path += std::string(1 + rng() % 2, '/');
    }
    // The one difference: libstdc++ leaves a path of nothing but slashes as it is.
    if (path.find_first_not_of('/') == std::string::npos && !path.empty()) {
      ASSERT_EQ(LexicallyNormal(path), "/");
      continue;
    }
    ASSERT_EQ(LexicallyNormal(path), std::filesystem::path(path).lexically_normal().string())
        << path;
  }
  EXPECT_EQ(LexicallyNormal("/a/./b/../c"), "/a/c");
  EXPECT_EQ(LexicallyNormal("a/.."), ".");
  EXPECT_EQ(LexicallyNormal("/a/b/.."), "/a/");
  EXPECT_EQ(LexicallyNormal("../a"), "../a");
}

// The real file system, counting the folder listings a case-insensitive search makes.
class ListCounter : public testing::FaultyFileSystem {
 public:
  int lists = 0;
  std::vector<std::string> List(const std::string& folder) override {
    ++lists;
    return FaultyFileSystem::List(folder);
  }
};

// A lower-cased path finds the file whatever the case of its folders: by a search from
// the root the first time, by the folder it remembered after that, and by a search again
// when the remembered folder does not hold it.
TEST(ResolveLowerCasedPathTest, FindsTheFileAndRemembersItsFolder) {
  TempDir dir;
  std::filesystem::create_directories(dir.path() + "/Lists/Stop");
  const std::string real = dir.Write("Lists/Stop/english.txt", "the");
  const std::string other = dir.Write("Lists/Other.txt", "a");
  ListCounter counter;
  ScopedFileSystem installed(&counter);
  EXPECT_EQ(ResolveLowerCasedPath(Utf8Lower(real)), real);
  const int searched = counter.lists;
  EXPECT_GT(searched, 0);
  EXPECT_EQ(ResolveLowerCasedPath(Utf8Lower(real)), real);
  EXPECT_EQ(counter.lists, searched);  // the remembered folder
  EXPECT_EQ(ResolveLowerCasedPath(Utf8Lower(other)), other);
  EXPECT_GT(counter.lists, searched);  // not in the remembered folder: searched again
  const std::string missing = Utf8Lower(dir.path() + "/Lists/none.txt");
  EXPECT_EQ(ResolveLowerCasedPath(missing), missing);
  EXPECT_EQ(ResolveLowerCasedPath(real), real);  // the exact name first
}

}  // namespace
}  // namespace quillmoor
