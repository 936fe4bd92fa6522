// OpenDocument text (.odt, and .ott templates): the body of content.xml.
//
// Paragraphs, headings, list items and table cells are lines of the text; text:s
// gives its count of spaces (text:c, one by default), text:tab a space and
// text:line-break a line break. Notes (footnotes and endnotes) are read at the end of
// the text, each paragraph of a note a line, in the order they occur, and their
// citation marks are left out, so a note never cuts a sentence of the body in two.
// Annotations (comments), tracked deletions and the text of drawings' titles and
// descriptions are left out.
#ifndef QUILLMOOR_INPUT_ODFTEXT_H_
#define QUILLMOOR_INPUT_ODFTEXT_H_

#include <string>
#include <string_view>

#include "input/Documents.h"

namespace quillmoor {

// The text of a content.xml (UTF-8).
std::string OdfContentText(std::string_view xml);

bool ReadOdfDocument(const std::string& path, const DocumentLimits& limits,
                     DocumentReading* reading);

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_ODFTEXT_H_
