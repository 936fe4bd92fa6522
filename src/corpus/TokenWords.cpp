#include "corpus/TokenWords.h"

#include "engine/WordRules.h"
#include "engine/WordScanner.h"
#include "engine/WordTable.h"

namespace quillmoor {

int32_t TokenWordFinder::WordIdOf(std::string_view word) {
  const auto [at, fresh] = wordIds_.try_emplace(std::string(word), static_cast<int32_t>(words_.size()));
  if (fresh) {
    words_.push_back({std::string(word), {}, false, -1});
    seenIn_.push_back(0);
    tokensOf_.emplace_back();
  }
  return at->second;
}

void TokenWordFinder::Learn(uint32_t id, std::string_view spelling) {
  // The scanner's run: the spelling in lower case, between spaces.
  const std::string run = " " + LowerCaseAccented(std::string(spelling)) + " ";
  int32_t lngLP = 2;
  const std::string_view w = ScanWord(run, lngLP);
  if (wordOfToken_.size() <= id) wordOfToken_.resize(id + 1, -1);
  wordOfToken_[id] = IsAcceptedWord(w, maxLength_) ? WordIdOf(w) : -1;
}

void TokenWordFinder::Occur(int32_t w, int32_t token) {
  // A word longer than the table allows is not entered (a part can be).
  if (static_cast<int>(words_[static_cast<size_t>(w)].text.size()) > maxLength_) return;
  std::vector<int32_t>& tokens = tokensOf_[static_cast<size_t>(w)];
  if (seenIn_[static_cast<size_t>(w)] == document_ + 1) {
    tokens.push_back(token);
    return;
  }
  seenIn_[static_cast<size_t>(w)] = document_ + 1;
  met_.push_back(w);
  tokens.push_back(token);
  if (empty_) {  // the table's very first word enters no parts
    empty_ = false;
    return;
  }
  if (!words_[static_cast<size_t>(w)].split) {
    const std::string text = words_[static_cast<size_t>(w)].text;
    std::vector<int32_t> parts;
    const size_t hyphen = text.find('-');
    if (hyphen != std::string::npos) {
      const std::string_view left = std::string_view(text).substr(0, hyphen);
      const std::string_view right = std::string_view(text).substr(hyphen + 1);
      if (left.size() > 1 && !IsInteger(left)) parts.push_back(WordIdOf(left));
      if (right.size() >= 2 && !IsInteger(right)) parts.push_back(WordIdOf(right));
    }
    words_[static_cast<size_t>(w)].parts = std::move(parts);
    words_[static_cast<size_t>(w)].split = true;
  }
  const std::vector<int32_t> parts = words_[static_cast<size_t>(w)].parts;
  for (int32_t part : parts) Occur(part, token);
}

void TokenWordFinder::Enter(const std::vector<uint32_t>& ids) {
  ++document_;
  empty_ = true;
  met_.clear();
  for (size_t i = 0; i < ids.size(); ++i) {
    const int32_t w = wordOfToken_[ids[i]];
    if (w >= 0) Occur(w, static_cast<int32_t>(i));
  }
}

}  // namespace quillmoor
