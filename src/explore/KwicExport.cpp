#include "explore/KwicExport.h"

#include <algorithm>
#include <cstdio>

#include "shared/Cp1252.h"

namespace quillmoor {
namespace {

constexpr const char* kColumns[] = {"left", "keyword", "right", "word", "frequency", "line", "offset"};

std::string HtmlEscaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

}  // namespace

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

void ExportKwic(const KwicRows& rows, size_t first, size_t last, int width, KwicFormat format,
                const std::function<void(std::string_view)>& write) {
  last = std::min(last, rows.size());
  size_t leftWidth = 0;  // text: the widest left context, in characters
  if (format == KwicFormat::kText) {
    for (size_t i = first; i < last; ++i) leftWidth = std::max(leftWidth, rows.Cut(rows.row(i), width).left.size());
  }
  const char* separator = format == KwicFormat::kCsv ? "," : "\t";
  const char* lineEnd = format == KwicFormat::kCsv ? "\r\n" : "\n";
  if (format == KwicFormat::kTsv || format == KwicFormat::kCsv) {
    std::string header;
    for (const char* column : kColumns) header += (header.empty() ? "" : separator) + std::string(column);
    write(header + lineEnd);
  } else if (format == KwicFormat::kHtml) {
    write("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Concordance lines</title>\n"
          "<style>td.left{text-align:right}td.keyword{text-align:center}mark{background:#ffe08a}</style>"
          "</head>\n<body><table>\n<tr><th>left</th><th>keyword</th><th>right</th><th>word</th>"
          "<th>frequency</th><th>line</th><th>offset</th></tr>\n");
  }
  std::string out;
  for (size_t i = first; i < last; ++i) {
    const KwicRow& row = rows.row(i);
    const KwicCut cut = rows.Cut(row, width);
    const WordRecord& record = rows.word(row);
    const std::string fields[] = {Cp1252ToUtf8(cut.left),     Cp1252ToUtf8(cut.keyword),
                                  Cp1252ToUtf8(cut.right),    Cp1252ToUtf8(record.strWord),
                                  std::to_string(record.lngFrequency), std::to_string(rows.LineOf(row.position)),
                                  std::to_string(row.position)};
    out.clear();
    switch (format) {
      case KwicFormat::kText:
        out = std::string(leftWidth - cut.left.size(), ' ') + fields[0] + "  " + fields[1] + "  " + fields[2] + "\n";
        break;
      case KwicFormat::kTsv:
      case KwicFormat::kCsv:
        for (size_t f = 0; f < 7; ++f) {
          if (f > 0) out += separator;
          out += format == KwicFormat::kCsv ? CsvField(fields[f]) : fields[f];
        }
        out += lineEnd;
        break;
      case KwicFormat::kJsonl:
        out = "{";
        for (size_t f = 0; f < 7; ++f) {
          if (f > 0) out += ",";
          out += JsonString(kColumns[f]) + ":" + (f < 4 ? JsonString(fields[f]) : fields[f]);
        }
        out += "}\n";
        break;
      case KwicFormat::kHtml:
        out = "<tr><td class=\"left\">" + HtmlEscaped(fields[0]) + "</td><td class=\"keyword\"><mark>" +
              HtmlEscaped(fields[1]) + "</mark></td><td>" + HtmlEscaped(fields[2]) + "</td><td>" +
              HtmlEscaped(fields[3]) + "</td><td>" + fields[4] + "</td><td>" + fields[5] + "</td><td>" + fields[6] +
              "</td></tr>\n";
        break;
    }
    write(out);
  }
  if (format == KwicFormat::kHtml) write("</table></body></html>\n");
}

void ExportKwic(const KwicRows& rows, int width, KwicFormat format,
                const std::function<void(std::string_view)>& write) {
  ExportKwic(rows, 0, rows.size(), width, format, write);
}

}  // namespace quillmoor
