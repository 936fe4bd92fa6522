// Times the query language's word patterns over a lexicon of TYPES distinct words (made
// of random letters, three to twelve of them, from a fixed seed), in process: each
// query compiled once and matched against every word. Prints the median of RUNS runs.
// Usage: quillmoor-query-bench [TYPES [RUNS]]
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "query/WordMatch.h"

namespace quillmoor {
namespace {

int Main(int argc, char** argv) {
  const size_t types = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
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

}  // namespace
}  // namespace quillmoor

int main(int argc, char** argv) { return quillmoor::Main(argc, argv); }
