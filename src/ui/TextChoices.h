// How a document's text is read and put in order: the choices the parameters window
// lists and the command line takes (ParamsControls::strWordRules, strEncoding,
// strSortLanguage).
#ifndef QUILLMOOR_UI_TEXTCHOICES_H_
#define QUILLMOOR_UI_TEXTCHOICES_H_

#include <string>
#include <vector>

namespace quillmoor {

// "automatic", "unicode", "windows-1252".
const std::vector<std::string>& WordRulesChoices();
bool IsWordRulesChoice(const std::string& name);
// The encodings listed (UTF-8, Windows-1252, UTF-16, the legacy code pages); any name
// or alias the converter knows is taken.
const std::vector<std::string>& EncodingChoices();
bool IsEncodingChoice(const std::string& name);
// The sort languages ("" is the default order).
const std::vector<std::string>& SortLanguageChoices();
bool IsSortLanguageChoice(const std::string& code);

// The file of a stop-word list after the first eight ("stwds_ru.txt" for "ru"), or ""
// for any other code; and those codes, in order.
std::string MoreStopWordFile(const std::string& code);
std::vector<std::string> MoreStopWordCodes();

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_TEXTCHOICES_H_
