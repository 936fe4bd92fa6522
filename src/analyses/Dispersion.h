// Dispersion: where in the document a word occurs, evenly or bunched, and its plot.
//
// The document is cut into ten parts of equal numbers of tokens (scanner words; the
// first parts get the one token more when the count does not divide). With v_i a
// word's occurrences in part i, f their sum, n the parts and s_i the share of the
// document's tokens part i holds:
//   Juilland's D  1 - (sd(v) / mean(v)) / sqrt(n - 1), sd the population standard
//                 deviation (1: perfectly even; 0: all in one part)
//   Gries's DP    0.5 * sum |v_i / f - s_i| (0: as the parts' sizes predict; near 1:
//                 all in one small part)
// doc/analyses.md works an example through.
//
// The plot is one barcode row per word across the length of the text (each occurrence
// a tick at its character position), the ten parts marked, the document's lines on the
// axis; it is a list of drawing items that the SVG writer and the windows' painter
// draw the same way.
#ifndef QUILLMOOR_ANALYSES_DISPERSION_H_
#define QUILLMOOR_ANALYSES_DISPERSION_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analyses/Tokens.h"

namespace quillmoor {

inline constexpr int kDispersionParts = 10;

// D and DP of the counts v over parts whose shares of the document are `shares`
// (summing to 1). Both need n >= 2 parts and f >= 1.
double JuillandD(const std::vector<double>& v);
double GriesDP(const std::vector<double>& v, const std::vector<double>& shares);

// The first token of each of the ten parts, and the end (tokens.size()).
std::array<size_t, kDispersionParts + 1> PartBounds(size_t tokens);

struct DispersionRow {
  int32_t word = 0;            // index in the table
  std::string label;           // or, when not empty, what the row stands for (engine text)
  std::vector<size_t> tokens;  // its occurrences, in text order
  std::array<int32_t, kDispersionParts> parts{};
  double juillandD = 0;
  double griesDP = 0;
};

// One row per word (table indices, in the order given); a word with no token gets no
// row.
std::vector<DispersionRow> Disperse(const TokenStream& tokens, const std::vector<int32_t>& words);
// The row of the occurrences `at` (tokens, in text order; at least one), named `label`.
DispersionRow DisperseTokens(const TokenStream& tokens, std::vector<size_t> at, std::string label);

// What a plot is drawn with. Coordinates in pixels, the origin top left; colours
// 0xRRGGBB; texts UTF-8.
struct PlotItem {
  enum Kind { kLine, kRect, kText };
  Kind kind = kLine;
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // a line's ends; a rectangle's corners
  uint32_t color = 0;
  double width = 1;     // a line's width
  bool filled = false;  // a rectangle: filled, or only its border
  std::string text;     // a text, at (x1, y1) on its baseline
  enum Align { kLeft, kCenter, kRight } align = kLeft;
  double size = 12;  // a text's size
  bool bold = false;
};

class DispersionPlot {
 public:
  // `title` (UTF-8) heads the plot.
  DispersionPlot(const TokenStream& tokens, const std::vector<DispersionRow>& rows,
                 const std::string& title);

  double width() const { return width_; }
  double height() const { return height_; }
  const std::vector<PlotItem>& items() const { return items_; }
  // The row and the token of the tick nearest (x, y) within 3 pixels; false when none.
  bool TickAt(double x, double y, size_t* row, size_t* token) const;
  // The picture as a standalone SVG document.
  std::string Svg() const;

  static constexpr double kRowHeight = 30;

 private:
  double X(int32_t position) const;

  const TokenStream& tokens_;
  const std::vector<DispersionRow>& rows_;
  double width_ = 0, height_ = 0;
  std::vector<PlotItem> items_;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_ANALYSES_DISPERSION_H_
