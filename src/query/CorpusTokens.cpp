#include "query/CorpusTokens.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>

namespace quillmoor {

QueryTokens TokensOfCorpus(const CorpusIndex& index) {
  QueryTokens t;
  t.width = index.width();
  t.stream = index.StreamBytes(0, index.tokenCount());
  // The stream is read whole: its pages are mapped in one call rather than one fault at a
  // time (on a virtual machine a fault costs microseconds). A kernel without the call
  // leaves them to the faults.
#ifdef MADV_POPULATE_READ
  if (!t.stream.empty()) {
    const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<uintptr_t>(t.stream.data()) & ~(page - 1);
    const auto end = reinterpret_cast<uintptr_t>(t.stream.data() + t.stream.size());
    ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_READ);
  }
#endif
  t.utf8 = index.rules() == WordRuleSet::kUnicode;
  t.spellings.reserve(index.tokenTypes().size());
  t.frequencies.reserve(index.tokenTypes().size());
  for (const CorpusIndex::Token& token : index.tokenTypes()) {
    t.spellings.push_back(token.spelling);
    t.frequencies.push_back(token.frequency);
  }
  return t;
}

std::vector<TokenRange> RangesOf(const CorpusIndex& index, const Subcorpus& subcorpus) {
  std::vector<TokenRange> ranges;
  const std::vector<CorpusDocument>& documents = index.documents();
  for (uint32_t d = 0; d < documents.size(); ++d) {
    if (!subcorpus.Has(d) || documents[d].tokens == 0) continue;
    const uint64_t first = documents[d].firstToken;
    const uint64_t last = std::min(first + documents[d].tokens, index.tokenCount());
    if (first < last) ranges.push_back({first, last});
  }
  std::sort(ranges.begin(), ranges.end(),
            [](const TokenRange& a, const TokenRange& b) { return a.first < b.first; });
  return ranges;
}

int64_t DocumentOf(const CorpusIndex& index, uint64_t token) {
  const std::vector<CorpusDocument>& documents = index.documents();
  // (The documents' streams follow one another in document order.)
  const auto after =
      std::upper_bound(documents.begin(), documents.end(), token,
                       [](uint64_t t, const CorpusDocument& d) { return t < d.firstToken; });
  if (after == documents.begin()) return -1;
  const auto d = static_cast<int64_t>(after - documents.begin() - 1);
  const CorpusDocument& doc = documents[static_cast<size_t>(d)];
  return token < doc.firstToken + doc.tokens ? d : -1;
}

}  // namespace quillmoor
