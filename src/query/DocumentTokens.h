// One document's tokens for the query evaluator: the runs of word characters of its
// display text (corpus/TokenRuns.h: the short words and stop words included), their
// spellings as a lexicon with their counts, and the line of each (1 + the line-break
// marks " / " before it), so that a document is queried as a corpus of one is.
//
// Contract: the text must outlive the object; the spellings point into it.
#ifndef QUILLMOOR_QUERY_DOCUMENTTOKENS_H_
#define QUILLMOOR_QUERY_DOCUMENTTOKENS_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "corpus/TokenRuns.h"
#include "query/Evaluate.h"

namespace quillmoor {

class DocumentTokens {
 public:
  DocumentTokens(std::string_view text, bool utf8);
  DocumentTokens(const DocumentTokens&) = delete;
  DocumentTokens& operator=(const DocumentTokens&) = delete;

  const QueryTokens& tokens() const { return tokens_; }
  const std::vector<TokenRun>& runs() const { return runs_; }
  // All the tokens, as the one range a search looks in.
  std::vector<TokenRange> All() const { return {{0, runs_.size()}}; }
  // The text of a match: from its first token's first byte to its last token's last.
  std::string_view TextOf(const QueryMatch& match) const;
  int32_t LineOf(uint64_t token) const { return lines_[token]; }

 private:
  std::string_view text_;
  std::vector<TokenRun> runs_;
  std::vector<uint32_t> ids_;
  std::vector<int32_t> lines_;
  QueryTokens tokens_;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_QUERY_DOCUMENTTOKENS_H_
