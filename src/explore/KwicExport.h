// The explorer's lines written out: as a table of left context, keyword, right
// context, the word, its frequency, the line and the character offset, in UTF-8. The
// lines of a paged document (a PDF) have its page as well: "p. N" at the start of a
// text line and in the HTML table's last column, the number in a last column "page"
// of the other formats.
//
// text   aligned for a terminal: the keyword column starts at one column
// tsv    a header line, then tab-separated fields (contexts hold no tabs or line ends)
// csv    RFC 4180: a header line, fields quoted when they hold a comma, a quote or a
//        line end, quotes doubled, CR LF line ends
// jsonl  one JSON object per line
// html   a page with one table, the keyword highlighted
#ifndef QUILLMOOR_EXPLORE_KWICEXPORT_H_
#define QUILLMOOR_EXPLORE_KWICEXPORT_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "explore/KwicRows.h"

namespace quillmoor {

enum class KwicFormat { kText, kTsv, kCsv, kJsonl, kHtml };

// "text", "tsv", "csv", "jsonl", "html". False when not one of them.
bool ParseKwicFormat(std::string_view name, KwicFormat* format);

// Writes rows [first, last) of `rows`, cut `width` words wide, as `format`; `write`
// receives the text piece by piece.
void ExportKwic(const KwicRows& rows, size_t first, size_t last, int width, KwicFormat format,
                const std::function<void(std::string_view)>& write);
void ExportKwic(const KwicRows& rows, int width, KwicFormat format,
                const std::function<void(std::string_view)>& write);

// Rows given group by group by `next` (false when there are no more), cut by `lines`,
// formatted in chunks on `threads` threads and written in order by the calling thread;
// `leftWidth` is the text format's column of keywords. Only the chunks under way are
// held, never all the rows.
void ExportKwicChunks(const KwicRows& lines, const std::function<bool(std::vector<KwicRow>*)>& next,
                      int width, KwicFormat format,
                      const std::function<void(std::string_view)>& write, unsigned threads,
                      size_t leftWidth);
// All the rows of `rows`, so.
void ExportKwicInParallel(const KwicRows& rows, int width, KwicFormat format,
                          const std::function<void(std::string_view)>& write, unsigned threads);

// The rows of `list` alone (no header), cut by `lines` (the text format unaligned).
void ExportKwicRows(const KwicRows& lines, const std::vector<KwicRow>& list, int width,
                    KwicFormat format, const std::function<void(std::string_view)>& write);

// A field as CSV writes it, and a string as JSON writes it (with its quotes).
std::string CsvField(std::string_view text);
std::string JsonString(std::string_view text);
// A text as HTML or XML writes it: & < > " escaped.
std::string HtmlEscaped(std::string_view text);

}  // namespace quillmoor

#endif  // QUILLMOOR_EXPLORE_KWICEXPORT_H_
