// A corpus's tokens for the query evaluator: the index's token stream as it lies in the
// mapped file, its token lexicon, and each kept document's tokens as a range (matches
// stay within a document). No line is known: a limit to a line holds for every match.
//
// Contract: the index and the subcorpus must outlive the result.
#ifndef QUILLMOOR_QUERY_CORPUSTOKENS_H_
#define QUILLMOOR_QUERY_CORPUSTOKENS_H_

#include <cstdint>
#include <vector>

#include "corpus/CorpusIndex.h"
#include "corpus/Subcorpus.h"
#include "query/Evaluate.h"

namespace quillmoor {

QueryTokens TokensOfCorpus(const CorpusIndex& index);
// The ranges of the documents the subcorpus keeps, in document order.
std::vector<TokenRange> RangesOf(const CorpusIndex& index, const Subcorpus& subcorpus);
// The document a match's token lies in (ranges' documents in order); -1 for none.
int64_t DocumentOf(const CorpusIndex& index, uint64_t token);

}  // namespace quillmoor

#endif  // QUILLMOOR_QUERY_CORPUSTOKENS_H_
