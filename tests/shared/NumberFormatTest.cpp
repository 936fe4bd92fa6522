#include "shared/NumberFormat.h"

#include <gtest/gtest.h>

#include "input/TextFile.h"

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
