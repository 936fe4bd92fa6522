#include "ui/KeywordBoxes.h"

#include <algorithm>

#include "engine/UnicodeWords.h"
#include "engine/WildcardMatch.h"
#include "engine/WordRules.h"
#include "input/TextFile.h"
#include "input/UnicodeText.h"
#include "output/KeywordSearch.h"
#include "output/Kwic.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/NumberFormat.h"
#include "shared/Utf8.h"
#include "ui/ListRules.h"
#include "ui/Program.h"
#include "ui/Progress.h"
#include "ui/WordListFile.h"

namespace quillmoor {
namespace {

const std::string kCRLF(kCrLf);

// Sorted by character codes, without empty entries and duplicates.
void SortUnique(std::vector<std::string>& words) {
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  words.erase(words.begin(), std::find_if(words.begin(), words.end(),
                                          [](const std::string& w) { return !w.empty(); }));
}

}  // namespace

namespace {

// A keyword of letters only (any script).
bool IsPlainUnicodeKeyword(std::string_view word) {
  for (size_t i = 0; i < word.size();) {
    uint32_t cp = 0;
    const size_t len = Utf8SequenceAt(word, i, &cp);
    if (len == 0 || ClassOfCodePoint(cp) != CharClass::kLetter) return false;
    i += len;
  }
  return !word.empty();
}

}  // namespace

bool GetExtraKeywords(Program& p) {
  TextBox& box = p.frmMain.txbExtraKeywords;
  const auto refuse = [&p](const std::string& c) {
    MsgBox(p, "The extra keywords textbox contains an inadmissable character: " + c,
           MsgButtons::kOK, MsgIcon::kExclamation, "Invalid input");
    return false;
  };
  const bool hyphens = p.frmParams.chkAllowWordsWithHyphens.checked();
  const bool numerals = p.frmParams.chkAllowWordsWithNumerals.checked();
  // The box holds UTF-8. Keywords in a script beyond Windows-1252 are kept in UTF-8 for
  // the Unicode rules; under the Windows-1252 rules such a character can match no word.
  const std::string beyond = FirstCharOutsideCp1252(box.text);
  if (!beyond.empty() && p.frmParams.strWordRules == "windows-1252") return refuse(beyond);
  std::string s;
  if (!beyond.empty() || p.keywordRules == WordRuleSet::kUnicode) {
    PutListsInRules(p, p, WordRuleSet::kUnicode);
    s = box.text;
    NormalizeToNfc(s);
    s = LowerUnicodeText(s);
    for (size_t at = s.find("'s"); at != std::string::npos; at = s.find("'s")) s.erase(at, 2);
    box.text = s;
    for (size_t i = 0; i < s.size();) {
      uint32_t cp = 0;
      const size_t len = std::max<size_t>(1, Utf8SequenceAt(s, i, &cp));
      const CharClass c = ClassOfCodePoint(cp);
      const bool ok = len > 1 || Byte(s[i]) < 0x80
                          ? c == CharClass::kLetter || (hyphens && c == CharClass::kHyphen) ||
                                (numerals && c == CharClass::kDigit) ||
                                std::string_view("*?#+ ").find(s[i]) != std::string_view::npos
                          : false;
      if (!ok) return refuse(s.substr(i, len));
      i += len;
    }
  } else {
    Utf8ToCp1252(box.text, &s);
    s = LowerCaseAccented(std::move(s));
    for (size_t at = s.find("'s"); at != std::string::npos; at = s.find("'s")) s.erase(at, 2);
    box.text = Cp1252ToUtf8(s);

    std::string permitted(kLowerCaseLetters);
    permitted += "*?#+ ";
    if (hyphens) permitted += '-';
    if (numerals) permitted += "0123456789";
    if (const int32_t bad = FindFirstCharNotIn(s, 1, permitted); bad > 0) {
      return refuse(Cp1252ToUtf8(s.substr(static_cast<size_t>(bad - 1), 1)));
    }
  }
  std::vector<std::string> keywords;
  for (std::string& w : SplitWords(s)) {
    if (std::find(keywords.begin(), keywords.end(), w) == keywords.end())
      keywords.push_back(std::move(w));
  }
  for (const std::string& w : keywords) {
    if (std::count(w.begin(), w.end(), '+') > 1) {
      MsgBox(p, "A keyword cannot contain more then one '+'.", MsgButtons::kOK,
             MsgIcon::kInformation, "Invalid Input");
      return false;
    }
  }
  std::sort(keywords.begin(), keywords.end());
  keywords.insert(keywords.begin(), std::string());  // the list is 1-based
  p.strExtraKeywordList = std::move(keywords);
  p.intNumExtraKeywords = static_cast<int32_t>(p.strExtraKeywordList.size()) - 1;
  return true;
}

bool ReadSearchWords(Program& p, std::vector<std::string>* dropped) {
  p.blnStop = false;
  p.strSearchWordsFile = Utf8Lower(TrimSpaces(p.frmMain.txbFile[2].text));
  const std::string& name = p.strSearchWordsFile;
  if (name.empty()) return false;
  WordsOfFile read;
  if (!ReadWordsOfFile(p, name, WordFileKind{"search words", 119, 87}, &read)) return false;
  // The extra keywords follow the file's engine text.
  if (read.rules != p.keywordRules) {
    for (std::string& keyword : p.strExtraKeywordList) {
      keyword = ListWordInRules(keyword, p.keywordRules, read.rules);
    }
    p.keywordRules = read.rules;
    BuildKeywordHeads(p);
  }
  const bool utf8 = read.rules == WordRuleSet::kUnicode;
  std::vector<std::string> words;
  for (std::string& word : read.words) {
    if (utf8 ? IsPlainUnicodeKeyword(word) : IsPlainKeyword(word, "")) {
      words.push_back(std::move(word));
    } else if (dropped != nullptr) {
      dropped->push_back(EngineTextAsUtf8(read.rules, word));
    }
  }
  if (dropped != nullptr) dropped->insert(dropped->end(), read.dropped.begin(), read.dropped.end());
  SortUnique(words);
  words.insert(words.begin(), std::string());  // the list is 1-based
  p.strSearchWords = std::move(words);
  p.lngNumSearchWords = static_cast<int32_t>(p.strSearchWords.size()) - 1;
  return true;
}

void AttemptToReadSearchWords(Program& p) {
  EnableControls(p, false);
  p.blnReadingWords = true;
  std::vector<std::string> dropped;
  p.blnSearchWordsLoaded = ReadSearchWords(p, &dropped);
  EnableControls(p, true);
  SetListWordsCaption(p, "");
  if (!p.blnSearchWordsLoaded) {
    p.blnReadingWords = false;
    return;
  }
  MainControls& m = p.frmMain;
  m.txbFile[2].text = p.strSearchWordsFile;
  const std::string summary = p.lngNumSearchWords == 1
                                  ? "One keyword word"
                                  : CountInWords(p.lngNumSearchWords) + " keywords";
  m.lblNumberOfWords.caption.clear();
  m.txbOutput.text = summary + " loaded from " + p.strSearchWordsFile + kCRLF;
  if (!dropped.empty()) {
    m.txbOutput.text += DroppedWordsNote(dropped, "a keyword is made of letters only") + kCRLF;
  }
  m.txbOutput.text += kCRLF;
  RefreshOutput(p);
  if (MsgBox(p, "Display search words?", MsgButtons::kYesNo, MsgIcon::kNone,
             "Keywords to search for") == MsgResult::kYes) {
    std::string list;
    for (int32_t i = 1; i <= p.lngNumSearchWords; ++i) {
      list += EngineTextAsUtf8(p.keywordRules, p.strSearchWords[static_cast<size_t>(i)]);
      list += ' ';
    }
    AppendOutput(p, list);
    RefreshOutput(p);
  }
  p.blnReadingWords = false;
}

void EraseSearchWords(Program& p) {
  p.strSearchWords.assign(1, std::string());
  p.lngNumSearchWords = 0;
  p.blnSearchWordsLoaded = false;
  p.strSearchWordsFile.clear();
}

void txbExtraKeywords_LostFocus(Program& p) {
  TextBox& box = p.frmMain.txbExtraKeywords;
  box.text = TrimSpaces(box.text);
  if (box.text.empty()) {
    p.intNumExtraKeywords = 0;
    return;
  }
  if (GetExtraKeywords(p)) p.blnSearchWordsExist = true;
}

}  // namespace quillmoor
