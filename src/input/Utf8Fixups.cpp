#include "input/Utf8Fixups.h"

#include <array>
#include <cstdint>
#include <vector>

#include "shared/Cp1252.h"

namespace quillmoor {
namespace {

// What replacing a pair (lead, c) does.
enum class PairAction { kNone, kRemoveBoth, kKeepSecond, kShiftSecond };

bool IsContinuation(unsigned char c) { return c >= 0x80 && c <= 0xBF; }

// A byte string from which bytes can be deleted (and changed) in place, with "next
// alive" and "previous alive" found in near-constant time by path-compressed skips.
class ShrinkingText {
 public:
  explicit ShrinkingText(std::string text)
      : bytes_(std::move(text)), n_(static_cast<int32_t>(bytes_.size())),
        alive_(bytes_.size(), 1), next_(bytes_.size() + 1), prev_(bytes_.size() + 1) {
    for (int32_t i = 0; i <= n_; ++i) next_[i] = i;       // next_[n_] is the end
    for (int32_t i = 0; i <= n_; ++i) prev_[i] = i;       // prev_[i] stands for i - 1
  }

  int32_t size() const { return n_; }
  unsigned char at(int32_t i) const { return Byte(bytes_[i]); }
  void set(int32_t i, unsigned char b) { bytes_[i] = static_cast<char>(b); }
  bool alive(int32_t i) const { return alive_[i] != 0; }

  // The first alive index >= i, or size() when there is none.
  int32_t NextAlive(int32_t i) {
    int32_t root = i;
    while (next_[root] != root) root = next_[root];
    while (next_[i] != root) {
      int32_t up = next_[i];
      next_[i] = root;
      i = up;
    }
    return root;
  }
  // The last alive index <= i, or -1 when there is none.
  int32_t PrevAlive(int32_t i) {
    int32_t k = i + 1;  // shifted so that -1 is slot 0
    int32_t root = k;
    while (prev_[root] != root) root = prev_[root];
    while (prev_[k] != root) {
      int32_t up = prev_[k];
      prev_[k] = root;
      k = up;
    }
    return root - 1;
  }
  void Kill(int32_t i) {
    alive_[i] = 0;
    next_[i] = i + 1;
    prev_[i + 1] = i;
  }
  std::string Compact() const {
    std::string out;
    out.reserve(bytes_.size());
    for (int32_t i = 0; i < n_; ++i) {
      if (alive_[i]) out.push_back(bytes_[i]);
    }
    return out;
  }

