// The main window as plain data: every control's text, caption, value and state.
//
// Event handlers in the core read and change this model; the desktop front end pushes
// it into its widgets and the command line sets it from options. Control arrays are
// std::array members indexed as the window indexes them: txbFile[0] input file,
// [1] search-results file, [2] keywords file.
#ifndef QUILLMOOR_UI_CONTROLS_H_
#define QUILLMOOR_UI_CONTROLS_H_

#include <array>
#include <string>
#include <vector>

namespace quillmoor {

struct Control {
  bool enabled = true;
  bool visible = true;
  std::string toolTip;
};

struct TextBox : Control {
  std::string text;
};

struct Button : Control {
  std::string caption;
};

enum class Alignment { kLeft, kRight, kCenter };

struct Label : Control {
  std::string caption;
  Alignment alignment = Alignment::kLeft;
  std::string fontName = "Arial";
  int fontSize = 8;
  bool bold = false;
};

struct CheckBox : Control {
  std::string caption;
  int value = 0;  // 0 unchecked, 1 checked
  bool checked() const { return value == 1; }
};

struct OptionButton : Control {
  std::string caption;
  bool value = false;
};

struct ComboBox : Control {
  std::vector<std::string> items;
  int listIndex = -1;  // -1 = no selection
};

struct MainControls {
  OptionButton optCreate;
  OptionButton optSearch;
  std::array<Button, 3> cmdFile;
  std::array<TextBox, 3> txbFile;
  std::array<Button, 3> cmdClearFile;
  std::array<Button, 3> cmdViewFile;  // (1) and (2) are used
  std::array<CheckBox, 1> chkUTF8;
  Label lblInputFilesize;
  Label lblExtraKeywords;
  TextBox txbExtraKeywords;
  Button cmdClearExtraKeywords;
  Label lblSearchResultsFilesize;
  ComboBox cboWordOrder;
  ComboBox cboContextSize;
  CheckBox chkFrequencies;
  CheckBox chkShowLineBreaks;
  CheckBox chkCreateIndexFile;
  CheckBox chkWarnOnOverwrite;
  CheckBox chkSaveStateOnQuit;
  Button cmdListWords;
  Button cmdSetParameters;
  Button cmdSaveState;
  Button cmdHelp;
  Button cmdQuit;
  TextBox txbOutput;
  std::array<Label, 2> lblConcordanceFile;
  Label lblConcordanceFilesize;
  Label lblIndexFilesize;
  Label lblNumberOfWords;
  Label lblNumOccurrences;
  Label lblTotalNumOccurrences;
  Label lblTimeElapsed;
  Label lblTwirler;

  bool windowVisible = false;  // the window is shown
  std::string focus;           // name of the control that has the focus
  // The window's place and the screen's size, in twips (15 to a pixel).
  int left = 0, top = 0, width = 13000, height = 9600;
  int screenWidth = 19200, screenHeight = 14400;

  MainControls();
};

// The viewer window (the help text, and other text files).
struct ViewControls {
  std::string caption = "Viewing";
  TextBox txbText1;
  Button cmdClose;
  bool visible = false;
  int left = 0, top = 0;  // twips
  int width = 9000;
  int height = 7000;
};

// The parameters (settings) window.
struct ParamsControls {
  CheckBox chkAllowWordsWithHyphens;
  CheckBox chkAllowWordsWithNumerals;
  CheckBox chkIgnoreInfrequentWords;
  ComboBox cboThresholdFrequency;  // items "2" to "20"
  // Concordance and search-results files as Windows-1252 with CR LF line ends (for
  // Windows users) instead of UTF-8 with LF.
  CheckBox chkWindowsText;
  // The word rules ("automatic", "unicode", "windows-1252"), the encoding a document
  // is read in ("" : UTF-8 when it is valid, else Windows-1252) and the language whose
  // alphabetical order the lists follow ("" : the default order).
  std::string strWordRules = "automatic";
  std::string strEncoding;
  std::string strSortLanguage;
  TextBox txbStopWordsFile;
  TextBox txbExtraStopWords;
  Button cmdListStopWords;
  Label lblParameters;
  TextBox txbParametersFile;
  Button cmdClose;
  std::string focus;  // name of the control that has the focus
};

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_CONTROLS_H_
