// Alphabetical order in a language's own way: the sort keys of a word table made by
// the language's collation (ICU), in place of the default keys.
#ifndef QUILLMOOR_ENGINE_COLLATION_H_
#define QUILLMOOR_ENGINE_COLLATION_H_

#include <string>
#include <string_view>
#include <vector>

#include "engine/WordTable.h"

namespace quillmoor {

// The codes of the sort languages a person can choose ("cs", "es", "sv", ...), in
// alphabetical order of the codes.
const std::vector<std::string>& SortLanguages();
bool IsSortLanguage(std::string_view code);

// Gives every word of t (Windows-1252 or UTF-8, as t.wordRules says) the collation key
// of `language`, so that SortWordTable and every sort by key follow that language
// (Swedish å ä ö after z, Czech ch after h, Spanish ñ after n). False with *problem
// set, and the keys as they were, when the language's collation cannot be had.
bool ApplySortLanguage(WordTable& t, const std::string& language, std::string* problem);

}  // namespace quillmoor

#endif  // QUILLMOOR_ENGINE_COLLATION_H_
