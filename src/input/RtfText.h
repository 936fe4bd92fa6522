// RTF documents: the text of an RTF file, by a parser of the RTF syntax (groups,
// control words and symbols) that keeps only what a reader of the document sees.
//
// - \par, \line, \sect, \page, \cell and \row end a line of the text; \tab is a space.
// - \uN is the character N (negative N counts from 65536; a surrogate pair is one
//   character), and the \ucN fallback characters after it (one by default) are
//   skipped. \'hh is a byte in the code page of the current font (its \fcharset or
//   \cpg in the font table) or of the document (\ansicpg, Windows-1252 by default);
//   bytes of a double-byte code page are read together.
// - \emdash, \endash, the quote and bullet words, \~ (no-break space) and \_ (a
//   hyphen) are their characters; \- (an optional hyphen) is nothing.
// - Destinations a reader does not see are left out: every group marked \*, the font,
//   colour, style, list and revision tables, the document's information, pictures,
//   objects' data, fields' instructions (their results stay), headers and footers,
//   bookmarks, index entries, list numbers. \bin's binary data is skipped.
// - Footnotes are read at the end of the text, each paragraph a line, like the notes
//   of an OpenDocument text.
#ifndef QUILLMOOR_INPUT_RTFTEXT_H_
#define QUILLMOOR_INPUT_RTFTEXT_H_

#include <string>
#include <string_view>

#include "input/Documents.h"

namespace quillmoor {

// True when `bytes` begin as an RTF document does ("{\rtf", after blanks).
bool LooksLikeRtf(std::string_view bytes);
// The text of an RTF document as UTF-8 (lines joined by the line-break mark).
std::string RtfDocumentText(std::string_view rtf);

bool ReadRtfDocument(const std::string& path, const DocumentLimits& limits,
                     DocumentReading* reading);

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_RTFTEXT_H_
