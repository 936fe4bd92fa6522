#include "analyses/Dispersion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "explore/KwicExport.h"
#include "shared/Cp1252.h"
#include "shared/NumberFormat.h"
#include "shared/WordRuleSet.h"

namespace quillmoor {

double JuillandD(const std::vector<double>& v) {
  const double n = static_cast<double>(v.size());
  double sum = 0;
  for (double x : v) sum += x;
  const double mean = sum / n;
  double squares = 0;
  for (double x : v) squares += (x - mean) * (x - mean);
  const double sd = std::sqrt(squares / n);
  // Rounding can take an extreme a hair past 0 or 1.
  return std::clamp(1 - (sd / mean) / std::sqrt(n - 1), 0.0, 1.0);
}

double GriesDP(const std::vector<double>& v, const std::vector<double>& shares) {
  double f = 0;
  for (double x : v) f += x;
  double sum = 0;
  for (size_t i = 0; i < v.size(); ++i) sum += std::fabs(v[i] / f - shares[i]);
  return sum / 2;
}

std::array<size_t, kDispersionParts + 1> PartBounds(size_t tokens) {
  std::array<size_t, kDispersionParts + 1> bounds{};
  const size_t base = tokens / kDispersionParts, extra = tokens % kDispersionParts;
  for (size_t i = 0; i < kDispersionParts; ++i)
    bounds[i + 1] = bounds[i] + base + (i < extra ? 1 : 0);
  return bounds;
}

namespace {

// Counts the row's tokens by part and measures them.
void Measure(const TokenStream& tokens, DispersionRow* row) {
  const auto bounds = PartBounds(tokens.size());
  std::vector<double> shares(kDispersionParts);
  for (size_t i = 0; i < kDispersionParts; ++i) {
    shares[i] = static_cast<double>(bounds[i + 1] - bounds[i]) / static_cast<double>(tokens.size());
  }
  size_t part = 0;
  for (size_t t : row->tokens) {
    while (part + 1 < kDispersionParts && t >= bounds[part + 1]) ++part;
    ++row->parts[part];
  }
  const std::vector<double> v(row->parts.begin(), row->parts.end());
  row->juillandD = JuillandD(v);
  row->griesDP = GriesDP(v, shares);
}

}  // namespace

std::vector<DispersionRow> Disperse(const TokenStream& tokens, const std::vector<int32_t>& words) {
  std::vector<DispersionRow> rows;
  for (int32_t w : words) {
    DispersionRow row;
    row.word = w;
    row.tokens = tokens.TokensOf({w});
    if (row.tokens.empty()) continue;
    Measure(tokens, &row);
    rows.push_back(std::move(row));
  }
  return rows;
}

DispersionRow DisperseTokens(const TokenStream& tokens, std::vector<size_t> at, std::string label) {
  DispersionRow row;
  row.tokens = std::move(at);
  row.label = std::move(label);
  if (!row.tokens.empty() && tokens.size() > 0) Measure(tokens, &row);
  return row;
}

namespace {

constexpr double kTop = 44, kLabelRight = 150, kCountRight = 210, kBandLeft = 224, kBandWidth = 660;
constexpr double kBandHeight = 22;
constexpr uint32_t kInk = 0x202020, kTick = 0x1f4e9c, kFaint = 0xc8c8c8, kBand = 0xf4f4f4;

PlotItem Line(double x1, double y1, double x2, double y2, uint32_t color, double width = 1) {
  PlotItem item;
  item.kind = PlotItem::kLine;
  item.x1 = x1, item.y1 = y1, item.x2 = x2, item.y2 = y2;
  item.color = color;
  item.width = width;
  return item;
}

PlotItem Text(double x, double y, std::string text, PlotItem::Align align, double size = 12,
              bool bold = false) {
  PlotItem item;
  item.kind = PlotItem::kText;
  item.x1 = x, item.y1 = y;
  item.text = std::move(text);
  item.align = align;
  item.size = size;
  item.bold = bold;
  item.color = kInk;
  return item;
}

std::string Number(double x) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", x);
  std::string s = buffer;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s.pop_back();
  return s;
}

std::string Colour(uint32_t c) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%06x", c & 0xffffffu);
  return buffer;
}

}  // namespace

double DispersionPlot::X(int32_t position) const {
  const double length = std::max<double>(1, static_cast<double>(tokens_.source().text.size()));
  return kBandLeft + kBandWidth * (position - 1) / length;
}

