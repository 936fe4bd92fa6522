#include "input/Documents.h"

#include "input/EpubText.h"
#include "input/OdfText.h"
#include "input/PdfText.h"
#include "input/RtfText.h"
#include "shared/Cp1252.h"

namespace quillmoor {

DocumentFormat DocumentFormatOf(std::string_view extension) {
  if (extension == "pdf") return DocumentFormat::kPdf;
  if (extension == "epub") return DocumentFormat::kEpub;
  if (extension == "odt" || extension == "ott") return DocumentFormat::kOdf;
  if (extension == "rtf") return DocumentFormat::kRtf;
  return DocumentFormat::kOther;
}

const char* DocumentFormatName(DocumentFormat format) {
  switch (format) {
    case DocumentFormat::kPdf:
      return "PDF document";
    case DocumentFormat::kEpub:
      return "EPUB book";
    case DocumentFormat::kOdf:
      return "OpenDocument text";
    case DocumentFormat::kRtf:
      return "RTF document";
    case DocumentFormat::kOther:
      break;
  }
  return "document";
}

bool ReadDocument(DocumentFormat format, const std::string& path, const DocumentLimits& limits,
                  DocumentReading* reading) {
  *reading = DocumentReading();
  switch (format) {
    case DocumentFormat::kPdf:
      return ReadPdfDocument(path, limits, reading);
    case DocumentFormat::kEpub:
      return ReadEpubDocument(path, limits, reading);
    case DocumentFormat::kOdf:
      return ReadOdfDocument(path, limits, reading);
    case DocumentFormat::kRtf:
      return ReadRtfDocument(path, limits, reading);
    case DocumentFormat::kOther:
      break;
  }
  reading->problem = "The file " + path + " is not a document of a kind read here.";
  reading->caption = "Input file";
  return false;
}

bool RefuseDocument(DocumentReading* reading, const std::string& path, const std::string& problem,
                    const char* caption) {
  reading->problem = "The file " + path + std::string(kCrLf) + problem;
  reading->caption = caption;
  return false;
}

std::string ExpandsPastTheLimit(const DocumentLimits& limits) {
  return "expands to more than " + std::to_string(limits.maxExpandedBytes >> 20) +
         " MB when unpacked (a damaged file, or one made to fill the memory), and is not read.";
}

void AppendDocumentLine(std::string_view line, std::string* text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
  while (!line.empty() && blank(line.front())) line.remove_prefix(1);
  while (!line.empty() && blank(line.back())) line.remove_suffix(1);
  if (line.empty()) return;
  if (!text->empty()) *text += " / ";
  text->append(line);
}

}  // namespace quillmoor
