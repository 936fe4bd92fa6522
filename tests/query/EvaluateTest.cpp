#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "query/DocumentTokens.h"
#include "query/Evaluate.h"
#include "support/Reference.h"

namespace quillmoor {
namespace {

using Matches = std::vector<std::pair<uint64_t, uint32_t>>;

Matches Evaluated(const QueryTokens& tokens, const std::string& text, const QueryOptions& options,
                  const std::vector<TokenRange>& ranges) {
  Query query;
  QueryError error;
  EXPECT_TRUE(ParseQuery(text, &query, &error)) << QueryErrorMessage(text, error);
  QueryEvaluator evaluator;
  EXPECT_TRUE(evaluator.Prepare(query, tokens, options, &error)) << QueryErrorMessage(text, error);
  Matches out;
  for (const QueryMatch& m : evaluator.Find(ranges)) out.push_back({m.first, m.length});
  return out;
}

// Each match as its text, for readable expectations.
std::vector<std::string> Texts(const DocumentTokens& doc, const Matches& matches) {
  std::vector<std::string> out;
  for (const auto& [first, length] : matches) out.emplace_back(doc.TextOf({first, length}));
  return out;
}

TEST(EvaluateTest, QueriesPickTheirTokens) {
  const std::string text =
      " In the beginning God created the heaven and the earth. / And the earth was without "
      "form; a broken heart, a heart broken. / THE end of the colour, the color of the end ";
  const DocumentTokens doc(text, false);
  static const struct {
    const char* query;
    bool wholeWord, caseSensitive, withinLine;
    std::vector<std::string> texts;
  } kCases[] = {
      {"\"in the beginning\"", true, false, false, {"In the beginning"}},
      {"\"the * of\"", true, false, false, {"THE end of", "the color of"}},
      {"/colou?r/", true, false, false, {"colour", "color"}},
      {"/THE/c", true, false, false, {"THE"}},
      {"the", true, true, false, {"the", "the", "the", "the", "the", "the", "the"}},
      {"heart PRECEDED/1 broken", true, false, false, {"heart"}},
      {"heart FOLLOWED/1 broken", true, false, false, {"heart"}},
      {"broken NEAR/1 heart", true, false, false, {"broken", "broken"}},
      {"earth NEAR/6 form", true, false, false, {"earth", "earth"}},
      {"earth NEAR/6 form", true, false, true, {"earth"}},  // "earth." ends the line before
      {"arth", false, false, false, {"earth", "earth"}},
      {"eart", false, false, false, {"earth", "earth", "heart", "heart"}},
      {"[word=\"a\"] [word!=\"heart\"]{1,2} [word=\"heart\"]",
       true,
       false,
       false,
       {"a broken heart"}},
      {"[word=\"the\"] []{0,2} [word=\"end\"] within line",
       true,
       false,
       false,
       {"THE end", "the end"}},
      {"[word=\"and\"] []+ within line",
       true,
       false,
       false,
       {"and the earth", "And the earth was without form; a broken heart, a heart broken"}},
      {"created+heaven", true, false, false, {"created"}},
      {"without+heaven", true, false, false, {}},
  };
  for (const auto& c : kCases) {
    const QueryOptions options{c.caseSensitive, c.wholeWord, c.withinLine};
    EXPECT_EQ(Texts(doc, Evaluated(doc.tokens(), c.query, options, doc.All())), c.texts) << c.query;
  }
}

// What would run without end is stopped: an expression that backtracks on a word of the
// lexicon (PCRE2's limits), a token pattern that tries too many ways at every place (the
// evaluator's budget), a pattern too long to try.
TEST(EvaluateTest, WhatWouldRunWithoutEndIsStopped) {
  std::string text = " " + std::string(40, 'a') + "b";
  for (int i = 0; i < 2000; ++i) text += " word";
  const DocumentTokens doc(text, false);
  Query query;
  QueryError error;
  QueryEvaluator evaluator;
  ASSERT_TRUE(ParseQuery("/(\\w+)+\\d/", &query, &error));
  EXPECT_FALSE(evaluator.Prepare(query, doc.tokens(), {}, &error));
  EXPECT_TRUE(error.overrun);
  EXPECT_EQ(QueryErrorMessage("/(\\w+)+\\d/", error).substr(0, 37),
            "The query was stopped: at character 1");
  ASSERT_TRUE(ParseQuery("[]{0,100} [word=\"zebra\"]", &query, &error));
  ASSERT_TRUE(evaluator.Prepare(query, doc.tokens(), {}, &error));
  bool stopped = false;
  EXPECT_TRUE(evaluator.Find(doc.All(), &stopped, 100000).empty());
  EXPECT_TRUE(stopped);
  EXPECT_TRUE(evaluator.Find(doc.All(), &stopped).empty());  // 2000 x 100 x 102 steps
  EXPECT_FALSE(stopped);
  std::string tooLong;
  for (int i = 0; i < 20; ++i) tooLong += "[]{100} ";
  ASSERT_TRUE(ParseQuery(tooLong + "[]", &query, &error));
  EXPECT_FALSE(evaluator.Prepare(query, doc.tokens(), {}, &error));
  EXPECT_EQ(error.expected,
            "a shorter token pattern (at most 2,000 tokens, its repetitions counted)");
}

// Random documents and queries against the literal reading.
TEST(EvaluateTest, MatchesWhatTheLiteralReadingMatches) {
  std::mt19937 rng(31);
  const std::vector<std::string> vocabulary = {"the",   "The",    "of",  "love", "lovely", "Loved",
                                               "heart", "hearts", "a-b", "1984", "x"};
  const std::vector<std::string> separators = {" ", " ", " ", ", ", " / ", ". "};
  const std::vector<std::string> words = {"the",    "lov*",  "?he",        "*",   "/l.*/",
                                          "/THE/c", "heart", "/[a-z]+ly/", "of",  "a-b",
                                          "19##",   "h*rt*", "lov*+the",   "x+h*"};
  const std::vector<std::string> steps = {"[]", "[word=\"l.*\"]", "[word!=\"the\"]",
                                          "[word=\"the\" | word=\"of\"]",
                                          "[word=\"h.*\" & word!=\"hearts\"]"};
  const std::vector<std::string> repeats = {"", "", "?", "*", "+", "{1,2}", "{0,3}", "{2}"};
  const std::vector<std::string> operators = {" NEAR/2 ", " FOLLOWED/3 ", " PRECEDED/1 ",
                                              " NEAR/5 "};
  const auto pick = [&rng](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(rng)];
  };
  const auto unit = [&]() {
    switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
      case 0:
        return pick(words);
      case 1: {
        std::string phrase = "\"" + pick(words);
        for (int i = std::uniform_int_distribution<int>(0, 2)(rng); i > 0; --i)
          phrase += " " + pick(words);
        return phrase + "\"";
      }
      default: {
        std::string pattern = pick(steps) + pick(repeats);
        for (int i = std::uniform_int_distribution<int>(0, 2)(rng); i > 0; --i)
          pattern += " " + pick(steps) + pick(repeats);
        return pattern + (rng() % 4 == 0 ? " within line" : "");
      }
    }
  };
  for (int round = 0; round < 300; ++round) {
    std::string text = " ";
    // (Long enough for the scans of sixteen tokens at a time.)
    const int length = std::uniform_int_distribution<int>(0, 100)(rng);
    for (int i = 0; i < length; ++i) text += pick(vocabulary) + pick(separators);
    const DocumentTokens doc(text, false);
    std::vector<std::string> spellings;
    std::vector<int32_t> lines;
    for (const TokenRun& r : doc.runs()) {
      spellings.push_back(text.substr(r.begin, r.size));
      lines.push_back(doc.LineOf(spellings.size() - 1));
    }
    // The tokens as one to three documents.
    std::vector<TokenRange> ranges;
    std::vector<std::pair<uint64_t, uint64_t>> pairs;
    const uint64_t n = spellings.size();
    const uint64_t cut1 = n == 0 ? 0 : rng() % (n + 1), cut2 = n == 0 ? 0 : rng() % (n + 1);
    for (const auto& [a, b] : {std::pair{uint64_t{0}, std::min(cut1, cut2)},
                               std::pair{std::min(cut1, cut2), std::max(cut1, cut2)},
                               std::pair{std::max(cut1, cut2), n}}) {
      if (a < b) {
        ranges.push_back({a, b});
        pairs.push_back({a, b});
      }
    }
    std::string text2 = unit();
    if (rng() % 3 == 0) text2 += pick(operators) + unit();
    if (rng() % 4 == 0) text2 += " " + unit();
    const QueryOptions options{rng() % 4 == 0, rng() % 4 != 0, rng() % 3 == 0};
    Query query;
    QueryError error;
    ASSERT_TRUE(ParseQuery(text2, &query, &error)) << QueryErrorMessage(text2, error);
    const Matches found = Evaluated(doc.tokens(), text2, options, ranges);
    EXPECT_EQ(found, reference::QueryMatches(query, options, spellings, lines, pairs))
        << "query " << text2 << " in [" << text << "] options " << options.caseSensitive
        << options.wholeWord << options.withinLine;
    // The same stream in fewer bytes a token, as a corpus index keeps it.
    QueryTokens narrow = doc.tokens();
    std::string bytes;
    narrow.width = 1 + static_cast<uint32_t>(rng() % 3);
    for (uint64_t i = 0; i < n; ++i) {
      const uint32_t id = doc.tokens().TypeAt(i);
      bytes.append(reinterpret_cast<const char*>(&id), narrow.width);
    }
    narrow.stream = bytes;
    EXPECT_EQ(Evaluated(narrow, text2, options, ranges), found) << text2 << " " << narrow.width;
  }
}

}  // namespace
}  // namespace quillmoor