 private:
  std::string bytes_;
  int32_t n_;
  std::vector<uint8_t> alive_;
  std::vector<int32_t> next_;
  std::vector<int32_t> prev_;
};

// One pass of ConvertUTF8Latin1 for lead byte `lead`. The literal procedure is:
//   pos = 1
//   do: p = InStr(pos, T, lead); if p = 0 or p = Len(T) then exit
//       c = T(p + 1); if c has an action then T = Replace(T, lead & c, ...)
//       pos = p + 1
// Every replacement only deletes bytes (and, for C3, changes the kept byte), so the
// text stays a subsequence of the original and the search can move forward through
// it. Positions are ranks in the current text: after a replacement that deleted
// `killedBefore` bytes before the lead found, the next search starts killedBefore + 1
// alive bytes after the first alive byte following that lead.
// True when a pass over `text` with lead byte `lead` can never make the search skip a
// lead byte or form a new pair: no pair is removed (`removes`), no lead byte follows
// another, and no replacement yields the lead byte itself (`makesLead`). The literal
// procedure then comes down to one left-to-right scan.
template <typename ActionFn>
bool IsSimplePass(const std::string& text, unsigned char lead, ActionFn action) {
  for (size_t i = text.find(static_cast<char>(lead)); i != std::string::npos;
       i = text.find(static_cast<char>(lead), i + 1)) {
    if (i + 1 >= text.size()) break;
    const unsigned char c = Byte(text[i + 1]);
    if (c == lead) return false;
    const PairAction act = action(c);
    if (act == PairAction::kRemoveBoth) return false;
    if (act == PairAction::kShiftSecond && c + 0x40 == lead) return false;
  }
  return true;
}

template <typename ActionFn>
std::string SimplePass(const std::string& text, unsigned char lead, ActionFn action) {
  std::string out;
  out.reserve(text.size());
  size_t copied = 0;
  for (size_t i = text.find(static_cast<char>(lead)); i != std::string::npos && i + 1 < text.size();
       i = text.find(static_cast<char>(lead), i + 1)) {
    const unsigned char c = Byte(text[i + 1]);
    const PairAction act = action(c);
    if (act == PairAction::kNone) continue;
    out.append(text, copied, i - copied);
    out.push_back(static_cast<char>(act == PairAction::kShiftSecond ? c + 0x40 : c));
    copied = i + 2;
    ++i;
  }
  out.append(text, copied, std::string::npos);
  return out;
}

template <typename ActionFn>
std::string LeadBytePass(std::string text, unsigned char lead, ActionFn action) {
  if (text.find(static_cast<char>(lead)) == std::string::npos) return text;
  if (IsSimplePass(text, lead, action)) return SimplePass(text, lead, action);
  ShrinkingText t(std::move(text));
  const int32_t n = t.size();
  // pairs[c - 0x80]: positions of `lead` bytes followed by c (some may be stale).
  std::array<std::vector<int32_t>, 64> pairs;
  for (int32_t i = 0; i + 1 < n; ++i) {
    if (t.at(i) == lead && IsContinuation(t.at(i + 1))) pairs[t.at(i + 1) - 0x80].push_back(i);
  }
  std::vector<int32_t> stamp(static_cast<size_t>(n), -1);
  int32_t replaceCount = 0;

  auto addPairIfAny = [&](int32_t left) {
    if (left < 0 || !t.alive(left) || t.at(left) != lead) return;
    int32_t right = t.NextAlive(left + 1);
    if (right < n && IsContinuation(t.at(right))) pairs[t.at(right) - 0x80].push_back(left);
  };

  int32_t cur = t.NextAlive(0);
  while (cur < n) {
    int32_t q = cur;
    while (q < n && t.at(q) != lead) q = t.NextAlive(q + 1);
    if (q >= n) break;
    int32_t after = t.NextAlive(q + 1);
    if (after >= n) break;  // the lead byte is the last character
    const unsigned char c = t.at(after);
    const PairAction act = action(c);
    if (act == PairAction::kNone) {
      cur = after;
      continue;
    }
    // Replace every current pair (lead, c) of the whole text.
    std::vector<int32_t> snapshot;
    std::vector<int32_t>& list = pairs[c - 0x80];
    for (int32_t s : list) {
      if (stamp[s] == replaceCount || !t.alive(s) || t.at(s) != lead) continue;
      int32_t r = t.NextAlive(s + 1);
      if (r >= n || t.at(r) != c) continue;
      stamp[s] = replaceCount;
      snapshot.push_back(s);
    }
    list.clear();
    int32_t killedBefore = 0;
    std::vector<int32_t> seconds(snapshot.size());
    for (size_t k = 0; k < snapshot.size(); ++k) seconds[k] = t.NextAlive(snapshot[k] + 1);
    for (size_t k = 0; k < snapshot.size(); ++k) {
      const int32_t s = snapshot[k];
      const int32_t second = seconds[k];
      t.Kill(s);
      if (s < q) ++killedBefore;
      if (act == PairAction::kRemoveBoth) {
        t.Kill(second);
        if (s < q) ++killedBefore;
      } else if (act == PairAction::kShiftSecond) {
        t.set(second, static_cast<unsigned char>(c + 0x40));
      }
    }
    for (size_t k = 0; k < snapshot.size(); ++k) {
      addPairIfAny(t.PrevAlive(snapshot[k]));
      if (act != PairAction::kRemoveBoth) addPairIfAny(seconds[k]);
    }
    ++replaceCount;
    int32_t e = t.NextAlive(q + 1);
    for (int32_t step = 0; step <= killedBefore && e < n; ++step) e = t.NextAlive(e + 1);
    cur = e;
  }
  return t.Compact();
}

// The replacement of E2 80 xx for each third byte it knows, or nullptr.
const char* PunctuationFor(unsigned char third) {
  static const std::array<const char*, 256> table = [] {
    std::array<const char*, 256> t{};
    static const char kBar[] = "|";
    static const char kPerMille[] = "\x89";
    for (int b = 0x90; b <= 0x93; ++b) t[b] = "-";
    t[0x94] = " -- ";
    t[0x95] = "--";
    t[0x96] = kBar;
    t[0x97] = kPerMille;
    for (int b = 0x98; b <= 0x9B; ++b) t[b] = "'";
    for (int b = 0x9C; b <= 0x9F; ++b) t[b] = "\"";
    t[0xA2] = " . ";
    t[0xA6] = "...";
    t[0xB9] = "<";
    t[0xBA] = ">";
    return t;
  }();
  return table[third];
}

}  // namespace

std::string ConvertUTF8Latin1(std::string text) {
  text = LeadBytePass(std::move(text), 0xC2, [](unsigned char c) {
    if (c >= 0x80 && c <= 0x9F) return PairAction::kRemoveBoth;
    if (c >= 0xA0 && c <= 0xBF) return PairAction::kKeepSecond;
    return PairAction::kNone;
  });
  text = LeadBytePass(std::move(text), 0xC3, [](unsigned char c) {
    return IsContinuation(c) ? PairAction::kShiftSecond : PairAction::kNone;
  });
  if (text.find("\xC4\x8D") != std::string::npos) text = ReplaceAll(text, "\xC4\x8D", "c");
  return text;
}

std::string ConvertUTF8Punctuation(std::string text) {
  size_t first = text.find("\xE2\x80");
  if (first == std::string::npos) return text;
  if (first + 2 >= text.size()) {
    // A lone E2 80 at the very end: removed like any sequence it does not know.
    text.erase(first, 2);
    return text;
  }
  if (PunctuationFor(Byte(text[first + 2])) == nullptr) {
    text.erase(first, 3);
    return text;
  }
  // Replacements hold no E2 and none of the known third bytes, so one left-to-right
  // pass gives what replacing each kind in turn over the whole text gives.
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  out.append(text, 0, first);
  size_t i = first;
  while (i < text.size()) {
    if (i + 2 < text.size() && Byte(text[i]) == 0xE2 && Byte(text[i + 1]) == 0x80) {
      if (const char* repl = PunctuationFor(Byte(text[i + 2]))) {
        out.append(repl);
        i += 3;
        continue;
      }
    }
    out.push_back(text[i]);
    ++i;
  }
  return out;
}

}  // namespace quillmoor
