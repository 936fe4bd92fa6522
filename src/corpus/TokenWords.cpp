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
  // The words first: the new tokens may stand for them.
  for (LearnedWords::Word& w : learned.words) {
    entered_.push_back(static_cast<int>(w.text.size()) <= maxLength_);
    words_.push_back({std::move(w.text), std::move(w.parts)});
  }
  for (size_t w = words_.size() - learned.words.size(); w < words_.size(); ++w) {
    std::vector<int32_t>& parts = words_[w].parts;
    std::erase_if(parts, [this](int32_t part) { return !entered_[static_cast<size_t>(part)]; });
    tallies_.emplace_back().parts = !parts.empty();
  }
  for (const int32_t w : learned.wordOfToken)
    wordOfToken_.push_back(w >= 0 && entered_[static_cast<size_t>(w)] ? w : -1);
}

void TokenWordEntry::Occur(int32_t w, uint32_t token) {
  Tally& tally = tallies_[static_cast<size_t>(w)];
  occurrences_.emplace_back(w, token);
  if (tally.in == document_ + 1) {
    ++tally.count;
    return;
  }
  tally.in = document_ + 1;
  tally.count = 1;
  met_.push_back(w);
  if (empty_) {  // the table's very first word enters no parts
    empty_ = false;
    return;
  }
  if (!tally.parts) return;
  for (const int32_t part : words_[static_cast<size_t>(w)].parts) Occur(part, token);
}

void TokenWordEntry::EnterAll(const std::vector<uint32_t>& ids) {
  ++document_;
  empty_ = true;
  met_.clear();
  occurrences_.clear();
  occurrences_.reserve(ids.size());
  // Each token's word's tally is asked of the memory a few tokens before it is needed.
  constexpr size_t kAhead = 16;
  for (size_t i = 0; i < ids.size(); ++i) {
    if (i + kAhead < ids.size()) {
      const int32_t later = wordOfToken_[ids[i + kAhead]];
      if (later >= 0) __builtin_prefetch(&tallies_[static_cast<size_t>(later)], 1);
    }
    const int32_t w = wordOfToken_[ids[i]];
    if (w < 0) continue;
    // A word met before in the document is only counted (Occur's first lines, here
    // without the call).
    Tally& tally = tallies_[static_cast<size_t>(w)];
    if (tally.in == document_ + 1) {
      occurrences_.emplace_back(w, static_cast<uint32_t>(i));
      ++tally.count;
      continue;
    }
    Occur(w, static_cast<uint32_t>(i));
  }
  // Each word's tokens together, in order (a counting sort by word).
  uint32_t at = 0;
  for (const int32_t w : met_) {
    Tally& tally = tallies_[static_cast<size_t>(w)];
    tally.at = at;
    at += tally.count;
  }
  tokens_.resize(occurrences_.size());
  for (const auto& [w, token] : occurrences_)
    tokens_[tallies_[static_cast<size_t>(w)].at++] = token;
}

void TokenWordEntry::Encode(std::string* bytes, DocumentPieces* pieces) {
  bytes->resize(10 * met_.size() + 5 * tokens_.size());
  uint8_t* out = reinterpret_cast<uint8_t*>(bytes->data());
  pieces->resize(met_.size());
  const uint32_t* token = tokens_.data();
  for (size_t k = 0; k < met_.size(); ++k) {
    const Tally& tally = tallies_[static_cast<size_t>(met_[k])];
    (*pieces)[k] = {static_cast<uint32_t>(tally.id), PutPiece(token, tally.count, out)};
    token += tally.count;
  }
}

}  // namespace quillmoor
