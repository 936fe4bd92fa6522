#include "ui/StopWordBoxes.h"

#include <algorithm>
#include <string_view>

#include "engine/SortedStrings.h"
#include "engine/WordRules.h"
#include "input/TextFile.h"
#include "settings/StopWords.h"
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

// Sorted, without duplicates and empty entries, 1-based (element 0 unused).
void SortAndClean(std::vector<std::string>& table) {
  const int32_t count = static_cast<int32_t>(table.size()) - 1;
  // A list in order already (the shipped lists are) is left as it is: equal words are
  // the same string, so any order the sort could give is this one.
  if (!std::is_sorted(table.begin() + 1, table.end()))
    SortStrings(table, 1, static_cast<int16_t>(count), 1);
  size_t kept = 1;  // in place: the entries kept so far are table[1 .. kept - 1]
  for (size_t i = 1; i <= static_cast<size_t>(count); ++i) {
    if (table[i].empty()) continue;
    if (kept > 1 && table[kept - 1] == table[i]) continue;
    if (kept != i) table[kept] = std::move(table[i]);
    ++kept;
  }
  table.resize(kept);
}

}  // namespace

void AttemptToReadStopWords(Program& p) {
  EnableControls(p, false);
  p.blnReadingWords = true;
  std::vector<std::string> dropped;
  const bool ok = ReadStopWordFile(p, &dropped);
  p.blnStopWordsLoaded = ok;
  EnableControls(p, true);
  SetListWordsCaption(p, "");
  if (ok) {
    const std::string summary = p.lngNumStopWords == 1
                                    ? "One stop word"
                                    : FormatNumber(p.lngNumStopWords, 0) + " stop words";
    p.frmMain.lblNumberOfWords.caption.clear();
    p.frmMain.txbOutput.text = summary + " loaded from " + p.strStopWordsFile + kCRLF;
    if (!dropped.empty()) {
      p.frmMain.txbOutput.text +=
          DroppedWordsNote(dropped, "they hold characters that Windows-1252 lacks") + kCRLF;
    }
    RefreshOutput(p);
    p.frmParams.txbStopWordsFile.text = p.strStopWordsFile;
  }
  p.blnReadingWords = false;
}

bool ReadStopWordFile(Program& p, std::vector<std::string>* dropped) {
  p.blnStop = false;
  p.strStopWordsFile = Utf8Lower(TrimSpaces(p.strStopWordsFile));
  const std::string& name = p.strStopWordsFile;
  if (name.empty()) return false;
  WordsOfFile read;
  if (!ReadWordsOfFile(p, name, WordFileKind{"stop words", 120, 86}, &read)) return false;
  if (dropped != nullptr) *dropped = std::move(read.dropped);
  std::vector<std::string> table = std::move(read.words);
  table.emplace(table.begin());  // 1-based (SplitWords left room for it)
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
  p.strExtraStopWords = ListWordInRules(p.strExtraStopWords, p.stopWordRules, read.rules);
  p.stopWordRules = read.rules;
  return true;
}

