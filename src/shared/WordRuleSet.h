// The two word rule sets, and the engine text each one keeps.
//
// Under the Windows-1252 rules the document text, the words and the stop words and
// keywords are Windows-1252, one character a byte (shared/Cp1252.h). Under the Unicode
// rules they are UTF-8 in Normalization Form C: a character may take several bytes,
// and positions count bytes. Everything a person reads is UTF-8 under both; these
// helpers carry engine text across.
#ifndef QUILLMOOR_SHARED_WORDRULESET_H_
#define QUILLMOOR_SHARED_WORDRULESET_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace quillmoor {

enum class WordRuleSet : uint8_t { kWindows1252, kUnicode };

// The rules of engine text that is UTF-8 or not.
inline WordRuleSet WordRuleSetOf(bool utf8) {
  return utf8 ? WordRuleSet::kUnicode : WordRuleSet::kWindows1252;
}

// What a person asked for: the rules the document's characters call for, or one set.
enum class WordRulesChoice : uint8_t { kAutomatic, kWindows1252, kUnicode };

// "unicode", "windows-1252" (the names of the command line and the status lines).
std::string_view WordRuleSetName(WordRuleSet rules);
// "automatic", "unicode" or "windows-1252" as a choice; false for any other text.
bool ParseWordRulesChoice(std::string_view name, WordRulesChoice* choice);

// Engine text as UTF-8: Windows-1252 converted, Unicode text as it is.
std::string EngineTextAsUtf8(WordRuleSet rules, std::string_view text);
void AppendEngineTextAsUtf8(WordRuleSet rules, std::string_view text, std::string* out);
// UTF-8 a person typed as engine text. False (with *out partly filled) when the
// Windows-1252 rules hold and the code page lacks a character of it.
bool Utf8AsEngineText(WordRuleSet rules, std::string_view text, std::string* out);

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_WORDRULESET_H_
