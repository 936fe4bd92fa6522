#include "output/IndexFile.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unordered_set>

#include "engine/UnicodeWords.h"
#include "engine/WordTable.h"
#include "shared/Cp1252.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

const std::string kCRLF(kCrLf);

// The widest position field: ten digits hold every 32-bit position.
constexpr int64_t kMaxPositionDigits = 10;

// A field of a word line: 1 to 10 decimal digits, at most INT32_MAX.
bool ParseField(std::string_view s, int64_t* value) {
  if (s.empty() || s.size() > 10) return false;
  int64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  if (v > INT32_MAX) return false;
  *value = v;
  return true;
}

// A number line: the value between spaces, perhaps with a minus sign.
bool ParseNumberLine(std::string_view s, int64_t* value) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  const size_t last = s.find_last_not_of(' ');
  std::string_view digits = s.substr(first, last - first + 1);
  const bool negative = digits.starts_with('-');
  if (negative) digits.remove_prefix(1);
  if (!ParseField(digits, value)) return false;
  if (negative) *value = -*value;
  return true;
}

int DigitsOf(int64_t v) {
  int digits = 1;
  while (v >= 10) {
    v /= 10;
    ++digits;
  }
  return digits;
}

}  // namespace

std::string IndexFileNameFor(const std::string& input) {
  if (input.empty()) return "";
  const size_t dot = input.rfind('.');
  return dot == std::string::npos ? input + ".oxn.ndx" : input.substr(0, dot + 1) + "oxn.ndx";
}

std::string UniqueFileName(const std::string& name) {
  for (int64_t n = 1;; ++n) {
    std::string candidate = name + std::to_string(n);
    if (!PathTaken(candidate)) return candidate;
  }
}

bool DeleteFile(const std::string& name, bool, bool, bool) {
  if (name.empty() || !Files().FileExists(name)) return true;
  FileError error;
  return Files().Remove(name, &error);
}

std::string NumberLine(int64_t value) { return " " + std::to_string(value) + " "; }

bool WriteIndexText(const WordTable& p, int16_t intPositionDigits, const std::string& digest,
                    const std::string& date, FileWriter& out, FileError* error) {
  // Every position must fit its field: the width is widened when one would not.
  int64_t widest = 1;
  for (int32_t i = 1; i <= p.lngNumWords; ++i) {
    for (int32_t position : p.arrWords[static_cast<size_t>(i)].positions)
      widest = std::max<int64_t>(widest, position);
  }
  const int width = std::max(static_cast<int>(intPositionDigits), DigitsOf(widest));
  std::string buffer =
      p.wordRules == WordRuleSet::kUnicode ? std::string(kUnicodeIndexMark) + kCRLF : std::string();
  buffer += digest + kCRLF + date + kCRLF + NumberLine(p.lngNumWords) + kCRLF + NumberLine(width) +
            kCRLF + NumberLine(p.lngFirstFreq) + kCRLF;
  bool ok = true;
  auto flush = [&] {
    ok = ok && out.Write(buffer.data(), buffer.size(), error);
    buffer.clear();
  };
  // A zero-padded field: `width` digits, the last ones the position's.
  std::string field(static_cast<size_t>(width), '0');
  auto appendPosition = [&buffer, &field, width](int32_t position) {
    std::fill(field.begin(), field.end(), '0');
    for (int k = width - 1; k >= 0 && position > 0; --k, position /= 10) {
      field[static_cast<size_t>(k)] = static_cast<char>('0' + position % 10);
    }
    buffer += field;
  };
  for (int32_t i = 1; i <= p.lngNumWords && ok; ++i) {
    const WordRecord& r = p.arrWords[static_cast<size_t>(i)];
    buffer += r.strWord;
    buffer += '*';
    buffer += std::to_string(r.lngFreqRank);
    buffer += '*';
    buffer += std::to_string(r.lngFrequency);
    buffer += '*';
    buffer += std::to_string(r.lngNextByFreq);
    buffer += '*';
    for (int32_t position : r.positions) appendPosition(position);
    buffer += kCRLF;
    if (buffer.size() >= (1 << 20)) flush();
  }
  flush();
  return ok;
}