void ChooseStopWordsForDocument(Program& p) {
  if (p.blnStopWordsGivenByCaller) return;
  p.strStopWordsFile = Utf8Lower(TrimSpaces(p.strStopWordsFile));
  TextBox& input = p.frmMain.txbFile[0];
  input.text = TrimSpaces(input.text);
  const std::string codes = kLanguageCodes;
  if (!input.text.empty()) {
    const std::string code = DetectDocumentLanguage(input.text, codes, "en");
    const size_t at = codes.find(code);
    if (at != std::string::npos) {
      p.strStopWordsFile =
          Utf8Lower(JoinPath(p.strProgramFolder, p.texts.arrStopWordFiles[at / 3]));
    }
  }
  if (FileExists(ResolveLowerCasedPath(p.strStopWordsFile))) {
    const std::string& box = p.frmParams.txbStopWordsFile.text;
    if (p.blnStopWordsLoaded && (Utf8Lower(FileNameOf(box)) == "stwds_en_de_es_pt_it_fr.txt" ||
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

void ListStopWords(const Program& p) {
  const int32_t n = p.lngNumStopWords;
  if (n < 2) return;
  std::string prompt = "There are " + std::to_string(n) + " stop words." + kCRLF + kCRLF;
  for (int32_t i = 1; i <= std::min(n, 30); ++i) {
    prompt += EngineTextAsUtf8(p.stopWordRules, p.arrStopWords[static_cast<size_t>(i)]) + kCRLF;
  }
  if (n > 30) prompt += kCRLF + "and more";
  MsgBox(p, prompt, MsgButtons::kOK, MsgIcon::kNone, "Stop words");
}

void txbExtraStopWords_LostFocus(Program& p) {
  TextBox& box = p.frmParams.txbExtraStopWords;
  std::string text = TrimSpaces(box.text);
  if (text.empty()) {
    p.strExtraStopWords.clear();
    return;
  }
  std::replace(text.begin(), text.end(), ',', ' ');
  // Each word as the table holds it (Windows-1252, lower case) and as the box shows it.
  // A word with a character the code page lacks can never be met in a document: it
  // stays in the box (the character check names the character) but not in the table.
  struct Word {
    std::string key;
    std::string shown;
    bool usable;
  };
  std::vector<Word> words;
  for (const std::string& typed : SplitWords(text)) {
    std::string engine;
    if (Utf8ToCp1252(typed, &engine)) {
      engine = LowerCaseAccented(std::move(engine));
      words.push_back({engine, Cp1252ToUtf8(engine), true});
    } else {
      const std::string lower = Utf8Lower(typed);
      words.push_back({Utf8ToCp1252Lossy(lower), lower, false});
    }
  }
  // Sorted by character codes, duplicates removed: O(n log n) however many words.
  std::sort(words.begin(), words.end(), [](const Word& a, const Word& b) {
    return a.key != b.key ? a.key < b.key : a.shown < b.shown;
  });
  words.erase(std::unique(words.begin(), words.end(),
                          [](const Word& a, const Word& b) { return a.shown == b.shown; }),
              words.end());
  std::string shown, table;
  for (const Word& w : words) {
    shown += (shown.empty() ? "" : " ") + w.shown;
    if (w.usable) table += " " + w.key;
  }
  box.text = shown;
  p.strExtraStopWords = table.empty() ? std::string() : table + " ";
  CheckAllowedExtraChars(p);
}

bool CheckAllowedExtraChars(Program& p) {
  const std::string& text = p.frmParams.txbExtraStopWords.text;
  if (!p.blnStartUpCompleted || text.empty()) return true;
  p.strAllowedExtraChars.clear();
  if (p.frmParams.chkAllowWordsWithHyphens.checked()) p.strAllowedExtraChars += "-";
  if (p.frmParams.chkAllowWordsWithNumerals.checked()) p.strAllowedExtraChars += "0123456789";
  Utf8Chars chars(text);
  for (std::string_view c = chars.Next(); !c.empty(); c = chars.Next()) {
    std::string engine;
    if (Utf8ToCp1252(c, &engine) &&
        (engine == " " || kAllLetters.find(engine[0]) != std::string_view::npos ||
         p.strAllowedExtraChars.find(engine[0]) != std::string::npos)) {
      continue;
    }
    std::string prompt = "The character " + std::string(c) + " occurs in some stop word" + kCRLF +
                         "but is not " + "currently set as " + "a character allowed in a word.";
    if (c == ",") {
      prompt += kCRLF + kCRLF + "Words-to-ignore must be separated by a space, not by a comma.";
    }
    MsgBox(p, prompt, MsgButtons::kOK, MsgIcon::kExclamation, "Character not allowed");
    return false;
  }
  return true;
}

bool StopWordListNamed(const Program& p) { return !p.frmParams.txbStopWordsFile.text.empty(); }

}  // namespace quillmoor
