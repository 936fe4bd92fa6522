// PDF documents: the text of each page, as the PDF module reads it (poppler's reading
// order), made into the document text.
//
// - The typographic ligatures U+FB00 to U+FB06 are spelled out ("ﬁ" is "fi"); soft
//   hyphens and control characters go.
// - Each line of a page is a line of the text; blank lines go.
// - A word hyphenated at a line end is joined again when the next line begins with a
//   lower-case letter: "concor-" + "dance" is "concordance". Within a page poppler
//   has joined them already (any hyphen at the end of a line of a block, a compound's
//   too); here the lines across a page break are joined, and the joined word stays on
//   the page it began on. The hyphen is "-", U+2010 or a soft hyphen.
// - Pages are joined by the page break of shared/PageMap.h; pages without text leave
//   no mark, and the page after each mark is recorded.
#ifndef QUILLMOOR_INPUT_PDFTEXT_H_
#define QUILLMOOR_INPUT_PDFTEXT_H_

#include <string>
#include <vector>

#include "input/Documents.h"

namespace quillmoor {

// pages[i] is the text of page i + 1; fills reading->text, firstPage and markPages.
void JoinPdfPages(const std::vector<std::string>& pages, DocumentReading* reading);

// The whole document; refused when it is locked by a password, damaged, holds no
// text, or makes a text longer than the limit.
bool ReadPdfDocument(const std::string& path, const DocumentLimits& limits,
                     DocumentReading* reading);

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_PDFTEXT_H_
