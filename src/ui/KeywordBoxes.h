// The keyword boxes of the main window: the extra-keywords box and the keywords file
// (their checks, messages and reading); the rules of a search are output/KeywordSearch.h.
#ifndef QUILLMOOR_UI_KEYWORDBOXES_H_
#define QUILLMOOR_UI_KEYWORDBOXES_H_

#include <string>
#include <vector>

#include "output/KeywordSearch.h"

namespace quillmoor {

struct Program;

// Validates the extra-keywords box (UTF-8) and stores its keywords (Windows-1252).
// False, after its message, when the box holds a character that is not permitted
// (also one the code page lacks) or a keyword with two "+"; the stored keywords then
// stay as they were.
bool GetExtraKeywords(Program& p);

// Reads the keywords file named in file box 2; false (after its message) when it
// is missing, refused, unreadable or the read was stopped. Words that are not made of
// letters only are left out, and added to *dropped (may be null) as the file has them.
bool ReadSearchWords(Program& p, std::vector<std::string>* dropped = nullptr);

// Reads the keywords file, says how many keywords were loaded, and offers to show them.
void AttemptToReadSearchWords(Program& p);

// Forgets the keywords of the file.
void EraseSearchWords(Program& p);

// The extra-keywords box lost the focus (or took an Enter): its text is trimmed and,
// when not empty, taken by GetExtraKeywords; an empty box means no extra keywords.
void txbExtraKeywords_LostFocus(Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_KEYWORDBOXES_H_
