#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/SortedStrings.h"

namespace quillmoor {
namespace {

TEST(SortedStringsTest, SortsInBinaryOrderAndReportsInsertionPlaces) {
  std::vector<std::string> zebra = {"", "apple", "Zebra", "\xE9t\xE9", "zoo"};
  SortStrings(zebra, 1, 4);
  EXPECT_EQ(zebra, (std::vector<std::string>{"", "Zebra", "apple", "zoo", "\xE9t\xE9"}));
  std::vector<std::string> tails = {"", "za", "ab"};
  SortStrings(tails, 1, 2, 2);  // from the second character on
  EXPECT_EQ(tails, (std::vector<std::string>{"", "za", "ab"}));
  const std::vector<std::string> list = {"", "apple", "pear", "plum"};
  int32_t idx = 0;
  EXPECT_FALSE(FindString("peach", list, 3, &idx));
  EXPECT_EQ(idx, -2);
  EXPECT_FALSE(FindString("zzz", list, 3, &idx));
  EXPECT_EQ(idx, -4);
  EXPECT_FALSE(FindString("", list, 3, &idx));  // element 0 is never searched
  EXPECT_EQ(idx, -1);
}

TEST(SortedStringsTest, SortsRandomListsWithDuplicatesAndFindsEveryElement) {
  std::mt19937 rng(5);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::string> list(1);
    const int n = 1 + static_cast<int>(rng() % 300);
    for (int i = 0; i < n; ++i)
      list.push_back(std::string(1 + rng() % 3, static_cast<char>('a' + rng() % 4)));
    SortStrings(list, 1, static_cast<int16_t>(n));
    ASSERT_TRUE(std::is_sorted(list.begin() + 1, list.end()));
    for (int i = 1; i <= n; ++i) {
      int32_t idx = 0;
      ASSERT_TRUE(FindString(list[i], list, n, &idx));
      ASSERT_EQ(list[idx], list[i]);
    }
  }
}

}  // namespace
}  // namespace quillmoor
