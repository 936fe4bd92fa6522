// The query language over the document a run read: its tokens, the matches of a query
// and, for the explorer's lines and the analyses, the matches as a table of their own
// (one record for each distinct text matched, its positions those of its matches), so
// that lines, sorts and exports work on matches as they do on words.
#ifndef QUILLMOOR_UI_QUERYSEARCH_H_
#define QUILLMOOR_UI_QUERYSEARCH_H_

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "analyses/Collocates.h"
#include "analyses/Dispersion.h"
#include "analyses/Tokens.h"
#include "engine/WordRecord.h"
#include "query/DocumentTokens.h"
#include "query/Evaluate.h"
#include "query/Query.h"
#include "shared/WordRuleSet.h"

namespace quillmoor {

// Parses a query typed in UTF-8 for text under `rules`: the wildcard patterns put in
// the engine text (a character Windows-1252 lacks matches nothing there). False with
// *message, the parser's, quoting the query.
bool ParseQueryFor(std::string_view text, WordRuleSet rules, Query* query, std::string* message);

// Prepares `query` over `tokens` and finds its matches in `ranges`; false with *message
// when an expression is refused or stopped.
bool FindQuery(const Query& query, std::string_view text, const QueryTokens& tokens,
               const QueryOptions& options, const std::vector<TokenRange>& ranges,
               std::vector<QueryMatch>* matches, std::string* message);

struct DocumentMatches {
  std::shared_ptr<const DocumentTokens> tokens;
  std::vector<QueryMatch> matches;
  std::vector<WordRecord> table;  // records 1..n: the texts matched (index 0 unused)
  std::vector<int32_t> records;   // by match: its text's record
};

// The matches of the query `text` in a document's display text (which must outlive
// *out); false with *message. `tokens`, when given, are the text's tokens made before
// (a window that queries one document again and again makes them once).
bool MatchDocument(std::string_view documentText, WordRuleSet rules, std::string_view text,
                   const QueryOptions& options, DocumentMatches* out, std::string* message,
                   std::shared_ptr<const DocumentTokens> tokens = nullptr);

struct Program;

// The search-results file of a query (doc/search-format.md), as the document p's run read
// gives it: for each text matched (in the listing's order, alphabetical or by frequency)
// a blank line, its heading and its context lines, centred on the whole match. UTF-8 or,
// with `windowsText`, Windows-1252 with CR LF.
std::string QuerySearchResults(const Program& p, const DocumentMatches& matches, bool windowsText);

// The matches of `matches` whose texts are among `records` (indices in its table; the
// table itself stays).
DocumentMatches MatchesOf(const DocumentMatches& matches, const std::vector<int32_t>& records);

// The matches as nodes of the run's stream of scanner words (analyses/Tokens.h): each
// the tokens that lie within its text, in text order.
std::vector<NodeSpan> MatchSpans(const TokenStream& tokens, const DocumentMatches& matches);
// A dispersion row for each sequence of words matched (in lower case, in the order of
// their first matches), its occurrences the first token of each match.
std::vector<DispersionRow> DisperseMatches(const TokenStream& tokens,
                                           const DocumentMatches& matches);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_QUERYSEARCH_H_
