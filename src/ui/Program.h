// The state of the windows and their run: the modules' state structs (the document
// text and the input's state, the word table, the stop words, the keyword lists, the
// listing), the controls of the three windows, the run's flags, counters and options,
// the Host and the program texts. One Program exists per running program (or per test).
#ifndef QUILLMOOR_UI_PROGRAM_H_
#define QUILLMOOR_UI_PROGRAM_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/WordTable.h"
#include "input/DocumentText.h"
#include "output/KeywordSearch.h"
#include "output/Kwic.h"
#include "output/ListingState.h"
#include "output/Md5.h"
#include "settings/StopWords.h"
#include "shared/FileSystem.h"
#include "shared/Host.h"
#include "shared/ProgramText.h"
#include "ui/Controls.h"

namespace quillmoor {

// The modules' state structs are its bases, so their members keep their names here
// (p.arrWords, p.arrStopWords) and a Program can be handed to a module's function that
// takes one of them.
struct Program : DocumentText, InputState, WordTable, StopWordTable, KeywordLists, ListingState {
  explicit Program(Host& h) : host(h) {}
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  Host& host;
  ProgramText texts;
  MainControls frmMain;
  ParamsControls frmParams;
  ViewControls frmView;
  std::string strViewFilename;  // the file the viewer shows
  bool blnFileDisplayed = false;

  // Run state.
  bool blnStop = false;          // stop requested; tested by every loop of a run
  bool blnReadingFile = false;   // the input document is being read
  bool blnReadingWords = false;  // a stop-word or keyword file is being read
  bool blnWordsGot = false;      // the word table holds the words of the current input
  bool blnIndexFileCurrent = false;
  bool blnScanStopped = false;
  bool blnElapsedTimeRunning = false;
  bool blnStartUpCompleted = false;
  bool blnCharacterEntitiesPossible = false;
  int32_t lngSecondsElapsed = 0;

  // Input state (the rest is InputState's).
  std::string strCurrentFolder;     // the folder file dialogs open in
  std::string strKeywordsFile;      // the keywords file chosen in its box
  std::string strIndexFile;         // the index file of the current input
  std::string strUserSettingsFile;  // where the options persist between starts

  int16_t intPositionDigits = 0;  // width of a stored position in the index file

  // Options copied at the button press.
  int16_t intContextSize = 5;
  int16_t intThresholdFrequency = 2;
  bool blnShowFrequencies = true;
  bool blnShowLineBreaks = true;
  std::string strRunTitle;           // program text 19 or 20
  bool blnStopAfterCounts = false;   // a run ends with the word counts (no listing)
  bool blnNoDisplayCopy = false;     // nothing shows the text (a word list): strLine1 stays empty
  std::string strAllowedExtraChars;  // digits and/or hyphen allowed in extra stop words
  bool blnConcordanceFileCreated = false;
  bool blnSearchResultsFileCreated = false;

  // Output files (the listing is ListingState's).
  std::string strConcordanceFile;     // the concordance file of the current run
  std::string strOutputFileOverride;  // when set, written instead of the derived name
  bool blnOutputFileCreated = false;
  // Why the last output file could not be written (ok: it was, or was not tried).
  FileError outputError;
  FileError indexError;          // why the last index file could not be written
  BackgroundDigest inputDigest;  // the input's MD5, made while the scan runs
  int32_t lngMaxTextboxChars = 65000;
  // The longest document text the scan takes: its positions are 32-bit, and the run
  // adds a space before and after the text.
  long long lngMaxDocumentChars = 2147483645LL;

  KeywordSelection keywordSelection;  // the keywords of the listing being made

  // The folder the program's data files lie in.
  std::string strProgramFolder;

  // Constants set at start-up.
  int16_t intTotalNumProgressBarChars = 40;
  int32_t lngProgressBarDrawn = -1;  // the bar's last drawn length (-1: not drawn)

  std::string GetProgramText(int32_t number) const { return texts.GetProgramText(number); }
};

// Shows a message box and returns the answer.
MsgResult MsgBox(const Program& p, const std::string& prompt, MsgButtons buttons, MsgIcon icon,
                 const std::string& title, int defaultButton = 1);

// The output textbox: append text, refresh it, clear it.
void AppendOutput(Program& p, std::string_view text);
void RefreshOutput(const Program& p);
void ClearOutput(Program& p);
// A status line: program text `number`, " ...", CR LF appended, and the box refreshed.
void StatusLine(Program& p, int32_t number);
// Appends `text` and CR LF and refreshes the box.
void StatusText(Program& p, std::string_view text);

// The main button's caption: `caption`, or the mode's caption (program text 3 in
// Create mode, 4 in Search mode) when `caption` is empty.
void SetListWordsCaption(Program& p, const std::string& caption);

// Gives the focus to the input-file button when it can take it, else to the main
// button (p.frmMain.focus names the control), and blanks the activity label.
void SetTheFocus(Program& p);

// The control-state update: true enables the controls the mode allows; false leaves
// only the output box, the main button and Quit enabled.
void EnableControls(Program& p, bool enable);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_PROGRAM_H_
