#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "input/TextFile.h"
#include "shared/NumberFormat.h"

namespace quillmoor {
namespace {

class NumberFormatTest : public ::testing::Test {
 protected:
  void TearDown() override { SetNumberLocale(NumberLocale{}); }
};

TEST_F(NumberFormatTest, GroupsDigitsAndRounds) {
  SetNumberLocale({'.', ','});
  EXPECT_EQ(FormatNumber(0, 0), "0");
  EXPECT_EQ(FormatNumber(999, 0), "999");
  EXPECT_EQ(FormatNumber(23456, 0), "23,456");
  EXPECT_EQ(FormatNumber(1234567.891, 2), "1,234,567.89");
  EXPECT_EQ(FormatNumber(0.005, 2), "0.01");
  EXPECT_EQ(FormatNumber(-1234.5, 1), "-1,234.5");
  SetNumberLocale({',', '.'});
  EXPECT_EQ(FormatNumber(1234.5, 2), "1.234,50");
  SetNumberLocale({'.', '\0'});
  EXPECT_EQ(FormatNumber(1234.5, 2), "1234.50");
}

// The digits as snprintf makes them from pow's scale, against FormatNumber's table
// and to_chars, on random values and places (no grouping, to compare digits alone).
TEST_F(NumberFormatTest, DigitsMatchPrintfOnRandomValues) {
  SetNumberLocale({'.', '\0'});
  std::mt19937_64 rng(7);
  for (int i = 0; i < 20000; ++i) {
    const int decimals = static_cast<int>(rng() % 6);
    const int exponent = static_cast<int>(rng() % 40) - 10;
    const double value =
        std::ldexp(static_cast<double>(rng() >> 11) / 9007199254740992.0, exponent) *
        (rng() % 2 ? 1 : -1) * std::pow(10.0, static_cast<double>(rng() % 12));
    const double rounded = std::round(std::fabs(value) * std::pow(10.0, decimals));
    char digits[400];
    std::snprintf(digits, sizeof digits, "%.0f", rounded);
    std::string all = digits;
    while (static_cast<int>(all.size()) <= decimals) all.insert(all.begin(), '0');
    std::string expected = all.substr(0, all.size() - static_cast<size_t>(decimals));
    if (decimals > 0) expected += "." + all.substr(all.size() - static_cast<size_t>(decimals));
    if (value < 0 && rounded != 0) expected.insert(expected.begin(), '-');
    ASSERT_EQ(FormatNumber(value, decimals), expected) << value << " to " << decimals;
  }
  // Either side of 2^64, where whole numbers stop converting as integers.
  EXPECT_EQ(FormatNumber(18446744073709549568.0, 0), "18446744073709549568");
  EXPECT_EQ(FormatNumber(18446744073709551616.0, 0), "18446744073709551616");
}

TEST_F(NumberFormatTest, FileSizeWordingAtItsBoundaries) {
  SetNumberLocale({'.', ','});
  EXPECT_EQ(FormatFileSize(0), "0 bytes");
  EXPECT_EQ(FormatFileSize(1023), "1023 bytes");
  EXPECT_EQ(FormatFileSize(1024), "1.00 Kb");
  EXPECT_EQ(FormatFileSize(1048575), "1,024.00 Kb");
  EXPECT_EQ(FormatFileSize(1048576), "1.00 Mb");
  EXPECT_EQ(FormatFileSize(44ll * 1048576 + 524288), "44.50 Mb");
  EXPECT_EQ(FormatFileSize(5ll * 1024 * 1048576), "5,120.00 Mb");
  SetNumberLocale({',', '.'});
  EXPECT_EQ(FormatFileSize(1536), "1,50 Kb");
}

}  // namespace
}  // namespace quillmoor
