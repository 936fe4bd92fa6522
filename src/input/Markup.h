// Markup stripping and entity decoding for HTML and XML input, and the double-hyphen
// pass every document goes through before words are cut.
//
// All of them work on single-byte text and run in one pass over it.
#ifndef QUILLMOOR_INPUT_MARKUP_H_
#define QUILLMOOR_INPUT_MARKUP_H_

#include <string>
#include <string_view>

namespace quillmoor {

// Drops every tag (each becomes one space where its ">" was) and the contents of
// script and style elements. Text before the first ">" is dropped; a ">" inside a
// comment or attribute ends the tag early. Closing script/style tags are recognised
// only in lower case.
std::string RemoveTags(std::string_view text);

// Blanks every "--" found scanning from the left (two spaces, same length), except at
// positions 1 and 2 and except the comment markers "<!--" and "-->".
std::string RemoveDoubleHyphens(std::string text);

// Sets p.blnCharacterEntitiesPossible from the input's lower-case extension: true when
// it contains "htm" and is not "xml".
void SelectMarkupHandling(bool& blnCharacterEntitiesPossible, const std::string& extension);

// Decodes the 67 entities the program knows ("&amp;", "&nbsp;", "&#160;", "&#8212;",
// "&copy;", "&quot;" and the Latin-1 letters); an unknown "&...;" stays, and the search
// goes on after its ";".
// With `utf8` the text is UTF-8, the characters are written so, and every numeric
// entity of a character is decoded.
std::string DecodeCharacterEntities(std::string_view text, bool utf8 = false);

// The character an entity (written with "&" and ";") stands for, or -1.
int EntityCharacter(std::string_view entity);

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_MARKUP_H_
