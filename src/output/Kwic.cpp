#include "output/Kwic.h"

#include <algorithm>

#include "shared/Cp1252.h"
#include "shared/Program.h"

namespace quillmoor {
namespace {

// 1-based VB-style helpers over a window.
char CharAt(std::string_view s, int32_t pos) {
  return (pos >= 1 && pos <= static_cast<int32_t>(s.size())) ? s[static_cast<size_t>(pos - 1)] : '\0';
}

// The position of the first space at or after `start`, or 0.
int32_t SpaceFrom(std::string_view s, int32_t start) {
  if (start < 1 || start > static_cast<int32_t>(s.size())) return 0;
  size_t found = s.find(' ', static_cast<size_t>(start - 1));
  return found == std::string_view::npos ? 0 : static_cast<int32_t>(found + 1);
}

std::string CountText(int32_t n) { return NumberText(n, true); }

}  // namespace

std::string BuildContextLine(std::string_view text, int32_t p, size_t wordLength, int C,
                             bool showLineBreaks) {
  const int32_t K = C * kCharsPerContextWord;
  // C2: the raw window and the reference index r.
  std::string w;
  int32_t r;
  if (p - K >= 1) {
    const size_t from = static_cast<size_t>(p - K - 1);
    if (from < text.size()) w = std::string(text.substr(from, wordLength + 2 * static_cast<size_t>(K)));
    r = K;
  } else {
    w = std::string(text.substr(0, 2 * static_cast<size_t>(K)));
    r = p;
  }
  // C3: line-break marks become one space each.
  if (!showLineBreaks) {
    for (size_t f = w.find(" / "); f != std::string::npos; f = w.find(" / ")) {
      w.erase(f, 2);
      if (static_cast<int32_t>(f + 1) < r) r -= 2;
    }
  }
  // C4: keep C words on the left.
  int32_t n = 0;
  while (r >= 3) {
    const std::string_view head = std::string_view(w).substr(0, static_cast<size_t>(r - 2));
    const size_t last = head.rfind(' ');
    if (last == std::string_view::npos) break;
    const int32_t s = static_cast<int32_t>(last + 1);
    if (CharAt(w, s + 1) != '/' || !showLineBreaks) {
      ++n;
      if (n == C) {
        r = s + 1;
        break;
      }
    }
    r = s;
  }
  if (r > 1) w.erase(0, std::min(w.size(), static_cast<size_t>(r - 1)));
  // C5: the space after the keyword (counting C + 1 spaces from the start).
  n = 0;
  int32_t q = 0;
  while (n <= C) {
    q = SpaceFrom(w, q + 1);
    if (CharAt(w, q + 1) != '/' || !showLineBreaks) {
      ++n;
    } else if (q == 0) {
      break;  // no space at all and a leading "/": nothing to count
    }
  }
  // C6: keep C words on the right.
  int32_t t = q + 1;
  n = 0;
  while (true) {
    const int32_t s = SpaceFrom(w, t);
    if (s == 0 || s == 1) break;
    if (CharAt(w, s - 1) != '/' || !showLineBreaks) {
      ++n;
      if (n == C) {
        t = s;
        break;
      }
    }
    t = s + 1;
  }
  w.resize(std::min(w.size(), static_cast<size_t>(std::max(t - 1, 0))));
  return w;
}

std::string_view ContextBase(std::string_view line) {
  size_t mark = line.rfind(" (x");
  return mark == std::string_view::npos ? line : line.substr(0, mark);
}

void ContextLines::Clear() {
  lines_.clear();
  repeats_.clear();
  byBase_.clear();
}

void ContextLines::Merge(const std::string& line, bool showFrequencies) {
  auto found = byBase_.find(line);
  if (found == byBase_.end()) {
    const int32_t k = static_cast<int32_t>(lines_.size());
    lines_.push_back(line);
    repeats_.push_back(0);
    byBase_[std::string(ContextBase(line))].push_back(k);
    return;
  }
  if (!showFrequencies) return;  // a repeat is simply not stored again
  // Every kept line with this base is a match, in slot order.
  const std::vector<int32_t> matches = found->second;
  for (int32_t k : matches) {
    std::string& slot = lines_[static_cast<size_t>(k)];
    int32_t& count = repeats_[static_cast<size_t>(k)];
    if (count == 0) {
      // The first mark can change the base: a line holding " (x" of its own had
      // the part before that as its base, and now has all of its old text.
      const std::string oldBase(ContextBase(slot));
      count = 1;
      slot += " (x2)";
      const std::string newBase(ContextBase(slot));
      if (newBase != oldBase) {
        std::vector<int32_t>& list = byBase_[oldBase];
        std::erase(list, k);
        if (list.empty()) byBase_.erase(oldBase);
        std::vector<int32_t>& target = byBase_[newBase];
        target.insert(std::lower_bound(target.begin(), target.end(), k), k);
      }
    } else if (count < kMaxRepeatCount) {
      ++count;
      slot.erase(slot.rfind("(x"));
      slot += "(x" + std::to_string(count + 1) + ")";
    }
  }
}

void DisplayNextWord(Program& p, int32_t lngI, std::string& strOutput) {
  const WordRecord& r = p.arrWords[static_cast<size_t>(lngI)];
  const int32_t count = r.lngFrequency;
  if (p.intContextSize == 0) {
    std::string line = r.strWord;
    if (p.blnShowFrequencies) line += CountText(count);
    p.frmMain.txbOutput.text = line + std::string(kCrLf);
    strOutput += line;
    strOutput += kCrLf;
    return;
  }
  strOutput += kCrLf;
  strOutput += '[';
  strOutput += r.strWord;
  if (p.blnShowFrequencies) strOutput += CountText(count);
  strOutput += ']';
  strOutput += kCrLf;
  ContextLines lines;
  for (int32_t i = 0; i < count && i < static_cast<int32_t>(r.positions.size()); ++i) {
    lines.Merge(BuildContextLine(p.strLine1, r.positions[static_cast<size_t>(i)], r.strWord.size(),
                                 p.intContextSize, p.blnShowLineBreaks),
                p.blnShowFrequencies);
  }
  for (const std::string& line : lines.lines()) {
    strOutput += "... ";
    strOutput += line;
    strOutput += kCrLf;
  }
}

}  // namespace quillmoor
