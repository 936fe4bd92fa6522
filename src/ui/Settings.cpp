#include "ui/Settings.h"

#include <sys/stat.h>

#include <cstdlib>
#include <vector>

#include "input/TextFile.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/Utf8.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/TextChoices.h"

namespace quillmoor {
namespace {

const char* const kSaveError = "Error when attempting to save settings: ";
const char* const kRestoreError = "Error when attempting to restore settings: ";

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The settings file's lines as the reader sees them, or an error description.
struct Reader {
  std::vector<std::string> lines;
  size_t next = 0;
  std::string error;

  bool Line(std::string* line) {
    if (next >= lines.size()) {
      error = "Input past end of file";
      return false;
    }
    *line = lines[next++];
    return true;
  }
  // The text between the first double quote and the next one.
  bool String(std::string* out) {
    std::string line;
    if (!Line(&line)) return false;
    const size_t open = line.find('"');
    if (open == std::string::npos) {
      error = "Type mismatch";
      return false;
    }
    const size_t close = line.find('"', open + 1);
    *out = line.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
    return true;
  }
  bool Number(int low, int high, int* out) {
    std::string line;
    if (!Line(&line)) return false;
    const std::string t = TrimSpaces(line);
    const bool negative = !t.empty() && t[0] == '-';
    const std::string digits = negative ? t.substr(1) : t;
    if (digits.empty() || digits.size() > 6 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
      error = "Type mismatch";
      return false;
    }
    const int value = (negative ? -1 : 1) * std::atoi(digits.c_str());
    if (value < low || value > high) {
      error = "Invalid property value";
      return false;
    }
    *out = value;
    return true;
  }
};

}  // namespace

std::string UserSettingsFile(const Program& p) {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  const std::string base = xdg != nullptr && xdg[0] == '/' ? std::string(xdg)
                           : home != nullptr               ? std::string(home) + "/.config"
                                                           : TemporaryFolder();
  return JoinPath(JoinPath(base, p.GetProgramText(310)), "oxn.usr");
}

std::string SaveState(const Program& p, const std::string& strParameterFile) {
  const std::string file = strParameterFile.empty() ? p.strUserSettingsFile : strParameterFile;
  if (strParameterFile.empty() && !MakeFolders(FolderOf(file))) {
    return std::string(kSaveError) + "Path not found";
  }
  const MainControls& m = p.frmMain;
  const ParamsControls& s = p.frmParams;
  std::string text;
  for (const std::string& line : {Quoted(m.txbFile[0].text),
                                  Quoted(m.txbFile[1].text),
                                  Quoted(m.txbFile[2].text),
                                  std::string(m.optCreate.value ? "1" : "0"),
                                  std::string(m.optSearch.value ? "1" : "0"),
                                  Quoted(s.txbExtraStopWords.text),
                                  std::to_string(s.cboThresholdFrequency.listIndex),
                                  std::to_string(s.chkIgnoreInfrequentWords.value),
                                  std::to_string(s.chkAllowWordsWithHyphens.value),
                                  std::to_string(s.chkAllowWordsWithNumerals.value),
                                  std::to_string(m.chkWarnOnOverwrite.value),
                                  std::to_string(m.chkSaveStateOnQuit.value),
                                  std::to_string(m.chkFrequencies.value),
                                  std::to_string(m.chkShowLineBreaks.value),
                                  std::to_string(m.cboWordOrder.listIndex),
                                  std::to_string(m.cboContextSize.listIndex),
                                  Quoted(p.strStopWordsFile),
                                  Quoted(m.txbExtraKeywords.text),
                                  std::to_string(m.chkCreateIndexFile.value),
                                  std::to_string(s.chkWindowsText.value)}) {
    text += line + "\n";
  }
  // The word rules, the encoding and the alphabetical order, when any is not the
  // default (a file of the defaults is as it always was).
  if (s.strWordRules != "automatic" || !s.strEncoding.empty() || !s.strSortLanguage.empty()) {
    text += Quoted(s.strWordRules) + "\n" + Quoted(s.strEncoding) + "\n" +
            Quoted(s.strSortLanguage) + "\n";
  }
  FileError error;
  if (!WriteFileAtomically(file, {text}, &error)) return kSaveError + error.description;
  return "";
}

std::string RestoreSavedState(Program& p, const std::string& strParameterFile) {
  const std::string file = strParameterFile.empty() ? p.strUserSettingsFile : strParameterFile;
  Reader in;
  FileError error;
  if (!FileExists(file)) return std::string(kRestoreError) + "File not found";
  if (!ForEachLine(file, &error, [&in](std::string& line) {
        in.lines.push_back(line);
        return in.lines.size() < 100;
      })) {
    return kRestoreError + error.description;
  }
  // Files written before settings were UTF-8 hold Windows-1252.
  bool utf8 = true;
  for (const std::string& line : in.lines) utf8 = utf8 && IsValidUtf8(line);
  if (!utf8) {
    for (std::string& line : in.lines) line = Cp1252ToUtf8(line);
  }
  MainControls& m = p.frmMain;
  ParamsControls& s = p.frmParams;
  auto fail = [&in] { return kRestoreError + in.error; };
  std::string text;
  int n = 0;
  for (int i = 0; i < 3; ++i) {
    if (!in.String(&text)) return fail();
    m.txbFile[i].text = text;
  }
  p.strInputExtension = GetFileExtension(m.txbFile[0].text, true);
  int create = 0, search = 0;
  if (!in.Number(-1, 1, &create) || !in.Number(-1, 1, &search)) return fail();
  if (p.blnStartUpCompleted) {
    if (create == 1) optCreate_Click(p);
    if (search == 1) optSearch_Click(p);
  } else {
    m.optCreate.value = true;
    m.optSearch.value = false;
  }
  const std::string& ext = p.strInputExtension;
  if (ext == "html" || ext == "htm" || ext == "xml") {
    m.txbFile[0].text.clear();
    m.txbFile[1].text.clear();
  }
  if (!in.String(&text)) return fail();
  s.txbExtraStopWords.text = text;
  const int thresholds = static_cast<int>(s.cboThresholdFrequency.items.size());
  if (!in.Number(-1, thresholds - 1, &n)) return fail();
  s.cboThresholdFrequency.listIndex = n;
  for (CheckBox* box :
       {&s.chkIgnoreInfrequentWords, &s.chkAllowWordsWithHyphens, &s.chkAllowWordsWithNumerals,
        &m.chkWarnOnOverwrite, &m.chkSaveStateOnQuit, &m.chkFrequencies, &m.chkShowLineBreaks}) {
    if (!in.Number(0, 2, &n)) return fail();
    box->value = n;
  }
  if (!in.Number(-1, static_cast<int>(m.cboWordOrder.items.size()) - 1, &n)) return fail();
  m.cboWordOrder.listIndex = n;
  if (!in.Number(-1, static_cast<int>(m.cboContextSize.items.size()) - 1, &n)) return fail();
  m.cboContextSize.listIndex = n;
  if (!in.String(&text)) return fail();
  p.strStopWordsFile = text;
  s.txbStopWordsFile.text = text;
  if (!in.String(&text)) return fail();
  m.txbExtraKeywords.text = text;
  if (!in.Number(0, 2, &n)) return fail();
  m.chkCreateIndexFile.value = n;
  // Added later: files without it keep the default.
  s.chkWindowsText.value = 0;
  if (in.next < in.lines.size()) {
    if (!in.Number(0, 1, &n)) return fail();
    s.chkWindowsText.value = n;
  }
  s.strWordRules = "automatic";
  s.strEncoding.clear();
  s.strSortLanguage.clear();
  if (in.next < in.lines.size()) {
    std::string rules, encoding, language;
    if (!in.String(&rules) || !IsWordRulesChoice(rules) || !in.String(&encoding) ||
        !(encoding.empty() || IsEncodingChoice(encoding)) || !in.String(&language) ||
        !IsSortLanguageChoice(language)) {
      return fail();
    }
    s.strWordRules = rules;
    s.strEncoding = encoding;
    s.strSortLanguage = language;
  }
  const bool invalid = m.cboWordOrder.listIndex == -1 || m.cboContextSize.listIndex == -1;
  for (TextBox& box : m.txbFile) {
    box.text = TrimSpaces(box.text);
    if (!FileExists(box.text)) box.text.clear();
  }
  return invalid ? "Invalid combo box index" : "";
}

void cmdSaveState_Click(Program& p) {
  const std::string result = SaveState(p, "");
  if (result.empty()) {
    p.host.PopUp(PopUpMessage{p.GetProgramText(50), 2400, 300, 2000, 6500, 5200});
  } else {
    MsgBox(p, result, MsgButtons::kOK, MsgIcon::kExclamation, p.GetProgramText(34));
  }
  SetTheFocus(p);
}

}  // namespace quillmoor
