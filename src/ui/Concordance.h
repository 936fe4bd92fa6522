// The concordance: showing the listing, and writing it to the concordance file.
//
// File layout (UTF-8 with LF after every line; with the Windows-text option
// Windows-1252 with CR LF, output/PeopleText.h):
//   Input file: <input path>
//   MD5 message digest of input file: <32 upper-case hex digits, or nothing>
//   Concordance file created using Quillmoor (V.<version>): yyyy-mm-dd hh:mm
//   <empty line>
//   <the listing: for each word a blank line, "[word count]", and "... context" lines>
// The file is written to a new file beside the target, which then replaces it, so an
// existing concordance is never left half-overwritten.
#ifndef QUILLMOOR_UI_CONCORDANCE_H_
#define QUILLMOOR_UI_CONCORDANCE_H_

#include <string>

#include "shared/Version.h"

namespace quillmoor {

struct Program;

// The local date and time as "yyyy-mm-dd hh:mm".
std::string DateStamp();

// <input box text>.oxn.con_<a|f><context digit>.txt
std::string ConcordanceFileName(const Program& p);

// Create mode with p.blnDraftConcordance: opens the draft of the concordance file
// (output/ConcordanceDraft.h) before the listing begins. Otherwise, or when no draft
// can be made, the listing is kept whole in memory.
void StartConcordanceDraft(Program& p);
// Moves what the listing holds beyond the output box's part to the draft, once that is
// a megabyte or more (only once the listing has begun: its leading blanks are gone).
void SpillListing(Program& p);

// Shows the listing in the output box (at most 65000 characters, cut back to the last
// space; as UTF-8) and, in create mode, offers to write the concordance file.
void FinishListing(Program& p);

// Writes the concordance file; false only when writing failed (after its message).
bool WriteOutputFile(Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_CONCORDANCE_H_
