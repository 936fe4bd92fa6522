// Keyness: the words of a corpus that are unusually frequent (or rare) compared with a
// reference corpus (doc/keyness.md works an example through).
//
// For a word with frequency a in the corpus of c words and b in the reference of d:
// - log-likelihood, the four-term form (Rayson and Garside 2000): with E1 = c(a+b)/(c+d)
//   and E2 = d(a+b)/(c+d), LL = 2 (a ln(a/E1) + b ln(b/E2)), a term of a zero frequency
//   being 0; its p-value is that of the chi-square distribution with one degree of
//   freedom;
// - Log Ratio (Hardie 2014): log2((a/c) / (b/d)), a zero frequency taken as 0.5;
// - %DIFF: 100 (a/c - b/d) / (b/d) in normalised frequencies (infinite when b is 0);
// - simple maths (Kilgarriff 2009): (a/c * 1e6 + N) / (b/d * 1e6 + N), N = 1 by default.
#ifndef QUILLMOOR_CORPUS_KEYNESS_H_
#define QUILLMOOR_CORPUS_KEYNESS_H_

#include <cstdint>
#include <string>
#include <vector>

namespace quillmoor {

struct KeynessMeasures {
  double logLikelihood = 0;
  double p = 1;  // of the log-likelihood
  double logRatio = 0;
  double percentDiff = 0;
  double simpleMaths = 0;
};

KeynessMeasures MeasureKeyness(double a, double b, double c, double d, double simpleMathsN = 1);

// The upper tail of the chi-square distribution with one degree of freedom.
double ChiSquareOneTail(double x);

struct KeynessRow {
  std::string word;
  uint64_t frequency = 0, referenceFrequency = 0;
  uint32_t range = 0, referenceRange = 0;
  KeynessMeasures measures;
};

struct KeynessOptions {
  double p = 0.05;          // the words significant at this level are kept
  bool bonferroni = false;  // p divided by the number of words compared
  bool negative = false;    // also the words less frequent than in the reference
  double simpleMathsN = 1;
};

// The rows of the words significant at the level asked (positive keywords, and the
// negative ones on request), sorted by Log Ratio, the strongest first (the negative
// ones last, the most negative at the end); ties by word.
std::vector<KeynessRow> KeywordsOf(std::vector<KeynessRow> rows, uint64_t words,
                                   uint64_t referenceWords, const KeynessOptions& options);

}  // namespace quillmoor

#endif  // QUILLMOOR_CORPUS_KEYNESS_H_
