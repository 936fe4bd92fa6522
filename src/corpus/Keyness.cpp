#include "corpus/Keyness.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quillmoor {

double ChiSquareOneTail(double x) { return x <= 0 ? 1 : std::erfc(std::sqrt(x / 2)); }

KeynessMeasures MeasureKeyness(double a, double b, double c, double d, double simpleMathsN) {
  KeynessMeasures m;
  const double e1 = c * (a + b) / (c + d), e2 = d * (a + b) / (c + d);
  const auto term = [](double o, double e) { return o > 0 ? o * std::log(o / e) : 0.0; };
  m.logLikelihood = 2 * (term(a, e1) + term(b, e2));
  m.p = ChiSquareOneTail(m.logLikelihood);
  const double na = a / c, nb = b / d;
  m.logRatio = std::log2(((a > 0 ? a : 0.5) / c) / ((b > 0 ? b : 0.5) / d));
  m.percentDiff = nb > 0 ? 100 * (na - nb) / nb : std::numeric_limits<double>::infinity();
  m.simpleMaths = (na * 1e6 + simpleMathsN) / (nb * 1e6 + simpleMathsN);
  return m;
}

std::vector<KeynessRow> KeywordsOf(std::vector<KeynessRow> rows, uint64_t words,
                                   uint64_t referenceWords, const KeynessOptions& options) {
  const double level = options.bonferroni && !rows.empty()
                           ? options.p / static_cast<double>(rows.size())
                           : options.p;
  std::vector<KeynessRow> kept;
  for (KeynessRow& r : rows) {
    r.measures = MeasureKeyness(
        static_cast<double>(r.frequency), static_cast<double>(r.referenceFrequency),
        static_cast<double>(words), static_cast<double>(referenceWords), options.simpleMathsN);
    const double na = static_cast<double>(r.frequency) / static_cast<double>(words);
    const double nb =
        static_cast<double>(r.referenceFrequency) / static_cast<double>(referenceWords);
    const bool positive = na > nb;
    if (r.measures.p < level && (positive || (options.negative && na < nb))) {
      kept.push_back(std::move(r));
    }
  }
  std::sort(kept.begin(), kept.end(), [](const KeynessRow& x, const KeynessRow& y) {
    if (x.measures.logRatio != y.measures.logRatio)
      return x.measures.logRatio > y.measures.logRatio;
    return x.word < y.word;
  });
  return kept;
}

}  // namespace quillmoor
