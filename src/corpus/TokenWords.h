// The words of a document found from its tokens: what the word scanner enters into a
// word table, under the Windows-1252 rules, for a text without character entities,
// worked out once for each spelling of a token instead of once for each occurrence.
//
// A token's spelling, in lower case, is one scanner run: its word is what the scanner
// makes of that run (or none). As in a word table, a hyphenated word met for the first
// time in the document (not as the document's very first word) also enters its parts,
// each standing in the whole word's token. The word scanner itself stays the reference:
// tests compare the two on random documents.
//
// Contract: the work has two sides that may run on two threads: TokenSpellings learns
// the spellings (by the writer's token ids) and their words, TokenWordEntry enters a
// document's tokens; what the first learns reaches the second as LearnedWords, before
// the documents that need it. One pair serves the documents of one corpus, in order.
#ifndef QUILLMOOR_CORPUS_TOKENWORDS_H_
#define QUILLMOOR_CORPUS_TOKENWORDS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "corpus/CorpusIndex.h"
#include "corpus/TokenRuns.h"

namespace quillmoor {

// What the spellings' side has learned since it was last asked: the word of each new
// token id (in id order, -1 for none), and the new words with their parts.
struct LearnedWords {
  struct Word {
    std::string text;
    std::vector<int32_t> parts;  // the words its hyphen splits it into
  };
  std::vector<int32_t> wordOfToken;
  std::vector<Word> words;
  bool empty() const { return wordOfToken.empty() && words.empty(); }
};

// The spellings' side: which word each token id stands for.
class TokenSpellings {
 public:
  explicit TokenSpellings(int maxLength) : maxLength_(maxLength) {}
  // The ids of the runs' tokens of `text` (`intern` gives a spelling's id: ids from 0,
  // each new one the next), each new spelling learned.
  template <typename Intern>
  void Identify(std::string_view text, const std::vector<TokenRun>& runs,
                std::vector<uint32_t>* ids, Intern intern) {
    ids->resize(runs.size());
    for (size_t i = 0; i < runs.size(); ++i) {
      const std::string_view spelling = text.substr(runs[i].begin, runs[i].size);
      const uint32_t id = intern(spelling);
      (*ids)[i] = id;
      if (id >= known_) Learn(id, spelling);
    }
  }
  // Learns the spelling of the next token id (one an index to update already has).
  void Know(std::string_view spelling) { Learn(known_, spelling); }
  // What was learned since the last call.
  LearnedWords TakeLearned();

 private:
  void Learn(uint32_t id, std::string_view spelling);
  int32_t WordIdOf(std::string_view word);

  int maxLength_;
  uint32_t known_ = 0;  // token ids learned
  std::unordered_map<std::string, int32_t> wordIds_;
  int32_t firstUnsent_ = 0;  // the first word id not yet taken
  LearnedWords learned_;
};

// The words' side: a document's tokens entered as a word table enters them.
class TokenWordEntry {
 public:
  explicit TokenWordEntry(int maxLength) : maxLength_(maxLength) {}
  void Absorb(LearnedWords learned);
  // The words of a document of token ids, with the tokens they stand in (`wordId` gives
  // a word's id for the caller).
  template <typename WordIdOf>
  void Enter(const std::vector<uint32_t>& ids, DocumentWordIds* words, WordIdOf wordId) {
    EnterAll(ids);
    // The lists are swapped, not copied: each word's vector takes the room of the one
    // it gives, for the next document.
    words->resize(met_.size());
    for (size_t k = 0; k < met_.size(); ++k) {
      const auto w = static_cast<size_t>(met_[k]);
      Word& word = words_[w];
      if (word.id < 0) word.id = wordId(word.text);
      (*words)[k].first = static_cast<uint32_t>(word.id);
      (*words)[k].second.swap(seen_[w].tokens);
      seen_[w].tokens.clear();
    }
  }

 private:
  struct Word {
    std::string text;
    std::vector<int32_t> parts;
    int64_t id = -1;  // its id for the caller, once asked
  };
  void Occur(int32_t w, int32_t token);
  void EnterAll(const std::vector<uint32_t>& ids);

  // What Occur reads and writes of each word, token after token, apart from the rest.
  struct Seen {
    std::vector<int32_t> tokens;  // the document's tokens it stands in so far
    uint32_t in = 0;              // 1 + the document that last met it
    bool entered = true;          // not longer than the table allows
    bool parts = false;           // it has parts
  };

  int maxLength_;
  std::vector<int32_t> wordOfToken_;
  std::vector<Word> words_;
  std::vector<Seen> seen_;  // by word
  std::vector<int32_t> met_;
  uint32_t document_ = 0;
  bool empty_ = true;  // no word entered yet in the document
};

}  // namespace quillmoor

#endif  // QUILLMOOR_CORPUS_TOKENWORDS_H_
