// The stop-word boxes of the parameters window: the stop-word file (reading it, the
// list proposed for a document's language) and the extra stop words, with their
// messages; the stop-word rules are settings/StopWords.h.
#ifndef QUILLMOOR_UI_STOPWORDBOXES_H_
#define QUILLMOOR_UI_STOPWORDBOXES_H_

#include <string>
#include <vector>

#include "settings/StopWords.h"

namespace quillmoor {

struct Program;

// Reads the file named by p.strStopWordsFile into the table and says how many words
// were loaded; on failure (after its message) the previous table stays.
void AttemptToReadStopWords(Program& p);

// The reading proper; true when the table was replaced. *dropped (may be null) gets
// the words of the file that were left out.
bool ReadStopWordFile(Program& p, std::vector<std::string>* dropped = nullptr);

// After a new input file was accepted: proposes (asks before loading) the stop-word
// file of the document's language.
void ChooseStopWordsForDocument(Program& p);

// Names the English file beside the program when no stop-word file is named.
void SetPathToCWDs_Eng(Program& p);

void EraseStopWords(Program& p);

// Shows the first 30 stop words (when there are at least two).
void ListStopWords(const Program& p);

// Normalises the extra stop words: lower case, commas to spaces, duplicates removed,
// sorted, single spaces. The box holds UTF-8; p.strExtraStopWords the same words in
// Windows-1252 (those the code page can hold).
void txbExtraStopWords_LostFocus(Program& p);

// Vets the characters of the extra stop words against the word options; false (after
// the "Character not allowed" message) at the first character that fails.
bool CheckAllowedExtraChars(Program& p);

// True when the parameters window names a stop-word file (its box is not empty).
bool StopWordListNamed(const Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_STOPWORDBOXES_H_
