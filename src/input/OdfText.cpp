#include "input/OdfText.h"

#include <cstdlib>

#include "input/Unzip.h"
#include "input/XmlScanner.h"
#include "shared/Cp1252.h"

namespace quillmoor {

std::string OdfContentText(std::string_view xml) {
  XmlScanner scan(xml);
  std::string body, notes;
  // The line being made in the body and in the notes; `note` counts the note bodies
  // the scan is in, `skip` the elements whose text is left out, `paragraphs` the
  // paragraphs.
  std::string bodyLine, noteLine;
  int note = 0, skip = 0, paragraphs = 0;
  bool inBody = false;
  const auto line = [&]() -> std::string& { return note > 0 ? noteLine : bodyLine; };
  const auto finish = [&] {
    if (note > 0) {
      AppendDocumentLine(noteLine, &notes);
      noteLine.clear();
    } else {
      AppendDocumentLine(bodyLine, &body);
      bodyLine.clear();
    }
  };
  const auto leftOut = [](std::string_view name) {
    return name == "office:annotation" || name == "text:tracked-changes" ||
           name == "text:note-citation" || name == "svg:title" || name == "svg:desc" ||
           name == "text:sequence-decls" || name == "office:forms";
  };
  for (XmlScanner::Kind kind; (kind = scan.Next()) != XmlScanner::kDone;) {
    const std::string_view name = scan.name();
    if (!inBody) {
      inBody = kind == XmlScanner::kStart && name == "office:body";
      continue;
    }
    switch (kind) {
      case XmlScanner::kStart:
        if (skip > 0 || leftOut(name)) {
          ++skip;
        } else if (name == "text:note-body") {
          ++note;
        } else if (name == "text:p" || name == "text:h") {
          ++paragraphs;
        }
        break;
      case XmlScanner::kEnd:
        if (skip > 0) {
          --skip;
        } else if (name == "text:note-body") {
          finish();
          --note;
        } else if (name == "text:p" || name == "text:h") {
          finish();
          --paragraphs;
        } else if (name == "office:body") {
          inBody = false;
        }
        break;
      case XmlScanner::kEmpty:
        if (skip > 0) break;
        if (name == "text:s") {
          const std::string count = scan.Attribute("text:c");
          int n = count.empty() ? 1 : std::atoi(count.c_str());
          line().append(static_cast<size_t>(n < 1 ? 1 : n > 1000 ? 1000 : n), ' ');
        } else if (name == "text:tab") {
          line() += ' ';
        } else if (name == "text:line-break") {
          finish();
        } else if (name == "text:p" || name == "text:h") {
          finish();
        }
        break;
      case XmlScanner::kText:
        if (skip == 0 && paragraphs > 0) {
          std::string text = scan.text();
          for (char& c : text) {
            if (c == '\n' || c == '\r' || c == '\t') c = ' ';
          }
          line() += text;
        }
        break;
      case XmlScanner::kDone:
        break;
    }
  }
  finish();
  if (!notes.empty()) AppendDocumentLine(notes, &body);
  return body;
}

bool ReadOdfDocument(const std::string& path, const DocumentLimits& limits,
                     DocumentReading* reading) {
  const auto refuse = [&](const std::string& problem, const char* caption) {
    return RefuseDocument(reading, path, problem, caption);
  };
  ZipArchive archive;
  if (UnzipResult r = archive.Open(path); r.status != UnzipStatus::kOk) {
    return refuse("is not a readable OpenDocument text: " + r.detail + ".", "OpenDocument text");
  }
  std::string xml;
  const UnzipResult r = archive.ReadToString("content.xml", limits.maxExpandedBytes, &xml);
  if (r.status == UnzipStatus::kTooLarge) {
    return refuse(ExpandsPastTheLimit(limits), "File too big");
  }
  if (r.status == UnzipStatus::kNoEntry) {
    return refuse("is not a readable OpenDocument text: it has no content.xml.",
                  "OpenDocument text");
  }
  if (r.status != UnzipStatus::kOk) {
    return refuse("is not a readable OpenDocument text: " + r.detail + ".", "OpenDocument text");
  }
  reading->text = OdfContentText(xml);
  return true;
}

}  // namespace quillmoor
