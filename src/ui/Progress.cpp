#include "ui/Progress.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "ui/Program.h"

namespace quillmoor {
namespace {

// The label lblTotalNumOccurrences in the given look, visible, with `caption`.
void StyleBarLabel(Program& p, Alignment alignment, const char* font, bool bold,
                   std::string caption) {
  Label& bar = p.frmMain.lblTotalNumOccurrences;
  bar.alignment = alignment;
  bar.fontName = font;
  bar.fontSize = 10;
  bar.bold = bold;
  bar.visible = true;
  bar.caption = std::move(caption);
  p.lngProgressBarDrawn = -1;
}

}  // namespace

RunWatch::RunWatch(Program& p)
    : WorkObserver(p.blnStartUpCompleted ? &p.host : nullptr, &p.blnStop), p_(p) {}

void RunWatch::Progress(int32_t done, int32_t total, int32_t least) {
  UpdateProgressBar(p_, done, total, least);
}

int32_t RunWatch::NextProgressStep(int32_t total, int32_t least) const {
  return NextProgressBarStep(p_, total, least);
}

void RunWatch::WordsCounted(int32_t) {
  p_.frmMain.lblNumberOfWords.visible = true;
  p_.host.Refresh("lblNumberOfWords", p_.frmMain.lblNumberOfWords.caption);
}

void SetTotalNumOccurrencesForFileProgressBar(Program& p) {
  StyleBarLabel(p, Alignment::kLeft, "Courier New", true,
                "[" + std::string(static_cast<size_t>(p.intTotalNumProgressBarChars), ' ') + "]");
}

void UpdateProgressBar(Program& p, int32_t lngDone, int32_t lngTotal, int32_t lngMin) {
  if (lngTotal < lngMin || lngTotal <= 0) return;
  const int width = p.intTotalNumProgressBarChars;
  // Rounded half to even, as the program's rounding does.
  const long long k = std::llrint(static_cast<double>(lngDone) * width / lngTotal);
  if (k == p.lngProgressBarDrawn) return;  // the bar already shows k
  p.lngProgressBarDrawn = static_cast<int32_t>(k);
  std::string caption;
  if (k <= 0) {
    caption = "[>" + std::string(static_cast<size_t>(width), ' ') + "]";
  } else if (k <= width) {
    caption = "[" + std::string(static_cast<size_t>(k - 1), '-') + ">" +
              std::string(static_cast<size_t>(width - k), ' ') + "]";
  } else {
    caption = "[" + std::string(static_cast<size_t>(k - 1), '-') + ">]";
  }
  Label& bar = p.frmMain.lblTotalNumOccurrences;
  bar.caption = std::move(caption);
  p.host.Refresh("lblTotalNumOccurrences", bar.caption);
}

int32_t NextProgressBarStep(const Program& p, int32_t lngTotal, int32_t lngMin) {
  if (lngTotal < lngMin || lngTotal <= 0) return INT32_MAX;
  // Below (drawn + 1/2) total / width the rounded length stays the one drawn; a
  // position of margin covers the rounding of the division.
  const double edge =
      (static_cast<double>(p.lngProgressBarDrawn) + 0.5) * lngTotal / p.intTotalNumProgressBarChars;
  return static_cast<int32_t>(
      std::clamp(std::floor(edge) - 1, 0.0, static_cast<double>(INT32_MAX)));
}

void ResetProgressLabel(Program& p) { StyleBarLabel(p, Alignment::kRight, "Arial", false, ""); }

void ConcealNumWords(Program& p, bool blnConcealTimeElapsed) {
  MainControls& m = p.frmMain;
  m.lblNumberOfWords.visible = m.lblNumOccurrences.visible = m.lblTotalNumOccurrences.visible =
      false;
  if (blnConcealTimeElapsed) m.lblTimeElapsed.caption.clear();
}

void EraseNumWords(Program& p) {
  MainControls& m = p.frmMain;
  m.lblNumberOfWords.caption.clear();
  m.lblNumOccurrences.caption.clear();
  m.lblTotalNumOccurrences.caption.clear();
  m.lblTimeElapsed.caption.clear();
}

}  // namespace quillmoor
