// The analyses' results as tables: what the explorer's tabs show and sort, and what
// the CLI and the tabs' exports write (text, tsv, csv, jsonl; UTF-8).
//
// text   columns aligned for a terminal, numbers right-aligned
// tsv    a header line, then tab-separated fields
// csv    RFC 4180, CR LF line ends (as the lines' export)
// jsonl  one JSON object per row, keyed by the column names, numbers as numbers
#ifndef QUILLMOOR_ANALYSES_ANALYSISTABLE_H_
#define QUILLMOOR_ANALYSES_ANALYSISTABLE_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "analyses/Collocates.h"
#include "analyses/Dispersion.h"
#include "analyses/Ngrams.h"
#include "explore/KwicExport.h"

namespace quillmoor {

struct AnalysisCell {
  std::string text;   // UTF-8, as shown
  double number = 0;  // a numeric column's value (for sorting and JSON); a word's place
                      // in the table's alphabetical order (its sorts follow the table's)
};

struct AnalysisTable {
  struct Column {
    std::string name;
    bool numeric = false;
  };
  std::vector<Column> columns;
  std::vector<std::vector<AnalysisCell>> rows;
};

// The rows' indices in the order of a column (numbers by value, texts by byte order),
// ties keeping their order.
std::vector<size_t> SortedOrder(const AnalysisTable& table, size_t column, bool descending);

AnalysisTable CollocateTable(const TokenStream& tokens, const std::vector<Collocate>& collocates);
AnalysisTable NgramTable(const TokenStream& tokens, const std::vector<Ngram>& ngrams);
AnalysisTable DispersionTable(const TokenStream& tokens, const std::vector<DispersionRow>& rows);

// The table as `format` (kHtml is not one of the tables' formats), its rows in `order`
// when one is given.
void ExportTable(const AnalysisTable& table, KwicFormat format,
                 const std::function<void(std::string_view)>& write,
                 const std::vector<size_t>* order = nullptr);

}  // namespace quillmoor

#endif  // QUILLMOOR_ANALYSES_ANALYSISTABLE_H_