bool ParseIndexBody(const std::function<bool(std::string&)>& nextLine, int64_t maxWords,
                    int maxWordLength, IndexContents* out, WordRuleSet rules) {
  const bool unicode = rules == WordRuleSet::kUnicode;
  std::string line;
  int64_t count = 0, width = 0, first = 0;
  if (!nextLine(line) || !ParseNumberLine(line, &count) || count < 0 || count > maxWords ||
      count >= INT32_MAX) {
    return false;
  }
  if (!nextLine(line) || !ParseNumberLine(line, &width) || width < 1 ||
      width > kMaxPositionDigits) {
    return false;
  }
  if (!nextLine(line) || !ParseNumberLine(line, &first) || first < 0 || first > count) return false;
  std::vector<WordRecord> words(1);
  words.reserve(static_cast<size_t>(count) + 1);
  std::unordered_set<std::string_view> seen;
  seen.reserve(static_cast<size_t>(count));
  std::string previousKey;
  for (int64_t i = 1; i <= count; ++i) {
    if (!nextLine(line)) return false;
    // word*rank*frequency*next*positions: exactly four stars.
    size_t stars[4];
    size_t from = 0;
    for (size_t& star : stars) {
      star = line.find('*', from);
      if (star == std::string::npos) return false;
      from = star + 1;
    }
    if (line.find('*', from) != std::string::npos || stars[0] == 0) return false;
    const std::string_view text(line);
    auto field = [&](int k) { return text.substr(stars[k] + 1, stars[k + 1] - stars[k] - 1); };
    int64_t rank = 0, frequency = 0, next = 0;
    if (!ParseField(field(0), &rank) || rank > count || !ParseField(field(1), &frequency) ||
        frequency < 1 || !ParseField(field(2), &next) || next > count) {
      return false;
    }
    // A word as the scanner stores it: printable, not too long, in table order and
    // only once.
    const std::string_view word = text.substr(0, stars[0]);
    if (unicode && !IsValidUtf8(word)) return false;
    if ((unicode ? GraphemeCount(word) : static_cast<int64_t>(word.size())) > maxWordLength) {
      return false;
    }
    for (char c : word) {
      if (Byte(c) < 32 || Byte(c) == 127) return false;
    }
    std::string key = SortKeyIn(unicode, word);
    if (key < previousKey) return false;
    previousKey = std::move(key);
    const std::string_view positions = text.substr(stars[3] + 1);
    if (static_cast<int64_t>(positions.size()) != frequency * width) return false;
    WordRecord r;
    r.strWord.assign(text.substr(0, stars[0]));
    r.lngFreqRank = static_cast<int32_t>(rank);
    r.lngFrequency = static_cast<int32_t>(frequency);
    r.lngNextByFreq = static_cast<int32_t>(next);
    r.blnIncluded = true;
    r.positions.reserve(static_cast<size_t>(frequency));
    for (size_t at = 0; at < positions.size(); at += static_cast<size_t>(width)) {
      int64_t position = 0;
      if (!ParseField(positions.substr(at, static_cast<size_t>(width)), &position) ||
          position < 1) {
        return false;
      }
      r.positions.push_back(static_cast<int32_t>(position));
    }
    words.push_back(std::move(r));
  }
  for (size_t i = 1; i < words.size(); ++i) {
    if (!seen.insert(words[i].strWord).second) return false;
  }
  // Exactly `count` records, and a frequency chain that visits each at most once.
  if (nextLine(line)) return false;
  std::vector<bool> visited(words.size(), false);
  for (int64_t i = first; i != 0; i = words[static_cast<size_t>(i)].lngNextByFreq) {
    if (visited[static_cast<size_t>(i)]) return false;
    visited[static_cast<size_t>(i)] = true;
  }
  out->rules = rules;
  out->lngNumWords = static_cast<int32_t>(count);
  out->intPositionDigits = static_cast<int16_t>(width);
  out->lngFirstFreq = static_cast<int32_t>(first);
  out->words = std::move(words);
  return true;
}

}  // namespace quillmoor
