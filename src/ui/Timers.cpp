#include "ui/Timers.h"

#include "input/TextFile.h"
#include "shared/FileSystem.h"
#include "shared/NumberFormat.h"
#include "ui/Program.h"

namespace quillmoor {
namespace {

std::string Unit(int64_t n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

}  // namespace

std::string FormatDuration(int64_t seconds, bool blnWords, bool blnRound) {
  if (seconds < 0) seconds = 0;
  const int64_t days = seconds / 86400;
  const int64_t hours = seconds / 3600 % 24;
  const int64_t minutes = seconds / 60 % 60;
  const int64_t secs = seconds % 60;
  const bool dropSeconds = blnRound && seconds >= 3600;
  std::string out;
  auto add = [&out](const std::string& part) {
    out += (out.empty() ? "" : (part.empty() ? "" : " ")) + part;
  };
  if (blnWords) {
    if (days > 0) add(Unit(days, "day"));
    if (days > 0 || hours > 0) add(Unit(hours, "hour"));
    if (seconds >= 60) add(Unit(minutes, "minute"));
    if (!dropSeconds) add(Unit(secs, "second"));
    return out;
  }
  if (days > 0) add(std::to_string(days) + "d");
  if (days > 0 || hours > 0) add(std::to_string(hours) + "h");
  if (seconds >= 60) add(std::to_string(minutes) + "m");
  if (!dropSeconds) add(std::to_string(secs) + "s");
  return out;
}

void RefreshFileSizeLabels(Program& p) {
  MainControls& m = p.frmMain;
  m.lblInputFilesize.caption = FileSizeCaption("Input filesize: ", m.txbFile[0].text);
  m.lblInputFilesize.visible = !m.lblInputFilesize.caption.empty();
  const bool concordance = p.blnConcordanceFileCreated && FileExists(p.strConcordanceFile);
  m.lblConcordanceFilesize.caption =
      concordance ? FileSizeCaption("Concordance filesize: ", p.strConcordanceFile) : "";
  m.lblConcordanceFilesize.visible = m.lblConcordanceFile[0].visible =
      m.lblConcordanceFile[1].visible = concordance;
  if (concordance) m.lblConcordanceFile[1].caption = p.strConcordanceFile;
  m.lblIndexFilesize.caption =
      p.blnIndexFileCurrent ? FileSizeCaption("Index filesize: ", p.strIndexFile) : std::string();
  m.lblIndexFilesize.visible = !m.lblIndexFilesize.caption.empty();
  m.lblSearchResultsFilesize.caption =
      FileSizeCaption("Search results filesize: ", m.txbFile[1].text);
  m.lblSearchResultsFilesize.visible = !m.lblSearchResultsFilesize.caption.empty();
}

void Timer1_Timer(Program& p) {
  MainControls& m = p.frmMain;
  TextBox& stopWords = p.frmParams.txbStopWordsFile;
  stopWords.toolTip = stopWords.text.size() >= 58 ? stopWords.text : "";
  for (int i : {0, 1})
    m.txbFile[i].toolTip = m.txbFile[i].text.size() > 70 ? m.txbFile[i].text : "";
  m.chkUTF8[0].enabled = m.cmdClearFile[0].enabled;
  for (int i = 0; i < 3; ++i) m.cmdClearFile[i].enabled = !m.txbFile[i].text.empty();
  for (int i : {1, 2}) {
    m.cmdViewFile[i].enabled = FileExists(m.txbFile[i].text) && m.cmdClearFile[i].enabled;
  }
  m.cmdClearExtraKeywords.enabled = !m.txbExtraKeywords.text.empty();
  p.frmParams.cmdListStopWords.enabled = !stopWords.text.empty();
  m.chkCreateIndexFile.enabled = m.optCreate.value;
  RefreshFileSizeLabels(p);
}

void Timer2_Timer(Program& p) {
  if (!p.blnElapsedTimeRunning) return;
  MainControls& m = p.frmMain;
  ++p.lngSecondsElapsed;
  if (p.lngSecondsElapsed > 2) {
    m.lblTimeElapsed.caption = "Time elapsed: " + FormatDuration(p.lngSecondsElapsed, false, false);
    m.lblTimeElapsed.visible = true;
  }
  m.lblNumberOfWords.caption = FormatNumber(p.lngNumWords, 0) + " " + p.GetProgramText(6);
}

}  // namespace quillmoor
