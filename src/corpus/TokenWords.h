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
  // The ids of the runs' tokens of `text` (`intern(text, runs, ids)` gives them: ids
  // from 0, each new one the next, as CorpusWriter::InternAll does), each new spelling
  // learned.
  template <typename InternAll>
  void Identify(std::string_view text, const std::vector<TokenRun>& runs,
                std::vector<uint32_t>* ids, InternAll intern) {
    ids->resize(runs.size());
    intern(text, runs, ids->data());
    for (size_t i = 0; i < runs.size(); ++i) {
      if ((*ids)[i] >= known_) Learn((*ids)[i], text.substr(runs[i].begin, runs[i].size));
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

// The words' side: a document's tokens entered as a word table enters them, as the
// pieces of CorpusIndex.h's DocumentPieces.
class TokenWordEntry {
 public:
  explicit TokenWordEntry(int maxLength) : maxLength_(maxLength) {}
  void Absorb(LearnedWords learned);
  // The words of a document of token ids, as pieces (`wordId` gives a word's id for the
  // caller), their bytes in *bytes.
  template <typename WordIdOf>
  void Enter(const std::vector<uint32_t>& ids, std::string* bytes, DocumentPieces* pieces,
             WordIdOf wordId) {
    EnterAll(ids);
    for (const int32_t w : met_) {
      Tally& tally = tallies_[static_cast<size_t>(w)];
      if (tally.id < 0)
        tally.id = static_cast<int64_t>(wordId(words_[static_cast<size_t>(w)].text));
    }
    Encode(bytes, pieces);
  }

 private:
  struct Word {
    std::string text;
    std::vector<int32_t> parts;  // only words that are entered
  };
  // What the entry reads and writes of each word, apart from the rest: a few cache
  // lines hold the words that most tokens stand for.
  struct Tally {
    uint32_t in = 0;     // 1 + the document that last met it
    uint32_t count = 0;  // its tokens in that document
    uint32_t at = 0;     // where its tokens go next in `tokens_`
    bool parts = false;  // it has parts
    int64_t id = -1;     // its id for the caller, once asked
  };
  void Occur(int32_t w, uint32_t token);
  void EnterAll(const std::vector<uint32_t>& ids);
  void Encode(std::string* bytes, DocumentPieces* pieces);

  int maxLength_;
  // By token id: the word it stands for, or -1 (none, or one longer than the table
  // allows: such a word enters nothing, its parts neither).
  std::vector<int32_t> wordOfToken_;
  std::vector<Word> words_;
  std::vector<bool> entered_;   // by word
  std::vector<Tally> tallies_;  // by word
  std::vector<int32_t> met_;    // the document's words, in the order it met them
  // The document's (word, token) occurrences in order, then its tokens word by word.
  std::vector<std::pair<int32_t, uint32_t>> occurrences_;
  std::vector<uint32_t> tokens_;
  uint32_t document_ = 0;
  bool empty_ = true;  // no word entered yet in the document
};

}  // namespace quillmoor

#endif  // QUILLMOOR_CORPUS_TOKENWORDS_H_
