#include "query/DocumentTokens.h"

#include <algorithm>
#include <cstring>

namespace quillmoor {

namespace {

// A spelling's first eight bytes (all of a short one) as a number, put together in a
// register: bytes copied into a number on the stack one by one and read back whole would
// wait for each other.
uint64_t HeadOf(std::string_view s) {
  uint64_t head = 0;
  if (s.size() >= 8) {
    std::memcpy(&head, s.data(), 8);
    return head;
  }
  for (size_t b = 0; b < s.size(); ++b)
    head |= static_cast<uint64_t>(static_cast<uint8_t>(s[b])) << (8 * b);
  return head;
}

uint64_t HashOf(std::string_view s, uint64_t head) {
  uint64_t h = (0x243F6A8885A308D3u ^ s.size() ^ head) * 0x9E3779B97F4A7C15u;
  for (size_t i = 8; i < s.size(); i += 8) {
    h ^= h >> 29;
    uint64_t chunk = 0;
    std::memcpy(&chunk, s.data() + i, std::min<size_t>(8, s.size() - i));
    h = (h ^ chunk) * 0x9E3779B97F4A7C15u;
  }
  return h ^ (h >> 32);
}

// The next line-break mark " / " at or after `from` (looked for by its rare "/", not its
// spaces, which are every few bytes).
size_t NextBreak(std::string_view text, size_t from) {
  for (size_t at = text.find('/', from + 1); at != std::string_view::npos;
       at = text.find('/', at + 1)) {
    if (at + 1 < text.size() && text[at - 1] == ' ' && text[at + 1] == ' ') return at - 1;
  }
  return std::string_view::npos;
}

}  // namespace

DocumentTokens::DocumentTokens(std::string_view text, bool utf8) : text_(text) {
  FindTokenRuns(text, utf8, &runs_);
  ids_.reserve(runs_.size());
  lines_.reserve(runs_.size());
  // The spellings' ids by open addressing, slots at most half full. A slot holds its
  // spelling's first eight bytes and length: a spelling of up to eight bytes is known by
  // them, without a comparison of its bytes.
  struct Slot {
    uint64_t hash = 0, head = 0;
    uint32_t size = 0;
    uint32_t id = 0;  // 1 + the id; 0 an empty slot
  };
  std::vector<Slot> slots(1024);
  const auto grow = [&slots] {
    std::vector<Slot> bigger(slots.size() * 2);
    for (const Slot& old : slots) {
      if (old.id == 0) continue;
      size_t at = old.hash & (bigger.size() - 1);
      while (bigger[at].id != 0) at = (at + 1) & (bigger.size() - 1);
      bigger[at] = old;
    }
    slots.swap(bigger);
  };
  size_t nextBreak = NextBreak(text, 0);
  int32_t line = 1;
  for (const TokenRun& run : runs_) {
    while (nextBreak != std::string_view::npos && nextBreak < run.begin) {
      ++line;
      nextBreak = NextBreak(text, nextBreak + 3);
    }
    const std::string_view spelling = text.substr(run.begin, run.size);
    const uint64_t head = HeadOf(spelling);
    const uint64_t hash = HashOf(spelling, head);
    const auto size = static_cast<uint32_t>(spelling.size());
    const auto same = [&](const Slot& slot) {
      return slot.hash == hash && slot.head == head && slot.size == size &&
             (size <= 8 || std::memcmp(tokens_.spellings[slot.id - 1].data() + 8,
                                       spelling.data() + 8, size - 8) == 0);
    };
    size_t at = hash & (slots.size() - 1);
    while (slots[at].id != 0 && !same(slots[at])) at = (at + 1) & (slots.size() - 1);
    if (slots[at].id == 0) {
      tokens_.spellings.push_back(spelling);
      tokens_.frequencies.push_back(0);
      slots[at] = {hash, head, size, static_cast<uint32_t>(tokens_.spellings.size())};
      const uint32_t id = slots[at].id - 1;
      if (tokens_.spellings.size() * 2 > slots.size()) grow();
      ++tokens_.frequencies[id];
      ids_.push_back(id);
    } else {
      ++tokens_.frequencies[slots[at].id - 1];
      ids_.push_back(slots[at].id - 1);
    }
    lines_.push_back(line);
  }
  tokens_.stream =
      std::string_view(reinterpret_cast<const char*>(ids_.data()), ids_.size() * sizeof(uint32_t));
  tokens_.width = sizeof(uint32_t);
  tokens_.utf8 = utf8;
  tokens_.lines = lines_.data();
}

std::string_view DocumentTokens::TextOf(const QueryMatch& match) const {
  if (match.length == 0 || match.first + match.length > runs_.size()) return {};
  const TokenRun& first = runs_[match.first];
  const TokenRun& last = runs_[match.first + match.length - 1];
  return text_.substr(first.begin, last.begin + last.size - first.begin);
}

}  // namespace quillmoor
