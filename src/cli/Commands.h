// The command line's commands: one table of them (name, help, the function that runs
// it), read by the option parser, the checks of which options a command takes, and the
// usage text alike. Each command runs on a started program whose input box names the
// input, and returns the exit status.
#ifndef QUILLMOOR_CLI_COMMANDS_H_
#define QUILLMOOR_CLI_COMMANDS_H_

#include <span>
#include <string_view>

namespace quillmoor {

struct Program;
class CliHost;
class Terminal;
struct CliOptions;

// A command's bit in the set of commands an option serves.
enum CommandBits : unsigned {
  kRead = 1,
  kWordList = 2,
  kCreate = 4,
  kSearch = 8,
  kKwic = 16,
  kCollocates = 32,
  kNgrams = 64,
  kDispersion = 128,
  kCorpus = 256,
  kKeywords = 512,
  kAnalyses = kCollocates | kNgrams | kDispersion,
  kAll = 1023
};

// What a command runs with: the program, its host, the options and the terminal.
struct CommandRun {
  Program& p;
  CliHost& host;
  const CliOptions& options;
  Terminal& terminal;
};

struct CliCommand {
  const char* name;
  unsigned bit;
  const char* help;  // its lines in the usage, "\n" between them
  int (*run)(CommandRun& run);
};

// The commands, in the order the usage lists them; "create" is the default.
std::span<const CliCommand> CliCommands();
// The command named `name`, or null.
const CliCommand* FindCliCommand(std::string_view name);

// The commands (cli/*Command.cpp).
// read: the document text as a run reads it, on standard output.
int RunRead(CommandRun& run);
// wordlist: the listed words with their frequencies.
int RunWordList(CommandRun& run);
// corpus index|add|remove|info|list: builds, updates and describes corpora.
int RunCorpus(CommandRun& run);
// keywords: the words of a corpus against a reference, by keyness.
int RunKeywords(CommandRun& run);
// wordlist --corpus: the corpus's listed words with frequency, range and per million.
int RunCorpusWordList(CommandRun& run);
// kwic --corpus: the corpus's lines, with their documents.
int RunCorpusKwic(CommandRun& run);
int RunCorpusSearch(CommandRun& run);
// collocates --corpus: the collocates of the keywords' words, from the token stream.
int RunCorpusCollocates(CommandRun& run);
// ngrams --corpus: the n-grams of a corpus, with their ranges.
int RunCorpusNgrams(CommandRun& run);
// dispersion --corpus: Gries's DP with the documents as the parts.
int RunCorpusDispersion(CommandRun& run);
// create: the concordance file (or standard output).
int RunCreate(CommandRun& run);
// search: takes the index file's word table, or makes the word table (every word),
// turns to Search mode, takes the keywords and searches; the results go to --output or
// standard output.
int RunSearch(CommandRun& run);
// kwic: the occurrences of the listed words (or of those the keywords select), one line
// each, as --format says, to --output or standard output.
int RunKwic(CommandRun& run);
// collocates, ngrams or dispersion of the words the keywords select (ngrams: of every
// word without keywords), as a table in --format to --output or standard output;
// dispersion also draws its plot into the --svg and --png files.
int RunAnalysis(CommandRun& run);

}  // namespace quillmoor

#endif  // QUILLMOOR_CLI_COMMANDS_H_
