#include "shared/WordRuleSet.h"

#include "shared/Cp1252.h"

namespace quillmoor {

std::string_view WordRuleSetName(WordRuleSet rules) {
  return rules == WordRuleSet::kUnicode ? "unicode" : "windows-1252";
}

bool ParseWordRulesChoice(std::string_view name, WordRulesChoice* choice) {
  if (name == "automatic") {
    *choice = WordRulesChoice::kAutomatic;
  } else if (name == "unicode") {
    *choice = WordRulesChoice::kUnicode;
  } else if (name == "windows-1252") {
    *choice = WordRulesChoice::kWindows1252;
  } else {
    return false;
  }
  return true;
}

std::string EngineTextAsUtf8(WordRuleSet rules, std::string_view text) {
  return rules == WordRuleSet::kUnicode ? std::string(text) : Cp1252ToUtf8(text);
}

void AppendEngineTextAsUtf8(WordRuleSet rules, std::string_view text, std::string* out) {
  if (rules == WordRuleSet::kUnicode) {
    out->append(text);
  } else {
    AppendCp1252AsUtf8(text, out);
  }
}

bool Utf8AsEngineText(WordRuleSet rules, std::string_view text, std::string* out) {
  if (rules == WordRuleSet::kWindows1252) return Utf8ToCp1252(text, out);
  out->assign(text);
  return true;
}

}  // namespace quillmoor
