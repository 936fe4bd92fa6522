#include "query/DocumentTokens.h"

#include <unordered_map>

namespace quillmoor {

DocumentTokens::DocumentTokens(std::string_view text, bool utf8) : text_(text) {
  FindTokenRuns(text, utf8, &runs_);
  ids_.reserve(runs_.size());
  lines_.reserve(runs_.size());
  std::unordered_map<std::string_view, uint32_t> idOf;
  size_t nextBreak = text.find(" / ");
  int32_t line = 1;
  for (const TokenRun& run : runs_) {
    while (nextBreak != std::string_view::npos && nextBreak < run.begin) {
      ++line;
      nextBreak = text.find(" / ", nextBreak + 3);
    }
    const std::string_view spelling = text.substr(run.begin, run.size);
    const auto [it, added] = idOf.try_emplace(spelling, static_cast<uint32_t>(idOf.size()));
    if (added) {
      tokens_.spellings.push_back(spelling);
      tokens_.frequencies.push_back(0);
    }
    ++tokens_.frequencies[it->second];
    ids_.push_back(it->second);
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
