#include "corpus/TokenWords.h"

#include "engine/WordRules.h"
#include "engine/WordScanner.h"
#include "engine/WordTable.h"

namespace quillmoor {

int32_t TokenSpellings::WordIdOf(std::string_view word) {
  const auto [at, fresh] =
      wordIds_.try_emplace(std::string(word), static_cast<int32_t>(wordIds_.size()));
  if (!fresh) return at->second;
  const int32_t id = at->second;
  // A word's parts, as the table enters them for a new hyphenated word.
  LearnedWords::Word learned{std::string(word), {}};
  const size_t hyphen = word.find('-');
  if (hyphen != std::string_view::npos) {
    const std::string_view left = word.substr(0, hyphen), right = word.substr(hyphen + 1);
    if (left.size() > 1 && !IsInteger(left)) learned.parts.push_back(WordIdOf(left));
    if (right.size() >= 2 && !IsInteger(right)) learned.parts.push_back(WordIdOf(right));
  }
  // The parts took their ids first; the words go in id order.
  if (learned_.words.size() < wordIds_.size() - static_cast<size_t>(firstUnsent_))
    learned_.words.resize(wordIds_.size() - static_cast<size_t>(firstUnsent_));
  learned_.words[static_cast<size_t>(id - firstUnsent_)] = std::move(learned);
  return id;
}

void TokenSpellings::Learn(uint32_t id, std::string_view spelling) {
  // The scanner's run: the spelling in lower case, between spaces.
  const std::string run = " " + LowerCaseAccented(std::string(spelling)) + " ";
  int32_t lngLP = 2;
  const std::string_view w = ScanWord(run, lngLP);
  learned_.wordOfToken.push_back(IsAcceptedWord(w, maxLength_) ? WordIdOf(w) : -1);
  known_ = id + 1;
}

LearnedWords TokenSpellings::TakeLearned() {
  firstUnsent_ = static_cast<int32_t>(wordIds_.size());
  return std::exchange(learned_, {});
}

void TokenWordEntry::Absorb(LearnedWords learned) {
  wordOfToken_.insert(wordOfToken_.end(), learned.wordOfToken.begin(), learned.wordOfToken.end());
  for (LearnedWords::Word& w : learned.words) {
    seen_.push_back({{}, 0, static_cast<int>(w.text.size()) <= maxLength_, !w.parts.empty()});
    words_.push_back({std::move(w.text), std::move(w.parts), -1});
  }
}

void TokenWordEntry::Occur(int32_t w, int32_t token) {
  Seen& seen = seen_[static_cast<size_t>(w)];
  // A word longer than the table allows is not entered (a part can be).
  if (!seen.entered) return;
  seen.tokens.push_back(token);
  if (seen.in == document_ + 1) return;
  seen.in = document_ + 1;
  met_.push_back(w);
  if (empty_) {  // the table's very first word enters no parts
    empty_ = false;
    return;
  }
  if (!seen.parts) return;
  const std::vector<int32_t>& parts = words_[static_cast<size_t>(w)].parts;
  for (size_t k = 0; k < parts.size(); ++k) Occur(parts[k], token);
}

void TokenWordEntry::EnterAll(const std::vector<uint32_t>& ids) {
  ++document_;
  empty_ = true;
  met_.clear();
  for (size_t i = 0; i < ids.size(); ++i) {
    const int32_t w = wordOfToken_[ids[i]];
    if (w >= 0) Occur(w, static_cast<int32_t>(i));
  }
}

}  // namespace quillmoor
