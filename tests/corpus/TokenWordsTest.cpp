#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "corpus/TokenWords.h"
#include "support/ScanText.h"
#include "support/TestProgram.h"

namespace quillmoor {
namespace {

// The words a real scan enters, each with the tokens its positions fall in.
std::map<std::string, std::vector<int32_t>> ByScanner(Program& p, const std::string& normalised) {
  testing::ScanText(p, normalised);
  std::vector<TokenRun> runs;
  FindTokenRuns(normalised, false, &runs);
  std::map<std::string, std::vector<int32_t>> words;
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    const WordRecord& r = p.arrWords[static_cast<size_t>(i)];
    for (int32_t position : r.positions)
      words[r.strWord].push_back(static_cast<int32_t>(TokenAtOffset(runs, position - 1)));
  }
  return words;
}

// The two sides of the work, as the indexing's two threads hold them.
struct Finder {
  explicit Finder(int maxLength) : spellings(maxLength), entry(maxLength) {}
  TokenSpellings spellings;
  TokenWordEntry entry;
};

// The same from the tokens, a spelling at a time.
std::map<std::string, std::vector<int32_t>> ByTokens(Finder& finder,
                                                     std::vector<std::string>& spellings,
                                                     std::vector<std::string>& names,
                                                     const std::string& normalised) {
  std::vector<TokenRun> runs;
  FindTokenRuns(normalised, false, &runs);
  std::vector<uint32_t> ids;
  DocumentPieces found;
  const auto intern = [&spellings](std::string_view text, const std::vector<TokenRun>& r,
                                   uint32_t* out) {
    for (const TokenRun& run : r) {
      const std::string_view s = text.substr(run.begin, run.size);
      const auto at =
          static_cast<size_t>(std::find(spellings.begin(), spellings.end(), s) - spellings.begin());
      if (at == spellings.size()) spellings.emplace_back(s);
      *out++ = static_cast<uint32_t>(at);
    }
  };
  finder.spellings.Identify(normalised, runs, &ids, intern);
  finder.entry.Absorb(finder.spellings.TakeLearned());
  std::string bytes;
  finder.entry.Enter(ids, &bytes, &found, [&names](const std::string& w) {
    names.push_back(w);
    return static_cast<uint32_t>(names.size() - 1);
  });
  std::map<std::string, std::vector<int32_t>> words;
  for (const auto& [id, piece] : found) {
    // The piece: the count, the length of the rest, then the tokens' differences.
    size_t at = 0;
    uint64_t count = 0, length = 0, delta = 0;
    EXPECT_TRUE(ReadVarint(piece, &at, &count) && ReadVarint(piece, &at, &length));
    EXPECT_EQ(length, piece.size() - at);
    std::vector<int32_t>& tokens = words[names[id]];
    for (int32_t token = 0; at < piece.size();) {
      EXPECT_TRUE(ReadVarint(piece, &at, &delta));
      token += static_cast<int32_t>(delta);
      tokens.push_back(token);
    }
    EXPECT_EQ(tokens.size(), count);
  }
  return words;
}

// Random documents of the spellings that test the scanner's rules (plurals, hyphens,
// contractions, numerals, repeated letters, accents, double hyphens, long words): the
// words found from the tokens are the scanner's, document after document.
TEST(TokenWordsTest, TheScannersWordsFoundFromTheTokens) {
  static const char* const kPieces[] = {
      "Cats",        "cat",      "glass",       "physics",
      "couldn't",    "don't",    "well-known",  "Well",
      "known",       "x-ray",    "e-mail-box",  "-lead",
      "trail-",      "co-op",    "12-34",       "ab-12",
      "1611",        "III",      "mcmxc",       "mmm",
      "aaa",         "a",        "an",          "the",
      "its",         "always",   "Maths",       "goes",
      "\xc9t\xe9s",  "na\xefve", "well--known", "--",
      "x",           "s",        "it's",        "seventeenthcenturyparliamentarian",
      "re-re-entry", "Dickens",  "ARMS",        "7th",
      ",",           ".",        ";",           "\"",
      "(",           ")",        "\n",          "   ",
      "'",           "-",        "/",           "t",
      "isn't",       "A-B"};
  ScriptedHost host;
  Program p(host);
  testing::StartForTest(p);
  std::mt19937 random(7);
  size_t entered = 0;
  for (int maxLength : {30, 12}) {
    p.intMaxPermittedWordLength = static_cast<int16_t>(maxLength);
    Finder finder(maxLength);
    std::vector<std::string> spellings, names;
    for (int round = 0; round < 150; ++round) {
      std::string text;
      for (int n = static_cast<int>(random() % 80); n > 0; --n) {
        text += kPieces[random() % std::size(kPieces)];
        if (random() % 3 != 0) text += ' ';
      }
      p.strLine = text;
      NormalizeDocumentText(p);
      const std::string normalised = p.strLine;
      const auto scanned = ByScanner(p, normalised);
      entered += scanned.size();
      EXPECT_EQ(ByTokens(finder, spellings, names, normalised), scanned)
          << "[" << text << "] at " << maxLength;
    }
  }
  EXPECT_GT(entered, 3000u);  // the documents hold words
}

}  // namespace
}  // namespace quillmoor
