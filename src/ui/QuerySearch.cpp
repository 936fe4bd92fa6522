#include "ui/QuerySearch.h"

#include <map>

#include "engine/WordTable.h"
#include "output/Kwic.h"
#include "output/PeopleText.h"
#include "shared/Cp1252.h"
#include "shared/Version.h"
#include "ui/Concordance.h"
#include "ui/Listing.h"
#include "ui/Program.h"

namespace quillmoor {
namespace {

// A wildcard pattern in Windows-1252; one with a character the code page lacks matches
// nothing (no token holds a control character). Expressions are matched in UTF-8.
void ToEngineText(WordPattern* w) {
  if (w->kind != WordPattern::Kind::kWildcard) return;
  for (std::string* s : {&w->text, &w->tail}) {
    std::string out;
    *s = Utf8ToCp1252(*s, &out) ? out : std::string("\x01");
  }
}

void NodeToEngineText(QueryNode* node) {
  ToEngineText(&node->word);
  for (WordPattern& w : node->phrase) ToEngineText(&w);
  if (node->first != nullptr) NodeToEngineText(node->first.get());
  if (node->second != nullptr) NodeToEngineText(node->second.get());
}

}  // namespace

bool ParseQueryFor(std::string_view text, WordRuleSet rules, Query* query, std::string* message) {
  QueryError error;
  if (!ParseQuery(text, query, &error)) {
    *message = QueryErrorMessage(text, error);
    return false;
  }
  if (rules != WordRuleSet::kUnicode) {
    for (QueryNode& node : query->alternatives) NodeToEngineText(&node);
  }
  return true;
}

bool FindQuery(const Query& query, std::string_view text, const QueryTokens& tokens,
               const QueryOptions& options, const std::vector<TokenRange>& ranges,
               std::vector<QueryMatch>* matches, std::string* message) {
  QueryEvaluator evaluator;
  QueryError error;
  if (!evaluator.Prepare(query, tokens, options, &error)) {
    *message = QueryErrorMessage(text, error);
    return false;
  }
  bool stopped = false;
  *matches = evaluator.Find(ranges, &stopped);
  if (stopped) {
    *message =
        "The query was stopped: its token pattern tries too many ways at every place "
        "(a repetition of any token, [], over long stretches); give its steps words, or "
        "fewer repetitions.\n  " +
        std::string(text);
    return false;
  }
  return true;
}

bool MatchDocument(std::string_view documentText, WordRuleSet rules, std::string_view text,
                   const QueryOptions& options, DocumentMatches* out, std::string* message,
                   std::shared_ptr<const DocumentTokens> tokens) {
  const bool utf8 = rules == WordRuleSet::kUnicode;
  Query query;
  if (!ParseQueryFor(text, rules, &query, message)) return false;
  out->tokens = tokens != nullptr ? std::move(tokens)
                                  : std::make_shared<const DocumentTokens>(documentText, utf8);
  if (!FindQuery(query, text, out->tokens->tokens(), options, out->tokens->All(), &out->matches,
                 message))
    return false;
  // The table: a record for each text matched, in lower case (where that keeps its
  // length: a record's word is found in the text by its length).
  std::map<std::string, int32_t> recordOf;
  out->table.assign(1, WordRecord{});
  for (const QueryMatch& m : out->matches) {
    const std::string_view matched = out->tokens->TextOf(m);
    std::string word = LowerIn(utf8, matched);
    if (word.size() != matched.size()) word = matched;
    auto [it, added] = recordOf.try_emplace(word, static_cast<int32_t>(out->table.size()));
    if (added) {
      WordRecord r;
      r.strWord = word;
      r.strSortKey = SortKeyIn(utf8, word);
      r.blnIncluded = true;
      out->table.push_back(std::move(r));
    }
    out->records.push_back(it->second);
    WordRecord& r = out->table[static_cast<size_t>(it->second)];
    ++r.lngFrequency;
    r.positions.push_back(static_cast<int32_t>(out->tokens->runs()[m.first].begin) + 1);
  }
  // Ranked by frequency, as a listing ranks its words.
  std::vector<int32_t> order;
  for (int32_t i = 1; i < static_cast<int32_t>(out->table.size()); ++i) order.push_back(i);
  std::stable_sort(order.begin(), order.end(), [&out](int32_t a, int32_t b) {
    return out->table[static_cast<size_t>(a)].lngFrequency >
           out->table[static_cast<size_t>(b)].lngFrequency;
  });
  for (size_t k = 0; k < order.size(); ++k) {
    WordRecord& r = out->table[static_cast<size_t>(order[k])];
    r.lngFreqRank = static_cast<int32_t>(k + 1);
    r.lngNextByFreq = k + 1 < order.size() ? order[k + 1] : 0;
  }
  return true;
}

std::string QuerySearchResults(const Program& p, const DocumentMatches& matches, bool windowsText) {
  const std::string crlf(kCrLf);
  const std::string header = "Input file: " + p.frmMain.txbFile[0].text + crlf +
                             "Search results file created using Quillmoor (V." + VersionText() +
                             "): " + DateStamp() + crlf + crlf;
  std::vector<int32_t> order;
  for (int32_t i = 1; i < static_cast<int32_t>(matches.table.size()); ++i) order.push_back(i);
  const auto& t = matches.table;
  if (p.frmMain.cboWordOrder.listIndex == 1) {
    std::stable_sort(order.begin(), order.end(), [&t](int32_t a, int32_t b) {
      return t[static_cast<size_t>(a)].lngFreqRank < t[static_cast<size_t>(b)].lngFreqRank;
    });
  } else {
    std::stable_sort(order.begin(), order.end(), [&t](int32_t a, int32_t b) {
      const WordRecord &x = t[static_cast<size_t>(a)], &y = t[static_cast<size_t>(b)];
      return x.strSortKey != y.strSortKey ? x.strSortKey < y.strSortKey : x.strWord < y.strWord;
    });
  }
  std::string listing;
  KwicWriter writer;
  const KwicOptions options = ListingOptions(p);
  for (const int32_t i : order) writer.AppendEntry(t, p.strLine1, options, nullptr, i, listing);
  std::string out;
  PeopleTextEncoder encoder(windowsText, p.wordRules);
  encoder.Append({header, false}, &out);
  encoder.Append({listing, true}, &out);
  encoder.Append({crlf, false}, &out);
  encoder.Finish(&out);
  return out;
}

DocumentMatches MatchesOf(const DocumentMatches& matches, const std::vector<int32_t>& records) {
  std::vector<bool> wanted(matches.table.size(), false);
  for (const int32_t r : records) {
    if (r > 0 && static_cast<size_t>(r) < wanted.size()) wanted[static_cast<size_t>(r)] = true;
  }
  DocumentMatches out;
  out.tokens = matches.tokens;
  out.table = matches.table;
  for (size_t i = 0; i < matches.matches.size(); ++i) {
    if (!wanted[static_cast<size_t>(matches.records[i])]) continue;
    out.matches.push_back(matches.matches[i]);
    out.records.push_back(matches.records[i]);
  }
  return out;
}

std::vector<NodeSpan> MatchSpans(const TokenStream& tokens, const DocumentMatches& matches) {
  std::vector<NodeSpan> spans;
  spans.reserve(matches.matches.size());
  const std::vector<Token>& all = tokens.tokens();
  const auto firstAt = [&all](int32_t position) {
    return static_cast<size_t>(
        std::lower_bound(all.begin(), all.end(), position,
                         [](const Token& t, int32_t p) { return t.position < p; }) -
        all.begin());
  };
  for (const QueryMatch& m : matches.matches) {
    const std::string_view text = matches.tokens->TextOf(m);
    const auto begin = static_cast<int32_t>(matches.tokens->runs()[m.first].begin) + 1;
    spans.push_back({firstAt(begin), firstAt(begin + static_cast<int32_t>(text.size()))});
  }
  return spans;
}

std::vector<DispersionRow> DisperseMatches(const TokenStream& tokens,
                                           const DocumentMatches& matches) {
  const std::vector<NodeSpan> spans = MatchSpans(tokens, matches);
  // A row for each sequence of words matched (in lower case, a line's break no
  // difference), in the order of their first matches.
  const bool utf8 = tokens.source().utf8;
  std::map<std::string, size_t> rowOf;
  std::vector<std::string> labels;
  std::vector<std::vector<size_t>> at;
  for (size_t i = 0; i < matches.matches.size() && tokens.size() > 0; ++i) {
    const QueryMatch& m = matches.matches[i];
    std::string label;
    for (uint64_t t = m.first; t < m.first + m.length; ++t) {
      const std::string_view spelling =
          matches.tokens->tokens().spellings[matches.tokens->tokens().TypeAt(t)];
      label += (label.empty() ? "" : " ") + LowerIn(utf8, spelling);
    }
    const auto [it, added] = rowOf.try_emplace(label, labels.size());
    if (added) {
      labels.push_back(label);
      at.emplace_back();
    }
    at[it->second].push_back(std::min(spans[i].begin, tokens.size() - 1));
  }
  std::vector<DispersionRow> rows;
  for (size_t r = 0; r < labels.size(); ++r) {
    DispersionRow row = DisperseTokens(tokens, std::move(at[r]), labels[r]);
    row.word = static_cast<int32_t>(r + 1);
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace quillmoor
