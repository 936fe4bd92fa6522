#include "analyses/AnalysisTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "shared/Cp1252.h"
#include "shared/Utf8.h"
#include "shared/WordRuleSet.h"

namespace quillmoor {
namespace {

AnalysisCell Count(int64_t n) { return {std::to_string(n), static_cast<double>(n)}; }

AnalysisCell Measure(double x, int decimals = 3) {
  if (!std::isfinite(x)) return {x > 0 ? "inf" : x < 0 ? "-inf" : "nan", x};
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, x);
  return {buffer, x};
}

AnalysisCell Word(const TokenStream& tokens, int32_t word) {
  return {EngineTextAsUtf8(WordRuleSetOf(tokens.source().utf8),
                           (*tokens.source().words)[static_cast<size_t>(word)].strWord),
          static_cast<double>(word)};  // the table is in alphabetical order
}

// A JSON number: non-finite values have none, and are written as null.
std::string JsonNumber(const AnalysisCell& cell) {
  return std::isfinite(cell.number) ? cell.text : "null";
}

}  // namespace

std::vector<size_t> SortedOrder(const AnalysisTable& table, size_t column, bool descending) {
  std::vector<size_t> order(table.rows.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  const bool numeric = table.columns[column].numeric;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const AnalysisCell& x = table.rows[descending ? b : a][column];
    const AnalysisCell& y = table.rows[descending ? a : b][column];
    if (numeric) return x.number < y.number;
    // Words by their place in the table's order (a language's, when one was chosen).
    return x.number != y.number && x.number != 0 && y.number != 0 ? x.number < y.number
                                                                  : x.text < y.text;
  });
  return order;
}

AnalysisTable CollocateTable(const TokenStream& tokens, const std::vector<Collocate>& collocates) {
  AnalysisTable table;
  table.columns = {{"collocate", false}, {"frequency", true}, {"left", true},
                   {"right", true},      {"total", true},     {"logdice", true},
                   {"mi", true},         {"t", true},         {"ll", true}};
  for (const Collocate& c : collocates) {
    table.rows.push_back({Word(tokens, c.word), Count(c.frequency), Count(c.left), Count(c.right),
                          Count(c.total), Measure(c.logDice), Measure(c.mi), Measure(c.t),
                          Measure(c.ll)});
  }
  return table;
}

AnalysisTable NgramTable(const TokenStream& tokens, const std::vector<Ngram>& ngrams) {
  AnalysisTable table;
  const bool places = !ngrams.empty() && ngrams.front().place != 0;
  table.columns = {
      {"ngram", false}, {"frequency", true}, {"first_line", true}, {"last_line", true}};
  if (places) table.columns.push_back({"place", false});
  for (const Ngram& g : ngrams) {
    std::vector<AnalysisCell> row = {
        {EngineTextAsUtf8(WordRuleSetOf(tokens.source().utf8), NgramText(tokens, g)), 0},
        Count(g.frequency),
        Count(g.firstLine),
        Count(g.lastLine)};
    if (places) row.push_back({NgramPlaceName(g), static_cast<double>(g.place)});
    table.rows.push_back(std::move(row));
  }
  return table;
}

AnalysisTable DispersionTable(const TokenStream& tokens, const std::vector<DispersionRow>& rows) {
  AnalysisTable table;
  table.columns = {{"word", false}, {"frequency", true}, {"juilland_d", true}, {"gries_dp", true}};
  for (int i = 1; i <= kDispersionParts; ++i)
    table.columns.push_back({"part" + std::to_string(i), true});
  for (const DispersionRow& r : rows) {
    std::vector<AnalysisCell> row = {
        r.label.empty()
            ? Word(tokens, r.word)
            : AnalysisCell{EngineTextAsUtf8(WordRuleSetOf(tokens.source().utf8), r.label),
                           static_cast<double>(r.word)},
        Count(static_cast<int64_t>(r.tokens.size())), Measure(r.juillandD), Measure(r.griesDP)};
    for (int32_t v : r.parts) row.push_back(Count(v));
    table.rows.push_back(std::move(row));
  }
  return table;
}

void ExportTable(const AnalysisTable& table, KwicFormat format,
                 const std::function<void(std::string_view)>& write,
                 const std::vector<size_t>* order) {
  const size_t n = table.columns.size();
  std::vector<const std::vector<AnalysisCell>*> rows;
  for (size_t i = 0; i < table.rows.size(); ++i)
    rows.push_back(&table.rows[order ? (*order)[i] : i]);
  std::string out;
  auto flush = [&] {
    if (out.size() >= (1 << 16)) {
      write(out);
      out.clear();
    }
  };
  if (format == KwicFormat::kText) {
    std::vector<size_t> widths(n);
    for (size_t c = 0; c < n; ++c) widths[c] = Utf8Length(table.columns[c].name);
    for (const auto* row : rows) {
      for (size_t c = 0; c < n; ++c) widths[c] = std::max(widths[c], Utf8Length((*row)[c].text));
    }
    auto line = [&](auto cellText) {
      for (size_t c = 0; c < n; ++c) {
        const std::string text = cellText(c);
        const std::string pad(widths[c] - Utf8Length(text), ' ');
        if (c > 0) out += "  ";
        if (table.columns[c].numeric) {
          out += pad + text;
        } else {
          out += text;
          if (c + 1 < n) out += pad;
        }
      }
      out += '\n';
      flush();
    };
    line([&](size_t c) { return table.columns[c].name; });
    for (const auto* row : rows) line([&](size_t c) { return (*row)[c].text; });
  } else if (format == KwicFormat::kJsonl) {
    for (const auto* row : rows) {
      out += '{';
      for (size_t c = 0; c < n; ++c) {
        out += (c > 0 ? "," : "") + JsonString(table.columns[c].name) + ":" +
               (table.columns[c].numeric ? JsonNumber((*row)[c]) : JsonString((*row)[c].text));
      }
      out += "}\n";
      flush();
    }
  } else {
    const bool csv = format == KwicFormat::kCsv;
    const char* end = csv ? "\r\n" : "\n";
    auto field = [&](const std::string& text) { return csv ? CsvField(text) : text; };
    for (size_t c = 0; c < n; ++c)
      out += (c > 0 ? (csv ? "," : "\t") : "") + field(table.columns[c].name);
    out += end;
    for (const auto* row : rows) {
      for (size_t c = 0; c < n; ++c)
        out += (c > 0 ? (csv ? "," : "\t") : "") + field((*row)[c].text);
      out += end;
      flush();
    }
  }
  if (!out.empty()) write(out);
}

}  // namespace quillmoor