DispersionPlot::DispersionPlot(const TokenStream& tokens, const std::vector<DispersionRow>& rows,
                               const std::string& title)
    : tokens_(tokens), rows_(rows) {
  width_ = kBandLeft + kBandWidth + 20;
  height_ = kTop + kRowHeight * static_cast<double>(rows.size()) + 44;
  PlotItem background;
  background.kind = PlotItem::kRect;
  background.x2 = width_, background.y2 = height_;
  background.color = 0xffffff;
  background.filled = true;
  items_.push_back(background);
  items_.push_back(Text(12, 22, title, PlotItem::kLeft, 14, true));
  items_.push_back(Text(kLabelRight, kTop - 6, "word", PlotItem::kRight, 11));
  items_.push_back(Text(kCountRight, kTop - 6, "freq.", PlotItem::kRight, 11));
  const double bottom = kTop + kRowHeight * static_cast<double>(rows.size());
  for (size_t r = 0; r < rows.size(); ++r) {
    const double y = kTop + kRowHeight * static_cast<double>(r);
    PlotItem band;
    band.kind = PlotItem::kRect;
    band.x1 = kBandLeft, band.y1 = y + 2, band.x2 = kBandLeft + kBandWidth,
    band.y2 = y + 2 + kBandHeight;
    band.color = kBand;
    band.filled = true;
    items_.push_back(band);
    const std::string word = EngineTextAsUtf8(
        WordRuleSetOf(tokens.source().utf8),
        rows[r].label.empty() ? (*tokens.source().words)[static_cast<size_t>(rows[r].word)].strWord
                              : rows[r].label);
    items_.push_back(Text(kLabelRight, y + 18, word, PlotItem::kRight));
    items_.push_back(
        Text(kCountRight, y + 18, std::to_string(rows[r].tokens.size()), PlotItem::kRight));
  }
  // The ten parts' bounds, faint, across every row.
  const auto bounds = PartBounds(tokens.size());
  for (size_t i = 1; i < kDispersionParts; ++i) {
    if (bounds[i] >= tokens.size()) continue;
    const double x = X(tokens[bounds[i]].position);
    items_.push_back(Line(x, kTop, x, bottom, kFaint));
  }
  // One tick per occurrence; occurrences closer than a quarter pixel share one.
  for (size_t r = 0; r < rows.size(); ++r) {
    const double y = kTop + kRowHeight * static_cast<double>(r);
    double last = -1;
    for (size_t t : rows[r].tokens) {
      const double x = std::round(X(tokens[t].position) * 4) / 4;
      if (x == last) continue;
      last = x;
      items_.push_back(Line(x, y + 2, x, y + 2 + kBandHeight, kTick));
    }
  }
  // The axis: the document's lines at the start, the quarters and the end of the text
  // (a line already named is not named again: a web page is often one line).
  items_.push_back(Line(kBandLeft, bottom + 4, kBandLeft + kBandWidth, bottom + 4, kInk));
  const std::string_view text = tokens.source().text;
  int32_t named = 0;
  for (int q = 0; q <= 4; ++q) {
    const double x = kBandLeft + kBandWidth * q / 4.0;
    const size_t offset = std::min(text.size(), text.size() * static_cast<size_t>(q) / 4);
    int32_t line = 1;
    if (q == 4) {
      line = tokens.Lines();
    } else if (tokens.size() > 0) {
      const size_t t = tokens.TokenAt(static_cast<int32_t>(offset + 1));
      line = tokens[t].line;
    }
    if (line <= named) continue;
    named = line;
    items_.push_back(Line(x, bottom + 4, x, bottom + 9, kInk));
    items_.push_back(Text(x, bottom + 22, FormatNumber(line, 0),
                          q == 0   ? PlotItem::kLeft
                          : q == 4 ? PlotItem::kRight
                                   : PlotItem::kCenter,
                          11));
  }
  items_.push_back(Text(kCountRight, bottom + 22, "line", PlotItem::kRight, 11));
}

bool DispersionPlot::TickAt(double x, double y, size_t* row, size_t* token) const {
  if (y < kTop || x < kBandLeft - 3 || x > kBandLeft + kBandWidth + 3) return false;
  const size_t r = static_cast<size_t>((y - kTop) / kRowHeight);
  if (r >= rows_.size()) return false;
  const std::vector<size_t>& list = rows_[r].tokens;
  // The first tick at or right of x, and the one before it.
  const auto at = std::lower_bound(list.begin(), list.end(), x, [this](size_t t, double value) {
    return X(tokens_[t].position) < value;
  });
  double best = 3.0001;
  bool found = false;
  for (auto it : {at, at == list.begin() ? list.end() : at - 1}) {
    if (it == list.end()) continue;
    const double d = std::fabs(X(tokens_[*it].position) - x);
    if (d < best) {
      best = d;
      *row = r;
      *token = *it;
      found = true;
    }
  }
  return found;
}

std::string DispersionPlot::Svg() const {
  std::string svg =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
      "width=\"" +
      Number(width_) + "\" height=\"" + Number(height_) + "\" viewBox=\"0 0 " + Number(width_) +
      " " + Number(height_) + "\" font-family=\"DejaVu Sans, Liberation Sans, sans-serif\">\n";
  for (const PlotItem& item : items_) {
    switch (item.kind) {
      case PlotItem::kLine:
        svg += "<line x1=\"" + Number(item.x1) + "\" y1=\"" + Number(item.y1) + "\" x2=\"" +
               Number(item.x2) + "\" y2=\"" + Number(item.y2) + "\" stroke=\"" +
               Colour(item.color) + "\" stroke-width=\"" + Number(item.width) + "\"/>\n";
        break;
      case PlotItem::kRect:
        svg += "<rect x=\"" + Number(item.x1) + "\" y=\"" + Number(item.y1) + "\" width=\"" +
               Number(item.x2 - item.x1) + "\" height=\"" + Number(item.y2 - item.y1) + "\" " +
               (item.filled ? "fill=\"" + Colour(item.color) + "\""
                            : "fill=\"none\" stroke=\"" + Colour(item.color) + "\"") +
               "/>\n";
        break;
      case PlotItem::kText: {
        const char* anchor = item.align == PlotItem::kLeft     ? "start"
                             : item.align == PlotItem::kCenter ? "middle"
                                                               : "end";
        svg += "<text x=\"" + Number(item.x1) + "\" y=\"" + Number(item.y1) + "\" font-size=\"" +
               Number(item.size) + "\" text-anchor=\"" + anchor + "\" fill=\"" +
               Colour(item.color) + "\"" + (item.bold ? " font-weight=\"bold\"" : "") + ">" +
               HtmlEscaped(item.text) + "</text>\n";
        break;
      }
    }
  }
  return svg + "</svg>\n";
}

}  // namespace quillmoor
