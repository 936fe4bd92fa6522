// The stop words and keywords in the engine text of the document being listed.
#ifndef QUILLMOOR_UI_LISTRULES_H_
#define QUILLMOOR_UI_LISTRULES_H_

#include <string>

#include "shared/WordRuleSet.h"

namespace quillmoor {

struct KeywordLists;
struct StopWordTable;

// A word of a list in the engine text of `to`: a Windows-1252 word as UTF-8; a UTF-8
// word as Windows-1252 when the code page has its characters, else as it is (no
// Windows-1252 word can equal it, and it comes back as it is).
std::string ListWordInRules(const std::string& word, WordRuleSet from, WordRuleSet to);

// Puts the stop words, the extra stop words and the keywords in the engine text of
// `rules`, when they are in the other one, and sorts the sorted lists again.
void PutListsInRules(StopWordTable& stopWords, KeywordLists& keywords, WordRuleSet rules);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_LISTRULES_H_
