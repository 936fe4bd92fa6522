// The command line's words: the command, the input file and the options.
//
// Every option sets a control of the windows; an option not given leaves the
// program's default. The run commands share one set of options; an option a command
// has no use for is a usage error. Options follow GNU practice: `--name value` or
// `--name=value`, short forms (`-o FILE`, `-oFILE`, `-qy`), `--` ends the options, and
// `-` as FILE is standard input.
#ifndef QUILLMOOR_CLI_OPTIONS_H_
#define QUILLMOOR_CLI_OPTIONS_H_

#include <string>
#include <vector>

#include "analyses/Collocates.h"
#include "cli/CliHost.h"
#include "explore/KwicExport.h"

namespace quillmoor {

// An option the command line leaves alone keeps the program's default.
template <typename T>
struct Setting {
  bool given = false;
  T value{};
  void Set(T v) {
    given = true;
    value = v;
  }
};

struct CliOptions {
  bool help = false;     // --help: print the usage, do nothing else
  bool version = false;  // --version
  std::string command;   // "read", "wordlist", "create", "search", "kwic", "collocates",
                         // "ngrams" or "dispersion"
  std::string file;      // as given (native, UTF-8); "-" for standard input
  AnswerPolicy policy = AnswerPolicy::kDefault;
  bool quiet = false;      // nothing on standard error but errors
  Setting<int> wordOrder;  // list index: 0 alphabetical, 1 by frequency
  Setting<bool> hyphens;
  Setting<bool> numerals;
  Setting<int> minFrequency;  // 2 to 20 (collocates, ngrams: 1 to 999)
  Setting<int> context;       // 0 to 9
  Setting<bool> frequencies;
  Setting<bool> lineBreaks;
  Setting<std::string> stopWords;       // a file (native) or en, de, ..., all, none
  Setting<std::string> extraStopWords;  // native (UTF-8) text
  Setting<std::string> output;          // a file (native) or "-"
  Setting<std::string> keywords;        // extra keywords, native (UTF-8) text
  Setting<std::string> keywordsFile;    // a keywords file (native)
  bool caseSensitive = false;           // the query: letter case as typed
  bool insideWords = false;             // the query: a word may match inside a word
  bool withinLine = false;              // the query: matches within one line
  Setting<std::string> settings;        // a settings file to start from (native)
  Setting<std::string> saveSettings;    // where to write the run's settings (native)
  bool overwrite = false;
  Setting<bool> index;                      // write the index file of the input
  Setting<bool> windowsText;                // output files as Windows-1252 with CR LF
  Setting<std::string> wordRules;           // automatic, unicode or windows-1252
  Setting<std::string> encoding;            // the document's encoding, by name
  Setting<std::string> sortLanguage;        // the language of the alphabetical order
  Setting<int> width;                       // kwic: context words on each side
  Setting<std::vector<SortLevel>> sort;     // kwic: the sort levels
  Setting<KwicFormat> format;               // kwic and the analyses: the output format
  Setting<CollocateWindow> window;          // collocates
  Setting<CollocationMeasure> measure;      // collocates: the sort
  Setting<int> size;                        // ngrams: words in each
  Setting<bool> acrossLines;                // ngrams: sequences may span line breaks
  Setting<std::string> svg;                 // dispersion: the plot as SVG (native)
  Setting<std::string> png;                 // dispersion: the plot as PNG (native)
  Setting<std::string> corpus;              // a corpus in place of the input file
  bool perDocument = false;                 // wordlist --corpus: counts by document
  Setting<std::string> reference;           // keywords: a corpus or a word list file
  double pValue = 0.05;                     // keywords: the significance level
  bool bonferroni = false;                  // keywords: the level over the words compared
  bool negative = false;                    // keywords: the negative keywords as well
  Setting<std::string> metadata;            // corpus: the documents' metadata (TSV)
  std::vector<std::string> where;           // with --corpus: the subcorpus's filters
  std::vector<std::string> referenceWhere;  // keywords: the reference subcorpus's filters
  Setting<int> lines;                       // kwic --corpus: the first N lines only
  std::vector<std::string> corpusWords;     // corpus: its subcommand and arguments

  // --keywords or --keywords-file was given.
  bool KeywordsGiven() const { return keywords.given || keywordsFile.given; }
  // --keywords is a query of the query language beyond the keywords, or an option of
  // the query's was given.
  bool QueryLanguage() const;
};

// True for the commands of the analyses: collocates, ngrams, dispersion.
bool IsAnalysisCommand(const std::string& command);

// Parses the arguments after the program name. Returns false with *error set to one
// line saying what is wrong on a usage error.
bool ParseCliOptions(const std::vector<std::string>& args, CliOptions* options, std::string* error);

// The text of --help (also the man page's synopsis and options).
std::string CliUsage();
// The text of --version.
std::string CliVersion();

}  // namespace quillmoor

#endif  // QUILLMOOR_CLI_OPTIONS_H_
