#include <gtest/gtest.h>

#include <random>

#include "input/Utf8Decode.h"
#include "support/Reference.h"
#include "support/Text.h"

namespace quillmoor {
namespace {

TEST(Utf8DecodeTest, WhatEachSequenceBecomes) {
  DecodeReport report;
  // Latin-1 and the code page's other characters; the punctuation's ASCII; C1 dropped.
  EXPECT_EQ(
      DecodeUtf8Text("caf\xC3\xA9 c\xC5\x93ur \xC5\xA0koda 5 \xE2\x82\xAC \xE2\x84\xA2", &report),
      "caf\xE9 c\x9Cur \x8Akoda 5 \x80 \x99");
  EXPECT_EQ(DecodeUtf8Text("a\xE2\x80\x94"
                           "b \xE2\x80\x9Cq\xE2\x80\x9D \xE2\x80\x93 \xE2\x80\xA6 \xE2\x80\xA0",
                           &report),
            "a -- b \"q\" - ... \x86");
  EXPECT_EQ(DecodeUtf8Text("x\xC2\x85y \xC4\x8D", &report), "xy c");
  EXPECT_EQ(report.unmapped, 0);
  // Characters the code page lacks become "?" and are counted, the first five distinct
  // kept as examples.
  EXPECT_EQ(
      DecodeUtf8Text("\xCE\xB1\xCE\xB1 \xE4\xB8\xAD \xF0\x9F\x98\x80 \xD0\xB4 \xD0\xB5 \xD0\xB6",
                     &report),
      "?? ? ? ? ? ?");
  EXPECT_EQ(report.unmapped, 7);
  EXPECT_EQ(report.examples,
            (std::vector<std::string>{"\xCE\xB1", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80", "\xD0\xB4",
                                      "\xD0\xB5"}));
  // Windows-1252 text and broken sequences pass unchanged; a mark goes only at the start.
  EXPECT_EQ(DecodeUtf8Text("caf\xE9 \xC3"
                           "a \xE2\x80"
                           "x \xC0\xAF \xED\xA0\x80",
                           nullptr),
            "caf\xE9 \xC3"
            "a \xE2\x80"
            "x \xC0\xAF \xED\xA0\x80");
  EXPECT_EQ(DecodeUtf8Text("\xEF\xBB\xBFok", nullptr), "ok");
  EXPECT_EQ(DecodeUtf8Text("\xEF\xBB\xBFok", nullptr, false), "?ok");
}

TEST(Utf8DecodeTest, MatchesTheCodePointLoopOnRandomBytes) {
  // Pieces that make well-formed, overlong, cut and stray sequences meet each other.
  const std::vector<std::string> alphabet = testing::Pieces(
      "a| |\r\n|\xC3|\xA9|\xC2|\x85|\xE2|\x80|\x94|\x9C|\xA0|\xBF|\xC5\x93|\xCE\xB1|"
      "\xE2\x82\xAC|\xE4\xB8\xAD|\xF0\x9F\x98\x80|\xEF\xBB\xBF|\xED|\xF4\x90\x80\x80|"
      "\xC0|\xC4\x8D|\xE0\xA0|\xFF|\x92");
  std::mt19937 rng(13);
  for (int round = 0; round < 20000; ++round) {
    const std::string text = reference::RandomBytes(rng, alphabet, 1 + round % 24);
    DecodeReport report;
    std::vector<std::string> unmapped;
    ASSERT_EQ(DecodeUtf8Text(text, &report), reference::DecodeUtf8Text(text, &unmapped)) << text;
    ASSERT_EQ(report.unmapped, static_cast<int64_t>(unmapped.size())) << text;
  }
}

TEST(Utf8DecodeTest, TheNoticeCountsAndShows) {
  DecodeReport report;
  EXPECT_EQ(UnmappedCharactersNotice(report), "");
  report.Note("\xCE\xB1");
  EXPECT_EQ(UnmappedCharactersNotice(report),
            "One character of this document is not in the Windows-1252 character set that words "
            "are made of: "
            "\xCE\xB1\r\n\r\nIt was read as \"?\", which is not part of any word.");
}

}  // namespace
}  // namespace quillmoor
