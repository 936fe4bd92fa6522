#include "explore/KwicExport.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <future>

#include "engine/UnicodeWords.h"
#include "shared/Cp1252.h"
#include "shared/Utf8.h"
#include "shared/WordRuleSet.h"

namespace quillmoor {
namespace {

constexpr const char* kColumns[] = {"left",      "keyword", "right", "word",
                                    "frequency", "line",    "offset"};
// The column a paged document's rows have after the others.
constexpr const char* kPageColumn = "page";

}  // namespace

std::string HtmlEscaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

bool ParseKwicFormat(std::string_view name, KwicFormat* format) {
  static const std::pair<const char*, KwicFormat> kNames[] = {{"text", KwicFormat::kText},
                                                              {"tsv", KwicFormat::kTsv},
                                                              {"csv", KwicFormat::kCsv},
                                                              {"jsonl", KwicFormat::kJsonl},
                                                              {"html", KwicFormat::kHtml}};
  for (const auto& [n, f] : kNames) {
    if (name == n) {
      *format = f;
      return true;
    }
  }
  return false;
}

std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string out = "\"";
  for (char c : text) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  return out + "\"";
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (u < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", u);
      out += escape;
    } else {
      out.push_back(c);
    }
  }
  return out + "\"";
}

namespace {

void WriteHeader(const KwicRows& rows, KwicFormat format,
                 const std::function<void(std::string_view)>& write) {
  const char* separator = format == KwicFormat::kCsv ? "," : "\t";
  if (format == KwicFormat::kTsv || format == KwicFormat::kCsv) {
    std::string header;
    for (const char* column : kColumns)
      header += (header.empty() ? "" : separator) + std::string(column);
    if (rows.paged()) header += separator + std::string(kPageColumn);
    write(header + (format == KwicFormat::kCsv ? "\r\n" : "\n"));
  } else if (format == KwicFormat::kHtml) {
    write(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Concordance lines</title>\n"
        "<style>td.left{text-align:right}td.keyword{text-align:center}mark{background:#ffe08a}</"
        "style>"
        "</head>\n<body><table>\n<tr><th>left</th><th>keyword</th><th>right</th><th>word</th>"
        "<th>frequency</th><th>line</th><th>offset</th>" +
        std::string(rows.paged() ? "<th>page</th>" : "") + "</tr>\n");
  }
}

void WriteFooter(KwicFormat format, const std::function<void(std::string_view)>& write) {
  if (format == KwicFormat::kHtml) write("</table></body></html>\n");
}

// The characters of a piece of the table's text (its bytes, under the Windows-1252
// rules).
size_t Width(const KwicRows& rows, std::string_view text) {
  return rows.utf8() ? Utf8Length(text) : text.size();
}

// The widest left context of rows [first, last), in characters (text only).
size_t LeftWidth(const KwicRows& rows, size_t first, size_t last, int width, KwicFormat format) {
  size_t leftWidth = 0;
  if (format == KwicFormat::kText) {
    for (size_t i = first; i < last; ++i)
      leftWidth = std::max(leftWidth, Width(rows, rows.Cut(rows.row(i), width).left));
  }
  return leftWidth;
}

// Rows [first, last), formatted into one buffer, handed on in pieces of about 64 KB.
void WriteRows(const KwicRows& rows, const KwicRow* list, size_t count, int width,
               KwicFormat format, size_t leftWidth,
               const std::function<void(std::string_view)>& write) {
  const char* separator = format == KwicFormat::kCsv ? "," : "\t";
  const char* lineEnd = format == KwicFormat::kCsv ? "\r\n" : "\n";
  std::string out, field;
  const WordRuleSet rules = WordRuleSetOf(rows.utf8());
  auto utf8 = [&field, rules](std::string_view text) -> const std::string& {
    field.clear();
    AppendEngineTextAsUtf8(rules, text, &field);
    return field;
  };
  for (size_t i = 0; i < count; ++i) {
    const KwicRow& row = list[i];
    const KwicCut cut = rows.Cut(row, width);
    const WordRecord& record = rows.word(row);
    const std::string numbers[] = {std::to_string(record.lngFrequency),
                                   std::to_string(rows.LineOf(row.position)),
                                   std::to_string(row.position)};
    const std::string_view texts[] = {cut.left, cut.keyword, cut.right, record.strWord};
    const int32_t page = rows.PageOf(row.position);
    switch (format) {
      case KwicFormat::kText:
        if (page > 0) {
          // "p. N" in a column of its own at the start.
          const std::string label = PageLabel(page);
          out += label;
          out.append(label.size() < 8 ? 9 - label.size() : 1, ' ');
        }
        out.append(leftWidth - Width(rows, cut.left), ' ');
        AppendEngineTextAsUtf8(rules, cut.left, &out);
        out += "  ";
        AppendEngineTextAsUtf8(rules, cut.keyword, &out);
        out += "  ";
        AppendEngineTextAsUtf8(rules, cut.right, &out);
        out += '\n';
        break;
      case KwicFormat::kTsv:
      case KwicFormat::kCsv:
        for (size_t f = 0; f < 7; ++f) {
          if (f > 0) out += separator;
          const std::string& value = f < 4 ? utf8(texts[f]) : numbers[f - 4];
          out += format == KwicFormat::kCsv ? CsvField(value) : value;
        }
        if (page > 0) (out += separator) += std::to_string(page);
        out += lineEnd;
        break;
      case KwicFormat::kJsonl:
        out += '{';
        for (size_t f = 0; f < 7; ++f) {
          if (f > 0) out += ',';
          out += JsonString(kColumns[f]);
          out += ':';
          out += f < 4 ? JsonString(utf8(texts[f])) : numbers[f - 4];
        }
        if (page > 0) ((out += ",\"") += kPageColumn) += "\":" + std::to_string(page);
        out += "}\n";
        break;
      case KwicFormat::kHtml: {
        // A line of a right-to-left script reads from the right: what follows the
        // keyword stands on its left.
        const bool rtl = rows.utf8() && IsRightToLeft(cut.keyword);
        out += std::string(rtl ? "<tr dir=\"rtl\">" : "<tr>") + "<td class=\"left\">" +
               HtmlEscaped(utf8(rtl ? cut.right : cut.left)) + "</td><td class=\"keyword\"><mark>" +
               HtmlEscaped(utf8(cut.keyword)) + "</mark></td><td>" +
               HtmlEscaped(utf8(rtl ? cut.left : cut.right)) + "</td><td>" +
               HtmlEscaped(utf8(record.strWord)) + "</td><td>" + numbers[0] + "</td><td>" +
               numbers[1] + "</td><td>" + numbers[2] + "</td>" +
               (page > 0 ? "<td>" + PageLabel(page) + "</td>" : std::string()) + "</tr>\n";
      } break;
    }
    if (out.size() >= (1 << 16)) {
      write(out);
      out.clear();
    }
  }
  if (!out.empty()) write(out);
}

}  // namespace

