// The file layer's path arithmetic.
#include "shared/FileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace quillmoor {
namespace {

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
    ASSERT_EQ(LexicallyNormal(path), std::filesystem::path(path).lexically_normal().string()) << path;
  }
  EXPECT_EQ(LexicallyNormal("/a/./b/../c"), "/a/c");
  EXPECT_EQ(LexicallyNormal("a/.."), ".");
  EXPECT_EQ(LexicallyNormal("/a/b/.."), "/a/");
  EXPECT_EQ(LexicallyNormal("../a"), "../a");
}

}  // namespace
}  // namespace quillmoor
