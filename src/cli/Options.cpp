#include "cli/Options.h"

#include <map>

#include "analyses/Ngrams.h"
#include "explore/KwicExport.h"
#include "output/Concordance.h"

namespace quillmoor {
namespace {

// A whole number from `low` to `high`, or false.
bool ParseNumber(const std::string& text, int low, int high, int* value) {
  if (text.empty() || text.size() > 3 ||
      text.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  *value = std::stoi(text);
  return *value >= low && *value <= high;
}

// The commands an option serves.
enum Commands : unsigned {
  kRead = 1,
  kWordList = 2,
  kCreate = 4,
  kSearch = 8,
  kKwic = 16,
  kCollocates = 32,
  kNgrams = 64,
  kDispersion = 128,
  kAnalyses = kCollocates | kNgrams | kDispersion,
  kAll = 255
};
constexpr const char* kCommandNames[] = {"read", "wordlist",   "create", "search",
                                         "kwic", "collocates", "ngrams", "dispersion"};
constexpr unsigned kNumCommands = 8;

enum class Kind {
  kFlag,    // --name
  kSwitch,  // --name and --no-name
  kValue,   // --name VALUE, --name=VALUE
};

struct OptionEntry {
  const char* name;
  char shortName;  // 0: none
  Kind kind;
  unsigned commands;
};

constexpr OptionEntry kOptions[] = {
    {"help", 'h', Kind::kFlag, kAll},
    {"version", 'V', Kind::kFlag, kAll},
    {"quiet", 'q', Kind::kFlag, kAll},
    {"yes", 'y', Kind::kFlag, kAll},
    {"no", 'n', Kind::kFlag, kAll},
    {"order", 0, Kind::kValue, kWordList | kCreate | kSearch},
    {"context", 'c', Kind::kValue, kCreate | kSearch},
    {"frequencies", 0, Kind::kSwitch, kCreate | kSearch},
    {"line-breaks", 0, Kind::kSwitch, kCreate | kSearch},
    {"hyphens", 0, Kind::kSwitch, kWordList | kCreate | kSearch | kKwic | kAnalyses},
    {"numerals", 0, Kind::kSwitch, kWordList | kCreate | kSearch | kKwic | kAnalyses},
    {"min-frequency", 'm', Kind::kValue, kWordList | kCreate | kKwic | kCollocates | kNgrams},
    {"stop-words", 's', Kind::kValue, kWordList | kCreate | kKwic | kAnalyses},
    {"extra-stop-words", 'e', Kind::kValue, kWordList | kCreate | kKwic | kAnalyses},
    {"output", 'o', Kind::kValue, kWordList | kCreate | kSearch | kKwic | kAnalyses},
    {"overwrite", 'f', Kind::kFlag, kWordList | kCreate | kSearch | kKwic | kAnalyses},
    {"windows-text", 0, Kind::kSwitch, kCreate | kSearch},
    {"index", 0, Kind::kSwitch, kCreate | kSearch},
    {"keywords", 'k', Kind::kValue, kSearch | kKwic | kAnalyses},
    {"keywords-file", 'K', Kind::kValue, kSearch | kKwic | kAnalyses},
    {"settings", 0, Kind::kValue, kWordList | kCreate | kSearch | kKwic | kAnalyses},
    {"save-settings", 0, Kind::kValue, kWordList | kCreate | kSearch | kKwic | kAnalyses},
    {"width", 'w', Kind::kValue, kKwic},
    {"sort", 0, Kind::kValue, kKwic},
    {"format", 0, Kind::kValue, kKwic | kAnalyses},
    {"window", 0, Kind::kValue, kCollocates},
    {"measure", 0, Kind::kValue, kCollocates},
    {"size", 0, Kind::kValue, kNgrams},  // -n after the ngrams command
    {"across-lines", 0, Kind::kSwitch, kNgrams},
    {"svg", 0, Kind::kValue, kDispersion},
    {"png", 0, Kind::kValue, kDispersion},
};

// Given after the ngrams command, -n is --size; elsewhere it is --no.
constexpr OptionEntry kSizeShort = {"size", 'n', Kind::kValue, kNgrams};

const OptionEntry* FindLong(const std::string& name) {
  for (const OptionEntry& o : kOptions) {
    if (name == o.name) return &o;
  }
  return nullptr;
}

const OptionEntry* FindShort(char c, bool ngrams) {
  if (ngrams && c == 'n') return &kSizeShort;
  for (const OptionEntry& o : kOptions) {
    if (o.shortName != 0 && c == o.shortName) return &o;
  }
  return nullptr;
}

// Sets what one option says. `on` is false for --no-NAME. False with *error set.
bool Apply(const OptionEntry& entry, bool on, const std::string& value, const std::string& typed,
           CliOptions* o, std::string* error) {
  const std::string name = entry.name;
  const std::map<std::string, Setting<bool> CliOptions::*> switches = {
      {"hyphens", &CliOptions::hyphens},
      {"numerals", &CliOptions::numerals},
      {"frequencies", &CliOptions::frequencies},
      {"line-breaks", &CliOptions::lineBreaks},
      {"index", &CliOptions::index},
      {"windows-text", &CliOptions::windowsText},
      {"across-lines", &CliOptions::acrossLines}};
  const std::map<std::string, Setting<std::string> CliOptions::*> texts = {
      {"stop-words", &CliOptions::stopWords},
      {"extra-stop-words", &CliOptions::extraStopWords},
      {"output", &CliOptions::output},
      {"keywords", &CliOptions::keywords},
      {"keywords-file", &CliOptions::keywordsFile},
      {"settings", &CliOptions::settings},
      {"save-settings", &CliOptions::saveSettings},
      {"svg", &CliOptions::svg},
      {"png", &CliOptions::png}};
  if (name == "help") {
    o->help = true;
  } else if (name == "version") {
    o->version = true;
  } else if (name == "quiet") {
    o->quiet = true;
  } else if (name == "overwrite") {
    o->overwrite = true;
  } else if (name == "yes" || name == "no") {
    const AnswerPolicy policy = name == "yes" ? AnswerPolicy::kYes : AnswerPolicy::kNo;
    if (o->policy != AnswerPolicy::kDefault && o->policy != policy) {
      *error = "--yes and --no cannot be given together";
      return false;
    }
    o->policy = policy;
  } else if (switches.count(name)) {
    (o->*switches.at(name)).Set(on);
  } else if (name == "order") {
    if (value != "alpha" && value != "freq") {
      *error = typed + " takes alpha or freq, not '" + value + "'";
      return false;
    }
    o->wordOrder.Set(value == "alpha" ? 0 : 1);
  } else if (name == "width") {
    int n = 0;
    if (!ParseNumber(value, 1, 20, &n)) {
      *error = typed + " takes a whole number from 1 to 20, not '" + value + "'";
      return false;
    }
    o->width.Set(n);
  } else if (name == "sort") {
    std::vector<SortLevel> levels;
    if (!ParseSortLevels(value, &levels)) {
      *error = typed + " takes up to three of L5..L1, KW, R1..R5, POS separated by commas, not '" +
               value + "'";
      return false;
    }
    o->sort.Set(levels);
  } else if (name == "format") {
    KwicFormat format;
    if (!ParseKwicFormat(value, &format) || format == KwicFormat::kHtml) {
      *error = typed + " takes text, tsv, csv or jsonl, not '" + value + "'";
      return false;
    }
    o->format.Set(format);
  } else if (name == "window") {
    CollocateWindow window;
    if (!ParseCollocateWindow(value, &window)) {
      *error =
          typed + " takes the words on each side as in 5L,5R (0 to 20 each), not '" + value + "'";
      return false;
    }
    o->window.Set(window);
  } else if (name == "measure") {
    CollocationMeasure measure;
    if (!ParseMeasure(value, &measure)) {
      *error = typed + " takes logdice, mi, t or ll, not '" + value + "'";
      return false;
    }
    o->measure.Set(measure);
  } else if (name == "size") {
    int n = 0;
    if (!ParseNumber(value, kMinNgramSize, kMaxNgramSize, &n)) {
      *error = typed + " takes a whole number from 2 to 6, not '" + value + "'";
      return false;
    }
    o->size.Set(n);
  } else if (name == "context" || name == "min-frequency") {
    // The analyses' minimum frequency goes down to 1; the range is checked against
    // the command once it is known.
    const bool context = name == "context";
    int n = 0;
    if (!ParseNumber(value, context ? 0 : 1, context ? 9 : 999, &n)) {
      *error = typed + " takes a whole number from " +
               (context ? "0 to 9" : "2 to 20 (1 to 999 for collocates and ngrams)") + ", not '" +
               value + "'";
      return false;
    }
    (context ? o->context : o->minFrequency).Set(n);
  } else {
    if (value.empty() && name != "extra-stop-words") {
      *error = typed + " needs a value";
      return false;
    }
    (o->*texts.at(name)).Set(value);
  }
  return true;
}

// "create" for kCreate; "wordlist, create or search" for several.
std::string CommandList(unsigned commands) {
  std::vector<std::string> names;
  for (unsigned i = 0; i < kNumCommands; ++i) {
    if (commands & (1u << i)) names.push_back(kCommandNames[i]);
  }
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
  }
  return text;
}

}  // namespace

bool IsAnalysisCommand(const std::string& command) {
  return command == "collocates" || command == "ngrams" || command == "dispersion";
}

std::string CliVersion() {
  return std::string("quillmoor-cli (Quillmoor) ") + ProgramVersion() + "\n" +
         "The files it writes are headed \"Quillmoor (V." + VersionText() + ")\".\n" +
         LicenceNotice();
}

std::string CliUsage() {
  return "usage: quillmoor-cli [COMMAND] [OPTIONS] FILE\n"
         "Keyword-in-context concordances and keyword searches of one document.\n"
         "FILE is a text, HTML, XML or .docx file; - reads standard input (as text).\n"
         "\n"
         "commands:\n"
         "  create FILE      make the concordance of FILE (the default command):\n"
         "                   FILE.oxn.con_<a|f><context>.txt beside it (standard\n"
         "                   output when FILE is -)\n"
         "  search FILE      list only the words the keywords ask for, with their\n"
         "                   context lines, on standard output; uses the index file of\n"
         "                   FILE when there is one\n"
         "  wordlist FILE    list the words of FILE with their frequencies\n"
         "  read FILE        print the document text of FILE as a run reads it\n"
         "  kwic FILE        one line per occurrence of the listed words (or of those\n"
         "                   the keywords select): left context, keyword, right context\n"
         "  collocates FILE  the words found near the keywords' words, with their\n"
         "                   counts and association measures (needs --keywords)\n"
         "  ngrams FILE      the sequences of N words that recur (with --keywords,\n"
         "                   those holding a keyword's word, and its place in them)\n"
         "  dispersion FILE  where in the document the keywords' words occur: the\n"
         "                   occurrences in ten equal parts, Juilland's D, Gries's DP;\n"
         "                   --svg and --png draw the plot (needs --keywords)\n"
         "\n"
         "options (commands that take them in brackets):\n"
         "  -h, --help               print this help and exit\n"
         "  -V, --version            print the version and exit\n"
         "  -q, --quiet              print nothing on standard error but errors\n"
         "  -y, --yes                answer every question Yes\n"
         "  -n, --no                 answer every question No (without either, each\n"
         "                           question gets its default answer; an existing\n"
         "                           file is kept)\n"
         "  --order alpha|freq       word order (default alpha) [wordlist create search]\n"
         "  -c, --context N          context size, 0 to 9 words (default 5) [create search]\n"
         "  --frequencies, --no-frequencies\n"
         "                           show frequencies and repeat marks (default: shown)\n"
         "                           [create search]\n"
         "  --line-breaks, --no-line-breaks\n"
         "                           show line breaks as \" / \" (default: shown)\n"
         "                           [create search]\n"
         "  --hyphens, --no-hyphens  allow words with hyphens (default: allowed)\n"
         "                           [wordlist create search kwic + analyses]\n"
         "  --numerals, --no-numerals\n"
         "                           allow words with digits (default: not)\n"
         "                           [wordlist create search kwic + analyses]\n"
         "  -m, --min-frequency N    leave out words occurring fewer than N times\n"
         "                           (2 to 20) [wordlist create kwic]; collocates and\n"
         "                           n-grams found fewer than N times (1 to 999,\n"
         "                           default 1) [collocates ngrams]\n"
         "  -s, --stop-words WHICH   a stop-word file, or en, de, es, pt, it, fr, en_de,\n"
         "                           all, none (default: en); collocates are never stop\n"
         "                           words [wordlist create kwic + analyses]\n"
         "  -e, --extra-stop-words \"W1 W2\"\n"
         "                           further words to leave out [wordlist create kwic\n"
         "                           + analyses]\n"
         "  -o, --output FILE|-      write to FILE, or to standard output with -\n"
         "                           [wordlist create search kwic + analyses]\n"
         "  -f, --overwrite          replace an existing output file without asking\n"
         "                           [wordlist create search kwic + analyses]\n"
         "  --windows-text, --no-windows-text\n"
         "                           write Windows-1252 text with CR LF line ends\n"
         "                           (default: UTF-8 with LF) [create search]\n"
         "  --index, --no-index      also write the index file FILE.oxn.ndx; later runs\n"
         "                           on FILE then need no scan [create search]\n"
         "  -k, --keywords \"K1 K2\"   keywords: * any run of characters, ? one\n"
         "                           character, # one digit; head+tail lists head only\n"
         "                           in the context lines holding tail [search kwic\n"
         "                           + analyses]\n"
         "  -K, --keywords-file FILE a file of keywords [search kwic + analyses]\n"
         "  -w, --width N            kwic: context words on each side, 1 to 20 (default 5)\n"
         "  --sort LEVELS            kwic: up to three of L5..L1, KW, R1..R5, POS, as in\n"
         "                           R1,R2,L1 (default KW: by word, then document order)\n"
         "  --format FORMAT          text (aligned), tsv, csv or jsonl (default text)\n"
         "                           [kwic + analyses]\n"
         "  --window NL,NR           collocates: the words on each side of the keyword's\n"
         "                           word, 0 to 20 (default 5L,5R)\n"
         "  --measure M              collocates: sort by logdice (default), mi, t or ll\n"
         "  -n, --size N             ngrams: words in each, 2 to 6 (default 2); -n is\n"
         "                           --size only right after the ngrams command\n"
         "  --across-lines, --no-across-lines\n"
         "                           ngrams: let sequences span line breaks (default: do)\n"
         "  --svg FILE, --png FILE   dispersion: also draw the plot into FILE\n"
         "  --settings FILE.kvf      start from the options of a settings file (the other\n"
         "                           options override it) [wordlist create search kwic\n"
         "                           + analyses]\n"
         "  --save-settings FILE.kvf write the options of this run as a settings file\n"
         "                           [wordlist create search kwic + analyses]\n"
         "(analyses: collocates, ngrams and dispersion)\n"
         "Options take --name=VALUE as well as --name VALUE; short ones bundle (-qy).\n"
         "\n"
         "exit status: 0 done; 1 input refused, run stopped or a file not written;\n"
         "2 usage error; 3 search, kwic and the analyses: no word matches the keywords;\n"
         "128+N ended by signal N.\n"
         "\n"
         "Temporary files go to $TMPDIR (else /tmp). See quillmoor-cli(1).\n";
}

bool ParseCliOptions(const std::vector<std::string>& args, CliOptions* options,
                     std::string* error) {
  *options = CliOptions{};
  std::vector<std::string> positional;
  std::vector<std::pair<const OptionEntry*, std::string>> given;  // each option as typed
  const bool ngrams = !args.empty() && args[0] == "ngrams";
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--") {
      positional.insert(positional.end(), args.begin() + static_cast<long>(i) + 1, args.end());
      break;
    }
    if (a.size() < 2 || a[0] != '-') {  // a word, or "-" (standard input)
      positional.push_back(a);
      continue;
    }
    if (a[1] == '-') {
      const size_t equals = a.find('=');
      const std::string typed = a.substr(0, equals);
      std::string name = typed.substr(2);
      bool on = true;
      const OptionEntry* entry = FindLong(name);
      if (entry == nullptr && name.starts_with("no-")) {
        entry = FindLong(name.substr(3));
        if (entry != nullptr && entry->kind != Kind::kSwitch) entry = nullptr;
        on = false;
      }
      if (entry == nullptr) {
        *error = "unknown option '" + typed + "'";
        return false;
      }
      std::string value;
      if (entry->kind == Kind::kValue) {
        if (equals != std::string::npos) {
          value = a.substr(equals + 1);
        } else if (i + 1 < args.size()) {
          value = args[++i];
        } else {
          *error = "option '" + typed + "' needs a value";
          return false;
        }
      } else if (equals != std::string::npos) {
        *error = "option '" + typed + "' takes no value";
        return false;
      }
      if (!Apply(*entry, on, value, typed, options, error)) return false;
      given.emplace_back(entry, typed);
      continue;
    }
    // Short options, bundled: -qy, -o FILE, -oFILE, -qoFILE.
    for (size_t k = 1; k < a.size(); ++k) {
      const std::string typed = std::string("-") + a[k];
      const OptionEntry* entry = FindShort(a[k], ngrams);
      if (entry == nullptr) {
        *error = "unknown option '" + typed + "'";
        return false;
      }
      std::string value;
      if (entry->kind == Kind::kValue) {
        if (k + 1 < a.size()) {
          value = a.substr(k + 1);
        } else if (i + 1 < args.size()) {
          value = args[++i];
        } else {
          *error = "option '" + typed + "' needs a value";
          return false;
        }
        k = a.size();
      }
      if (!Apply(*entry, true, value, typed, options, error)) return false;
      given.emplace_back(entry, typed);
    }
  }
  if (options->help || options->version) return true;
  if (!positional.empty()) {
    for (const char* command : kCommandNames) {
      if (positional[0] == command) {
        options->command = command;
        positional.erase(positional.begin());
        break;
      }
    }
  }
  if (options->command.empty()) options->command = "create";
  if (positional.size() != 1) {
    *error = positional.empty() ? "no input file given" : "more than one input file given";
    return false;
  }
  unsigned command = 0;
  for (unsigned k = 0; k < kNumCommands; ++k) {
    if (options->command == kCommandNames[k]) command = 1u << k;
  }
  for (const auto& [entry, typed] : given) {
    if ((entry->commands & command) == 0) {
      *error = options->command + " does not take " + typed + " (an option of " +
               CommandList(entry->commands) + ")";
      return false;
    }
  }
  if ((command & (kSearch | kCollocates | kDispersion)) && !options->keywords.given &&
      !options->keywordsFile.given) {
    *error = options->command + " needs --keywords or --keywords-file";
    return false;
  }
  if (options->minFrequency.given && !(command & kAnalyses) &&
      (options->minFrequency.value < 2 || options->minFrequency.value > 20)) {
    std::string typed;
    for (const auto& [entry, as] : given) {
      if (std::string(entry->name) == "min-frequency") typed = as;
    }
    *error = typed + " takes a whole number from 2 to 20, not '" +
             std::to_string(options->minFrequency.value) + "'";
    return false;
  }
  for (const Setting<std::string>* picture : {&options->svg, &options->png}) {
    if (picture->given && picture->value == "-") {
      *error = std::string(picture == &options->svg ? "--svg" : "--png") +
               " needs a file name (the table goes to "
               "standard output)";
      return false;
    }
  }
  options->file = positional[0];
  if (options->file.empty()) {
    *error = "the input file name is empty";
    return false;
  }
  return true;
}

}  // namespace quillmoor
