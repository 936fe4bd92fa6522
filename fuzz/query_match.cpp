// Query evaluation on any query over any small corpus: the first line the query, its
// first byte the options, the rest documents parted by form feeds. Matches come in
// order, one for a place, each inside its document and no longer than a match may be;
// the same stream in one or two bytes a token finds the same; PCRE2's limits stop an
// expression that backtracks without end, never a hang.
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "query/DocumentTokens.h"
#include "query/Evaluate.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 4096) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const QueryOptions options{(data[0] & 1) != 0, (data[0] & 2) == 0, (data[0] & 4) != 0};
  const bool utf8 = (data[0] & 8) != 0;
  const size_t end = input.find('\n');
  if (end == std::string_view::npos) return 0;
  const std::string_view text = input.substr(1, end - 1), documents = input.substr(end + 1);
  Query query;
  QueryError error;
  if (!ParseQuery(text, &query, &error)) return 0;
  const DocumentTokens tokens(documents, utf8);
  // The documents: the tokens between form feeds.
  std::vector<TokenRange> ranges;
  uint64_t first = 0;
  for (uint64_t i = 0; i <= tokens.runs().size(); ++i) {
    const bool last = i == tokens.runs().size();
    const size_t begin = last ? documents.size() : tokens.runs()[i].begin;
    const size_t before = i == 0 ? 0 : tokens.runs()[i - 1].begin;
    if (last || documents.substr(before, begin - before).find('\f') != std::string_view::npos) {
      if (first < i) ranges.push_back({first, i});
      first = i;
    }
  }
  QueryEvaluator evaluator;
  if (!evaluator.Prepare(query, tokens.tokens(), options, &error)) return 0;
  const std::vector<QueryMatch> matches = evaluator.Find(ranges);
  for (size_t i = 0; i < matches.size(); ++i) {
    const QueryMatch& m = matches[i];
    fuzz::Check(m.length >= 1 && m.length <= kMostMatchTokens, "a match of no token or too many");
    fuzz::Check(i == 0 || matches[i - 1].first < m.first, "matches out of order or doubled");
    bool inside = false;
    for (const TokenRange& r : ranges) inside |= m.first >= r.first && m.first + m.length <= r.last;
    fuzz::Check(inside, "a match across the end of a document");
  }
  // The same stream in one byte a token (when the types are few) and in two (the
  // scan of sixteen tokens at a time).
  for (const uint32_t width : {1u, 2u}) {
    QueryTokens narrow = tokens.tokens();
    if (narrow.spellings.size() > (size_t{1} << (8 * width))) continue;
    std::string bytes;
    for (uint64_t i = 0; i < narrow.size(); ++i) {
      const uint32_t id = narrow.TypeAt(i);
      bytes.append(reinterpret_cast<const char*>(&id), width);
    }
    narrow.stream = bytes;
    narrow.width = width;
    QueryEvaluator again;
    fuzz::Check(again.Prepare(query, narrow, options, &error) && again.Find(ranges) == matches,
                "fewer bytes a token find other matches");
  }
  return 0;
}
