// The analyses on any text: the tokens, the collocate windows, the n-gram counts and
// the dispersion parts against literal recounts, and the plot's SVG closed.
#include <algorithm>

#include "FuzzSupport.h"
#include "analyses/AnalysisTable.h"
#include "support/ScanText.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > 4096) return 0;
  Program& p = fuzz::StartedProgram();
  testing::ScanText(p, std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  const ExploreSource source{&p.arrWords, p.lngNumWords, p.strLine1};
  const TokenStream tokens(source);
  size_t counted = 0;
  for (int32_t w = 1; w <= p.lngNumWords; ++w) counted += static_cast<size_t>(tokens.CountOf(w));
  fuzz::Check(counted == tokens.size(), "the words' token counts do not add up to the tokens");
  for (size_t i = 1; i < tokens.size(); ++i) {
    fuzz::Check(tokens[i - 1].position < tokens[i].position && tokens[i - 1].line <= tokens[i].line,
                "the tokens are not in text order");
  }
  if (tokens.size() == 0) return 0;
  const std::vector<bool> every(static_cast<size_t>(p.lngNumWords) + 1, true);
  // Collocates of the first token's word: every pair within the window, counted.
  const int32_t node = tokens[0].word;
  const CollocateWindow window{data[0] % 4, 1 + (data[0] >> 2) % 4};
  // (A hyphenated word that holds the node as a part is a node token too.)
  const std::vector<size_t> nodes = tokens.TokensOf({node});
  int64_t pairs = 0;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (!std::binary_search(nodes.begin(), nodes.end(), i)) continue;
    for (size_t j = 0; j < tokens.size(); ++j) {
      const long d = static_cast<long>(j) - static_cast<long>(i);
      pairs += (d < 0 && -d <= window.left) || (d > 0 && d <= window.right);
    }
  }
  CollocateCounts counts;
  int64_t found = 0;
  for (const Collocate& c :
       FindCollocates(tokens, nodes, every, window, 1, CollocationMeasure::kLl, &counts)) {
    fuzz::Check(c.left + c.right == c.frequency, "a collocate's sides do not add up");
    found += c.frequency;
  }
  fuzz::Check(found == pairs && counts.window == pairs,
              "the collocate windows differ from the pair count");
  // N-grams: their frequencies add up to the starts a sequence of n fits.
  const NgramOptions options{2 + (data[0] >> 4) % 5, (data[0] & 0x80) == 0, 1};
  int64_t starts = 0;
  for (size_t i = 0; i + static_cast<size_t>(options.size) <= tokens.size(); ++i) {
    starts += options.acrossLines ||
              tokens[i].line == tokens[i + static_cast<size_t>(options.size) - 1].line;
  }
  int64_t grams = 0;
  for (const Ngram& g : FindNgrams(tokens, options, every, {})) grams += g.frequency;
  fuzz::Check(grams == starts, "the n-gram counts differ from the sequences that fit");
  // Dispersion: the parts hold every occurrence; the measures stay in their ranges.
  const std::vector<DispersionRow> rows = Disperse(tokens, {node});
  fuzz::Check(rows.size() == 1, "the node has no dispersion row");
  int32_t inParts = 0;
  for (int32_t v : rows[0].parts) inParts += v;
  fuzz::Check(rows[0].tokens.size() == static_cast<size_t>(inParts),
              "the parts do not hold every occurrence");
  fuzz::Check(rows[0].juillandD >= 0 && rows[0].juillandD <= 1 && rows[0].griesDP >= 0 &&
                  rows[0].griesDP <= 1,
              "a dispersion measure is out of its range");
  const std::string svg = DispersionPlot(tokens, rows, "t").Svg();
  fuzz::Check(svg.ends_with("</svg>\n") && std::count(svg.begin(), svg.end(), '<') ==
                                               std::count(svg.begin(), svg.end(), '>'),
              "the plot's SVG is not closed");
  return 0;
}
