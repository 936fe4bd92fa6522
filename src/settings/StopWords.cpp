#include "settings/StopWords.h"

#include <algorithm>
#include <string_view>

#include "engine/SortedStrings.h"
#include "engine/WordRules.h"
#include "input/TextFile.h"
#include "settings/WordListFile.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/NumberFormat.h"
#include "shared/Program.h"
#include "ui/Progress.h"

namespace quillmoor {
namespace {

const std::string kCRLF(kCrLf);

// Sorted, without duplicates and empty entries, 1-based (element 0 unused).
void SortAndClean(std::vector<std::string>& table) {
  const int32_t count = static_cast<int32_t>(table.size()) - 1;
  SortStrings(table, 1, static_cast<int16_t>(count), 1);
  std::vector<std::string> kept(1);
  for (int32_t i = 1; i <= count; ++i) {
    if (table[i].empty()) continue;
    if (kept.size() > 1 && kept.back() == table[i]) continue;
    kept.push_back(std::move(table[i]));
  }
  table = std::move(kept);
}

}  // namespace

bool ReadStopWordFile(Program& p) {
  p.blnStop = false;
  p.strStopWordsFile = Cp1252Lower(TrimSpaces(p.strStopWordsFile));
  const std::string& name = p.strStopWordsFile;
  if (name.empty()) return false;
  std::vector<std::string> table(1);  // 1-based
  std::vector<std::string> read;
  if (!ReadWordsOfFile(p, name, WordFileKind{"stop words", 120, 86}, &read)) return false;
  table.insert(table.end(), std::make_move_iterator(read.begin()), std::make_move_iterator(read.end()));
  const int32_t words = static_cast<int32_t>(table.size()) - 1;
  if (words > kMaxStopWordsInFile) {
    MsgBox(p,
           "The stop-word file " + name + kCRLF + "holds " + FormatNumber(words, 0) +
               " words; a stop-word file can hold at most " + FormatNumber(kMaxStopWordsInFile, 0) +
               ".",
           MsgButtons::kOK, MsgIcon::kExclamation, "Stop words");
    return false;
  }
  SortAndClean(table);
  p.arrStopWords = std::move(table);
  p.lngNumStopWords = static_cast<int32_t>(p.arrStopWords.size()) - 1;
  return true;
}

void AttemptToReadStopWords(Program& p) {
  EnableControls(p, false);
  p.blnReadingWords = true;
  const bool ok = ReadStopWordFile(p);
  p.blnStopWordsLoaded = ok;
  EnableControls(p, true);
  SetListWordsCaption(p, "");
  if (ok) {
    const std::string summary = p.lngNumStopWords == 1
                                    ? "One stop word"
                                    : FormatNumber(p.lngNumStopWords, 0) + " stop words";
    p.frmMain.lblNumberOfWords.caption.clear();
    p.frmMain.txbOutput.text = summary + " loaded from " + p.strStopWordsFile + kCRLF;
    RefreshOutput(p);
    p.frmParams.txbStopWordsFile.text = p.strStopWordsFile;
  }
  p.blnReadingWords = false;
}

std::string DetectDocumentLanguage(const std::string& path, const std::string& codes,
                                   const std::string& defaultCode) {
  std::string message;
  int32_t number = 0, count = 0;
  LineReadOptions options;
  options.blnSkipBlankLines = true;
  options.lngMaxLines = 10;
  const std::string text = Cp1252Lower(ReadTextFileLines(path, message, number, count, options));
  const std::string list = Cp1252Lower(codes);
  // The characters at positions `from` and `from` + 1 after the end of `marker`, when
  // `quoteAt` (0 = no condition) holds a double quote; "" when the rule does not apply.
  auto rule = [&text](std::string_view marker, int quoteAt, std::string* code) {
    size_t found = text.find(marker);
    if (found == std::string::npos) return false;
    const size_t base = found + marker.size();  // position 1 is text[base]
    if (quoteAt > 0) {
      const size_t at = base + static_cast<size_t>(quoteAt - 1);
      if (at >= text.size() || text[at] != '"') return false;
    }
    *code = base + 1 < text.size() ? text.substr(base + 1, 2) : "";
    return true;
  };
  std::string code;
  if (!rule("lang=\"", 4, &code) && !rule("lang=", 0, &code)) rule("content=\"", 4, &code);
  if (!list.empty() && code.size() >= 2 && list.find(code) != std::string::npos) return code;
  return defaultCode;
}

void ChooseStopWordsForDocument(Program& p) {
  p.strStopWordsFile = Cp1252Lower(TrimSpaces(p.strStopWordsFile));
  TextBox& input = p.frmMain.txbFile[0];
  input.text = TrimSpaces(input.text);
  const std::string codes = kLanguageCodes;
  if (!input.text.empty()) {
    const std::string code = DetectDocumentLanguage(input.text, codes, "en");
    const size_t at = codes.find(code);
    if (at != std::string::npos) {
      p.strStopWordsFile =
          Cp1252Lower(JoinPath(p.strProgramFolder, p.texts.arrStopWordFiles[at / 3]));
    }
  }
  if (FileExists(ResolveLowerCasedPath(p.strStopWordsFile))) {
    const std::string& box = p.frmParams.txbStopWordsFile.text;
    if (p.blnStopWordsLoaded && (Cp1252Lower(FileNameOf(box)) == "stwds_en_de_es_pt_it_fr.txt" ||
                                 box == p.strStopWordsFile)) {
      return;
    }
    if (MsgBox(p, p.GetProgramText(40) + kCRLF + p.strStopWordsFile, MsgButtons::kYesNo,
               MsgIcon::kNone, p.GetProgramText(42)) == MsgResult::kYes) {
      AttemptToReadStopWords(p);
    }
  } else {
    p.strStopWordsFile.clear();
    p.frmParams.txbStopWordsFile.text.clear();
    p.lngNumStopWords = 0;
  }
}

void SetPathToCWDs_Eng(Program& p) {
  if (p.strStopWordsFile.empty()) {
    p.frmParams.txbStopWordsFile.text = JoinPath(p.strProgramFolder, "stwds_en.txt");
  }
  p.strStopWordsFile = p.frmParams.txbStopWordsFile.text;
}

void EraseStopWords(Program& p) {
  p.strStopWordsFile.clear();
  p.lngNumStopWords = 0;
  p.arrStopWords.assign(1, std::string());
}

void ListStopWords(Program& p) {
  const int32_t n = p.lngNumStopWords;
  if (n < 2) return;
  std::string prompt = "There are " + std::to_string(n) + " stop words." + kCRLF + kCRLF;
  for (int32_t i = 1; i <= std::min(n, 30); ++i) prompt += p.arrStopWords[static_cast<size_t>(i)] + kCRLF;
  if (n > 30) prompt += kCRLF + "and more";
  MsgBox(p, prompt, MsgButtons::kOK, MsgIcon::kNone, "Stop words");
}

bool IsStopWord(const Program& p, const std::string& word) {
  if (p.frmParams.txbStopWordsFile.text.empty() && p.strExtraStopWords.empty()) return false;
  if (!p.strExtraStopWords.empty() &&
      p.strExtraStopWords.find(" " + LowerCaseAccented(word) + " ") != std::string::npos) {
    return true;
  }
  int32_t index = 0;
  return p.lngNumStopWords >= 1 && FindString(word, p.arrStopWords, p.lngNumStopWords, &index);
}

void txbExtraStopWords_LostFocus(Program& p) {
  TextBox& box = p.frmParams.txbExtraStopWords;
  std::string text = TrimSpaces(box.text);
  if (text.empty()) {
    p.strExtraStopWords.clear();
    return;
  }
  text = LowerCaseAccented(std::move(text));
  std::replace(text.begin(), text.end(), ',', ' ');
  text = TrimSpaces(CollapseSpaces(std::move(text)));
  std::vector<std::string> words;
  for (std::string& w : SplitWords(text)) {
    if (std::find(words.begin(), words.end(), w) == words.end()) words.push_back(std::move(w));
  }
  if (words.size() > 1) {
    words.insert(words.begin(), std::string());  // sort over 1..n
    SortStrings(words, 1, static_cast<int16_t>(std::min<size_t>(words.size() - 1, 32767)), 1);
    words.erase(words.begin());
  }
  std::string joined;
  for (const std::string& w : words) joined += (joined.empty() ? "" : " ") + w;
  box.text = joined;
  p.strExtraStopWords = " " + joined + " ";
  CheckAllowedExtraChars(p);
}

bool CheckAllowedExtraChars(Program& p) {
  const std::string& text = p.frmParams.txbExtraStopWords.text;
  if (!p.blnStartUpCompleted || text.empty()) return true;
  p.strAllowedExtraChars.clear();
  if (p.frmParams.chkAllowWordsWithHyphens.checked()) p.strAllowedExtraChars += "-";
  if (p.frmParams.chkAllowWordsWithNumerals.checked()) p.strAllowedExtraChars += "0123456789";
  for (char c : text) {
    if (c == ' ' || kAllLetters.find(c) != std::string_view::npos ||
        p.strAllowedExtraChars.find(c) != std::string::npos) {
      continue;
    }
    std::string prompt = "The character " + std::string(1, c) + " occurs in some stop word" + kCRLF +
                         "but is not " + "currently set as " + "a character allowed in a word.";
    if (c == ',') {
      prompt += kCRLF + kCRLF + "Words-to-ignore must be separated by a space, not by a comma.";
    }
    MsgBox(p, prompt, MsgButtons::kOK, MsgIcon::kExclamation, "Character not allowed");
    return false;
  }
  return true;
}

}  // namespace quillmoor
