#include "cli/Commands.h"

namespace quillmoor {
namespace {

constexpr CliCommand kCommands[] = {
    {"create", kCreate,
     "make the concordance of FILE (the default command):\n"
     "FILE.oxn.con_<a|f><context>.txt beside it (standard\n"
     "output when FILE is -)",
     RunCreate},
    {"search", kSearch,
     "list only the words the keywords ask for, with their\n"
     "context lines, on standard output; uses the index file of\n"
     "FILE when there is one",
     RunSearch},
    {"wordlist", kWordList, "list the words of FILE with their frequencies", RunWordList},
    {"corpus", kCorpus,
     "corpus index NAME FILES|DIRS...: make a corpus of many\n"
     "documents; corpus add|remove NAME FILES...: update it\n"
     "(only changed documents are scanned again); corpus info\n"
     "NAME, corpus list",
     RunCorpus},
    {"keywords", kKeywords,
     "the words of --corpus unusually frequent against\n"
     "--reference: log-likelihood, Log Ratio, %DIFF, simple maths",
     RunKeywords},
    {"read", kRead, "print the document text of FILE as a run reads it", RunRead},
    {"kwic", kKwic,
     "one line per occurrence of the listed words (or of those\n"
     "the keywords select): left context, keyword, right context",
     RunKwic},
    {"collocates", kCollocates,
     "the words found near the keywords' words, with their\n"
     "counts and association measures (needs --keywords)",
     RunAnalysis},
    {"ngrams", kNgrams,
     "the sequences of N words that recur (with --keywords,\n"
     "those holding a keyword's word, and its place in them)",
     RunAnalysis},
    {"dispersion", kDispersion,
     "where in the document the keywords' words occur: the\n"
     "occurrences in ten equal parts, Juilland's D, Gries's DP;\n"
     "--svg and --png draw the plot (needs --keywords)",
     RunAnalysis},
};

}  // namespace

std::span<const CliCommand> CliCommands() { return kCommands; }

const CliCommand* FindCliCommand(std::string_view name) {
  for (const CliCommand& c : kCommands) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

}  // namespace quillmoor
