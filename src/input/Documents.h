// The document formats read besides plain text, HTML, XML and .docx: PDF, EPUB,
// OpenDocument text and RTF. Each reader gives the document's text as UTF-8, the way
// a text file is read: lines (a PDF's lines, paragraphs, headings, list items) joined
// by the line-break mark " / ", a PDF's pages joined by kPageBreak (shared/PageMap.h).
// A refusal says why in a message for the person (problem) with its title (caption).
#ifndef QUILLMOOR_INPUT_DOCUMENTS_H_
#define QUILLMOOR_INPUT_DOCUMENTS_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillmoor {

enum class DocumentFormat { kOther, kPdf, kEpub, kOdf, kRtf };

// By the lower-case extension: "pdf", "epub", "odt" and "ott", "rtf".
DocumentFormat DocumentFormatOf(std::string_view extension);
// "PDF document", "EPUB book", "OpenDocument text", "RTF document".
const char* DocumentFormatName(DocumentFormat format);

struct DocumentLimits {
  // The longest text a reading may give (the scan's positions are 32-bit).
  long long maxTextBytes = 2147483647LL;
  // What the entries of an archive (EPUB, OpenDocument) may expand to, in all.
  long long maxExpandedBytes = 512LL << 20;
  // Asked between pages and chapters: true stops the reading (refused, with the
  // problem "Stopped when reading file.").
  std::function<bool()> stopped;
};

struct DocumentReading {
  std::string text;
  std::string title;               // an EPUB's title, from its metadata
  int32_t firstPage = 0;           // a PDF: the number of its first page with text
  std::vector<int32_t> markPages;  // a PDF: the page after each page break
  int32_t pages = 0;               // a PDF: its number of pages
  std::string problem;             // why the document is refused
  std::string caption;             // the title of that message
};

// Reads `path` as `format`; false with reading->problem and ->caption set when it is
// refused.
bool ReadDocument(DocumentFormat format, const std::string& path, const DocumentLimits& limits,
                  DocumentReading* reading);

// For the readers: sets reading->problem to "The file PATH", a line break and
// `problem`, and the caption; returns false.
bool RefuseDocument(DocumentReading* reading, const std::string& path, const std::string& problem,
                    const char* caption);
// The problem of an archive whose entries expand past limits.maxExpandedBytes.
std::string ExpandsPastTheLimit(const DocumentLimits& limits);

// A paragraph or line of a document appended to *text: trimmed of spaces, with the
// line-break mark before it when *text holds something; nothing for an empty one.
void AppendDocumentLine(std::string_view line, std::string* text);

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_DOCUMENTS_H_
