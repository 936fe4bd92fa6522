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
// Contract: the finder keeps the spellings it has met (by the writer's token ids) and
// the words; one finder serves the documents of one corpus, one at a time.
#ifndef QUILLMOOR_CORPUS_TOKENWORDS_H_
#define QUILLMOOR_CORPUS_TOKENWORDS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "corpus/CorpusIndex.h"
#include "corpus/TokenRuns.h"

namespace quillmoor {

class TokenWordFinder {
 public:
  explicit TokenWordFinder(int maxLength) : maxLength_(maxLength) {}

  // The tokens of the normalised text `text` (in its own case): their runs, and the
  // words with the tokens they stand in. `intern` gives a spelling's token id (ids
  // from 0, each new one the next), `wordId` a word's id.
  // `runs` are the text's runs as FindTokenRuns cuts them (on any thread).
  template <typename Intern, typename WordIdOf>
  void Find(std::string_view text, const std::vector<TokenRun>& runs, std::vector<uint32_t>* ids,
            DocumentWordIds* words, Intern intern, WordIdOf wordId) {
    ids->resize(runs.size());
    for (size_t i = 0; i < runs.size(); ++i) {
      const TokenRun& r = runs[i];
      const uint32_t id = intern(text.substr(r.begin, r.size));
      (*ids)[i] = id;
      if (id >= wordOfToken_.size()) Learn(id, text.substr(r.begin, r.size));
    }
    Enter(*ids);
    words->clear();
    words->reserve(met_.size());
    for (int32_t w : met_) {
      Word& word = words_[static_cast<size_t>(w)];
      if (word.id < 0) word.id = wordId(word.text);
      words->emplace_back(static_cast<uint32_t>(word.id), std::move(tokensOf_[static_cast<size_t>(w)]));
      tokensOf_[static_cast<size_t>(w)].clear();
    }
  }

 private:
  struct Word {
    std::string text;
    std::vector<int32_t> parts;  // the words its hyphen splits it into (as entered)
    bool split = false;          // parts worked out
    int64_t id = -1;             // its id for the caller, once asked
  };
  void Learn(uint32_t id, std::string_view spelling);
  int32_t WordIdOf(std::string_view word);
  // The table's handling of one occurrence of word `w` in token `token`.
  void Occur(int32_t w, int32_t token);
  void Enter(const std::vector<uint32_t>& ids);

  int maxLength_;
  std::vector<int32_t> wordOfToken_;  // by token id: its word, or -1
  std::vector<Word> words_;
  std::unordered_map<std::string, int32_t> wordIds_;
  // The document under way: its words' tokens, and the words it has met.
  std::vector<uint32_t> seenIn_;  // by word: 1 + the document that last met it
  std::vector<std::vector<int32_t>> tokensOf_;
  std::vector<int32_t> met_;
  uint32_t document_ = 0;
  bool empty_ = true;  // no word entered yet in the document
};

}  // namespace quillmoor

#endif  // QUILLMOOR_CORPUS_TOKENWORDS_H_
