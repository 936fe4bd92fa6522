#include "ui/TextChoices.h"

#include <algorithm>

#include "engine/Collation.h"
#include "input/UnicodeText.h"
#include "settings/StopWords.h"
#include "shared/WordRuleSet.h"

namespace quillmoor {

const std::vector<std::string>& WordRulesChoices() {
  static const std::vector<std::string> kChoices = {"automatic", "unicode", "windows-1252"};
  return kChoices;
}

bool IsWordRulesChoice(const std::string& name) {
  WordRulesChoice choice;
  return ParseWordRulesChoice(name, &choice);
}

const std::vector<std::string>& EncodingChoices() { return NamedEncodings(); }

bool IsEncodingChoice(const std::string& name) { return IsKnownEncoding(name); }

const std::vector<std::string>& SortLanguageChoices() { return SortLanguages(); }

bool IsSortLanguageChoice(const std::string& code) { return code.empty() || IsSortLanguage(code); }

std::string MoreStopWordFile(const std::string& code) {
  for (const StopWordLanguage& language : kMoreStopWordLanguages) {
    if (code == language.code) return StopWordFileName(language);
  }
  return "";
}

std::vector<std::string> MoreStopWordCodes() {
  std::vector<std::string> codes;
  for (const StopWordLanguage& language : kMoreStopWordLanguages) codes.emplace_back(language.code);
  return codes;
}

}  // namespace quillmoor
