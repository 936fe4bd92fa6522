// Which words of the word table a run lists, from the main and parameters windows'
// choices, the stop words and the keywords.
#ifndef QUILLMOOR_UI_LISTEDWORDS_H_
#define QUILLMOOR_UI_LISTEDWORDS_H_

namespace quillmoor {

struct Program;

// p.strAllowedExtraChars from the parameters window's hyphen and numeral boxes.
void SetExtraWordChars(Program& p);
// Create mode: a word is listed unless it has a hyphen or digit that is not allowed,
// is below the frequency threshold (when infrequent words are ignored), or is a stop
// word. Search mode: a word is listed when the search asks for it (IsSearchWord).
void MarkIncludedWords(Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_LISTEDWORDS_H_
