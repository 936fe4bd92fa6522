// Stop words: the words a concordance leaves out.
#ifndef QUILLMOOR_SETTINGS_STOPWORDS_H_
#define QUILLMOOR_SETTINGS_STOPWORDS_H_

#include <string>

namespace quillmoor {

struct Program;

// True when `word` (lower case) is a stop word of the loaded lists. No list is loaded
// yet, so no word is a stop word.
bool IsStopWord(const Program& p, const std::string& word);

// Vets the characters of the extra stop words against the word options. With no extra
// stop words there is nothing to refuse.
bool CheckAllowedExtraChars(Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_SETTINGS_STOPWORDS_H_
