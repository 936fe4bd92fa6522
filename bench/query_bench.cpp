// Times the query language in process, the median of RUNS runs each:
//  - words TYPES [RUNS]: its word patterns over a lexicon of TYPES distinct words (made
//    of random letters, three to twelve of them, from a fixed seed), each query compiled
//    once and matched against every word;
//  - text FILE RUNS QUERY...: the queries over one document, read as a run of the
//    program reads a plain text (its tokens found once, then each query found in them);
//  - corpus INDEX RUNS QUERY...: the queries over a corpus's index (opened once).
// Usage: quillmoor-query-bench words|text|corpus ...
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "corpus/CorpusIndex.h"
#include "corpus/Subcorpus.h"
#include "query/CorpusTokens.h"
#include "query/DocumentTokens.h"
#include "query/Evaluate.h"
#include "query/WordMatch.h"
#include "shared/Cp1252.h"
#include "ui/CorpusLines.h"

namespace quillmoor {
namespace {

// Each query prepared and found in `ranges` of `tokens`, RUNS times; `then`, when
// given, is timed on the matches too (the lines made of them).
int TimeQueries(const QueryTokens& tokens, const std::vector<TokenRange>& ranges, int runs,
                char** queries, int count,
                const std::function<void(const std::vector<QueryMatch>&)>& then = {}) {
  for (int q = 0; q < count; ++q) {
    const std::string text = queries[q];
    Query query;
    QueryError error;
    if (!ParseQuery(text, &query, &error)) {
      std::fprintf(stderr, "%s\n", QueryErrorMessage(text, error).c_str());
      return 1;
    }
    size_t found = 0;
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
      times.push_back(bench::Seconds([&] {
        QueryEvaluator evaluator;
        if (!evaluator.Prepare(query, tokens, {}, &error)) return;
        bool stopped = false;
        found = evaluator.Find(ranges, &stopped).size();
        if (stopped) std::printf("(stopped) ");
      }));
    }
    std::printf("%-44s %9zu matches  %.1f ms", text.c_str(), found, bench::Median(times) * 1000);
    if (then) {
      QueryEvaluator evaluator;
      evaluator.Prepare(query, tokens, {}, &error);
      const std::vector<QueryMatch> matches = evaluator.Find(ranges);
      std::vector<double> lines;
      for (int r = 0; r < runs; ++r) lines.push_back(bench::Seconds([&] { then(matches); }));
      std::printf("; their lines %.1f ms", bench::Median(lines) * 1000);
    }
    std::printf("\n");
  }
  return 0;
}

int Text(int argc, char** argv) {
  if (argc < 4) return 2;
  FILE* file = std::fopen(argv[2], "rb");
  if (file == nullptr) return 1;
  std::string bytes;
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
  std::fclose(file);
  // The text as the engine keeps it (Windows-1252), its line ends as line-break marks.
  std::string text;
  Utf8ToCp1252(bytes, &text);
  std::string marked;
  for (const char c : text) {
    if (c == '\n') {
      marked += " / ";
    } else if (c != '\r') {
      marked += c;
    }
  }
  std::vector<double> times;
  for (int r = 0; r < std::atoi(argv[3]); ++r)
    times.push_back(bench::Seconds([&] { DocumentTokens tokens(marked, false); }));
  const DocumentTokens tokens(marked, false);
  std::printf("%zu tokens, %zu types; the tokens found in %.1f ms\n", tokens.runs().size(),
              tokens.tokens().spellings.size(), bench::Median(times) * 1000);
  return TimeQueries(tokens.tokens(), tokens.All(), std::atoi(argv[3]), argv + 4, argc - 4);
}

int Corpus(int argc, char** argv) {
  if (argc < 4) return 2;
  CorpusIndex index;
  std::string problem;
  if (!index.Open(argv[2], &problem)) {
    std::fprintf(stderr, "%s\n", problem.c_str());
    return 1;
  }
  const Subcorpus whole(index, {});
  QueryTokens tokens;
  const double mapped = bench::Seconds([&] { tokens = TokensOfCorpus(index); });
  std::printf("the stream and lexicon taken in %.1f ms\n", mapped * 1000);
  std::printf("%llu tokens, %zu types, %zu documents\n",
              static_cast<unsigned long long>(index.tokenCount()), tokens.spellings.size(),
              index.documents().size());
  const std::vector<uint32_t> frequency(index.words().size(), 0);
  return TimeQueries(tokens, RangesOf(index, whole), std::atoi(argv[3]), argv + 4, argc - 4,
                     [&](const std::vector<QueryMatch>& matches) {
                       CorpusLines lines(index, whole, frequency);
                       lines.SelectMatches(matches);
                       lines.Sort({{SortLevel::kKeyword, 0}});
                     });
}

int Words(int argc, char** argv) {
  const size_t types = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1000000;
  const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
  std::mt19937 random(1);
  std::set<std::string> distinct;
  while (distinct.size() < types) {
    std::string word;
    for (int n = 3 + static_cast<int>(random() % 10); n > 0; --n)
      word += static_cast<char>('a' + random() % 26);
    distinct.insert(word);
  }
  const std::vector<std::string> words(distinct.begin(), distinct.end());
  const std::vector<std::string_view> views(words.begin(), words.end());
  std::printf("%zu types\n", views.size());
  for (const char* text : {"/colou?r/", "/un.*able/", "/.*ness/", "/[aeiou]{3}.*/", "lov*", "*ing"}) {
    Query query;
    QueryError error;
    WordMatcher matcher;
    if (!ParseQuery(text, &query, &error) ||
        !matcher.Compile(query.alternatives[0].word, false, &error)) {
      std::fprintf(stderr, "%s\n", QueryErrorMessage(text, error).c_str());
      return 1;
    }
    size_t found = 0;
    std::vector<double> times;
    for (int r = 0; r < runs; ++r)
      times.push_back(bench::Seconds([&] { found = matcher.MatchAll(views).size(); }));
    std::printf("%-16s %8zu words  %.1f ms\n", text, found, bench::Median(times) * 1000);
  }
  return 0;
}

int Main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "words";
  if (what == "text") return Text(argc, argv);
  if (what == "corpus") return Corpus(argc, argv);
  return Words(argc, argv);
}

}  // namespace
}  // namespace quillmoor

int main(int argc, char** argv) { return quillmoor::Main(argc, argv); }