void ExportKwic(const KwicRows& rows, size_t first, size_t last, int width, KwicFormat format,
                const std::function<void(std::string_view)>& write) {
  last = std::min(last, rows.size());
  WriteHeader(rows, format, write);
  WriteRows(rows, rows.rows().data() + first, last - first, width, format,
            LeftWidth(rows, first, last, width, format), write);
  WriteFooter(format, write);
}

void ExportKwicRows(const KwicRows& lines, const std::vector<KwicRow>& list, int width,
                    KwicFormat format, const std::function<void(std::string_view)>& write) {
  WriteRows(lines, list.data(), list.size(), width, format, 0, write);
}

void ExportKwicChunks(const KwicRows& lines, const std::function<bool(std::vector<KwicRow>*)>& next,
                      int width, KwicFormat format,
                      const std::function<void(std::string_view)>& write, unsigned threads,
                      size_t leftWidth) {
  constexpr size_t kChunk = 1 << 15;  // rows formatted by one task
  threads = std::max(1u, threads);
  WriteHeader(lines, format, write);
  std::deque<std::future<std::string>> pending;
  std::vector<KwicRow> group;  // rows given by `next` not yet in a chunk
  size_t used = 0;
  bool more = true;
  // The next chunk's rows, from the groups `next` gives.
  auto take = [&](std::vector<KwicRow>* chunk) {
    while (chunk->size() < kChunk) {
      if (used == group.size()) {
        used = 0;
        if (!more || !(more = next(&group))) break;
      }
      const size_t n = std::min(kChunk - chunk->size(), group.size() - used);
      chunk->insert(chunk->end(), group.begin() + static_cast<long>(used),
                    group.begin() + static_cast<long>(used + n));
      used += n;
    }
    return !chunk->empty();
  };
  auto start = [&] {
    std::vector<KwicRow> chunk;
    if (!take(&chunk)) return false;
    pending.push_back(std::async(
        std::launch::async, [&lines, chunk = std::move(chunk), width, format, leftWidth] {
          std::string text;
          WriteRows(lines, chunk.data(), chunk.size(), width, format, leftWidth,
                    [&text](std::string_view piece) { text += piece; });
          return text;
        }));
    return true;
  };
  while (pending.size() < threads && start()) {
  }
  while (!pending.empty()) {
    const std::string text = pending.front().get();
    pending.pop_front();
    start();
    write(text);
  }
  WriteFooter(format, write);
}

void ExportKwicInParallel(const KwicRows& rows, int width, KwicFormat format,
                          const std::function<void(std::string_view)>& write, unsigned threads) {
  size_t at = 0;
  ExportKwicChunks(
      rows,
      [&](std::vector<KwicRow>* out) {
        const size_t n = std::min<size_t>(rows.size() - at, 1 << 15);
        out->assign(rows.rows().begin() + static_cast<long>(at),
                    rows.rows().begin() + static_cast<long>(at + n));
        at += n;
        return n > 0;
      },
      width, format, write, threads, LeftWidth(rows, 0, rows.size(), width, format));
}

void ExportKwic(const KwicRows& rows, int width, KwicFormat format,
                const std::function<void(std::string_view)>& write) {
  ExportKwic(rows, 0, rows.size(), width, format, write);
}

}  // namespace quillmoor
