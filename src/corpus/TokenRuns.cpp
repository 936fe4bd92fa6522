#include "corpus/TokenRuns.h"

#include <algorithm>
#include <string>

#include "engine/UnicodeWords.h"
#include "engine/WordRules.h"
#include "input/Markup.h"
#include "shared/Utf8.h"

namespace quillmoor {

namespace {

// Windows-1252 characters by class: 0 none of a word's, 1 a hyphen, 2 a letter or digit.
struct WordClasses {
  uint8_t of[256] = {};
  WordClasses() {
    for (int c = 0; c < 256; ++c) {
      if (IsWordStartChar(static_cast<char>(c))) of[c] = c == '-' ? 1 : 2;
    }
  }
};
const WordClasses kClasses;

void FindWindows1252Runs(std::string_view text, std::vector<TokenRun>* runs) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  size_t at = 0;
  while (at < n) {
    while (at < n && kClasses.of[s[at]] == 0) ++at;
    if (at == n) break;
    const size_t begin = at;
    uint8_t seen = 0;
    while (at < n && kClasses.of[s[at]] != 0) seen |= kClasses.of[s[at++]];
    if (seen & 2) runs->push_back({static_cast<uint32_t>(begin), static_cast<uint32_t>(at - begin)});
  }
}

}  // namespace

void FindTokenRuns(std::string_view text, bool utf8, std::vector<TokenRun>* runs) {
  runs->clear();
  // The scanner reads a double hyphen as two spaces (comment marks aside).
  if (text.find("--") != std::string_view::npos) {
    const std::string spaced = RemoveDoubleHyphens(std::string(text));
    if (spaced != text) {
      FindTokenRuns(spaced, utf8, runs);
      return;
    }
  }
  if (!utf8) {
    runs->reserve(text.size() / 5);
    FindWindows1252Runs(text, runs);
    return;
  }
  const size_t n = text.size();
  size_t at = 0;
  // The length of the word character at `at` (0: not one).
  const auto wordChar = [&](size_t i) -> size_t {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!utf8 || c < 0x80) return IsWordStartChar(static_cast<char>(c)) ? 1 : 0;
    uint32_t cp = 0;
    const size_t len = Utf8SequenceAtInline(text, i, &cp);
    if (len == 0) return 0;
    return ClassOfCodePoint(cp) != CharClass::kOther ? len : 0;
  };
  while (at < n) {
    size_t len = wordChar(at);
    if (len == 0) {
      ++at;
      continue;
    }
    const size_t begin = at;
    bool counts = false;
    do {
      counts |= text[at] != '-';
      at += len;
    } while (at < n && (len = wordChar(at)) != 0);
    if (counts)
      runs->push_back({static_cast<uint32_t>(begin), static_cast<uint32_t>(at - begin)});
  }
}

uint32_t TokenAtOffset(const std::vector<TokenRun>& runs, size_t offset) {
  const auto after = std::upper_bound(runs.begin(), runs.end(), offset,
                                      [](size_t o, const TokenRun& r) { return o < r.begin; });
  return after == runs.begin() ? 0 : static_cast<uint32_t>(after - runs.begin() - 1);
}

}  // namespace quillmoor
