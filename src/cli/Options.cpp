#include "cli/Options.h"

#include <algorithm>
#include <cstdlib>

#include "analyses/Ngrams.h"
#include "cli/Commands.h"
#include "explore/KwicExport.h"
#include "query/Query.h"
#include "shared/Version.h"
#include "ui/TextChoices.h"

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

enum class Kind {
  kFlag,    // --name
  kSwitch,  // --name and --no-name
  kValue,   // --name VALUE, --name=VALUE
};

// One use of an option: `on` is false for --no-NAME; `typed` is the option as typed.
struct OptionUse {
  bool on;
  const std::string& value;
  const std::string& typed;
};

using Setter = bool (*)(const OptionUse& use, CliOptions* o, std::string* error);

struct OptionEntry {
  const char* name;
  char shortName;  // 0: none
  Kind kind;
  const char* argument;  // as the usage shows it ("N", "FILE"); "" for none
  unsigned commands;     // the commands that take it (CommandBits)
  const char* help;      // its lines in the usage; null: shown with the option before
  Setter set;            // what it sets; false with *error set
};

// What the options set.

template <bool CliOptions::*flag>
bool SetFlag(const OptionUse&, CliOptions* o, std::string*) {
  o->*flag = true;
  return true;
}

template <Setting<bool> CliOptions::*setting>
bool SetSwitch(const OptionUse& use, CliOptions* o, std::string*) {
  (o->*setting).Set(use.on);
  return true;
}

template <Setting<std::string> CliOptions::*setting, bool emptyAllowed = false>
bool SetText(const OptionUse& use, CliOptions* o, std::string* error) {
  if (use.value.empty() && !emptyAllowed) {
    *error = use.typed + " needs a value";
    return false;
  }
  (o->*setting).Set(use.value);
  return true;
}

template <std::vector<std::string> CliOptions::*list>
bool AddText(const OptionUse& use, CliOptions* o, std::string* error) {
  if (use.value.empty()) {
    *error = use.typed + " needs a value";
    return false;
  }
  (o->*list).push_back(use.value);
  return true;
}

bool SetLines(const OptionUse& use, CliOptions* o, std::string* error) {
  char* end = nullptr;
  const long n = std::strtol(use.value.c_str(), &end, 10);
  if (use.value.empty() || *end != '\0' || n < 1 || n > 1000000000) {
    *error = use.typed + " takes a number of lines from 1 up, not '" + use.value + "'";
    return false;
  }
  o->lines.Set(static_cast<int>(n));
  return true;
}

template <AnswerPolicy policy>
bool SetPolicy(const OptionUse&, CliOptions* o, std::string* error) {
  if (o->policy != AnswerPolicy::kDefault && o->policy != policy) {
    *error = "--yes and --no cannot be given together";
    return false;
  }
  o->policy = policy;
  return true;
}

// A value the option refuses: "-c takes a whole number from 0 to 9, not 'x'".
bool Refused(const OptionUse& use, const std::string& takes, std::string* error) {
  *error = use.typed + " takes " + takes + ", not '" + use.value + "'";
  return false;
}

bool SetOrder(const OptionUse& use, CliOptions* o, std::string* error) {
  if (use.value != "alpha" && use.value != "freq") return Refused(use, "alpha or freq", error);
  o->wordOrder.Set(use.value == "alpha" ? 0 : 1);
  return true;
}

bool SetWidth(const OptionUse& use, CliOptions* o, std::string* error) {
  int n = 0;
  if (!ParseNumber(use.value, 1, 20, &n)) {
    return Refused(use, "a whole number from 1 to 20", error);
  }
  o->width.Set(n);
  return true;
}

bool SetSort(const OptionUse& use, CliOptions* o, std::string* error) {
  std::vector<SortLevel> levels;
  if (!ParseSortLevels(use.value, &levels)) {
    return Refused(use, "up to three of L5..L1, KW, R1..R5, POS separated by commas", error);
  }
  o->sort.Set(levels);
  return true;
}

bool SetFormat(const OptionUse& use, CliOptions* o, std::string* error) {
  KwicFormat format;
  if (!ParseKwicFormat(use.value, &format) || format == KwicFormat::kHtml) {
    return Refused(use, "text, tsv, csv or jsonl", error);
  }
  o->format.Set(format);
  return true;
}

bool SetWindow(const OptionUse& use, CliOptions* o, std::string* error) {
  CollocateWindow window;
  if (!ParseCollocateWindow(use.value, &window)) {
    return Refused(use, "the words on each side as in 5L,5R (0 to 20 each)", error);
  }
  o->window.Set(window);
  return true;
}

bool SetMeasure(const OptionUse& use, CliOptions* o, std::string* error) {
  CollocationMeasure measure;
  if (!ParseMeasure(use.value, &measure)) return Refused(use, "logdice, mi, t or ll", error);
  o->measure.Set(measure);
  return true;
}

bool SetSize(const OptionUse& use, CliOptions* o, std::string* error) {
  int n = 0;
  if (!ParseNumber(use.value, kMinNgramSize, kMaxNgramSize, &n)) {
    return Refused(use, "a whole number from 2 to 6", error);
  }
  o->size.Set(n);
  return true;
}

bool SetContext(const OptionUse& use, CliOptions* o, std::string* error) {
  int n = 0;
  if (!ParseNumber(use.value, 0, 9, &n)) return Refused(use, "a whole number from 0 to 9", error);
  o->context.Set(n);
  return true;
}

// The analyses' minimum frequency goes down to 1; the range is checked against the
// command once it is known.
bool SetMinFrequency(const OptionUse& use, CliOptions* o, std::string* error) {
  int n = 0;
  if (!ParseNumber(use.value, 1, 999, &n)) {
    return Refused(use, "a whole number from 2 to 20 (1 to 999 for collocates and ngrams)", error);
  }
  o->minFrequency.Set(n);
  return true;
}

bool SetWordRules(const OptionUse& use, CliOptions* o, std::string* error) {
  if (!IsWordRulesChoice(use.value))
    return Refused(use, "automatic, unicode or windows-1252", error);
  o->wordRules.Set(use.value);
  return true;
}

bool SetEncoding(const OptionUse& use, CliOptions* o, std::string* error) {
  if (!IsEncodingChoice(use.value)) {
    return Refused(use, "the name of an encoding, such as ISO-8859-2, KOI8-R or Shift_JIS", error);
  }
  o->encoding.Set(use.value);
  return true;
}

bool SetSortLanguage(const OptionUse& use, CliOptions* o, std::string* error) {
  if (use.value.empty() || !IsSortLanguageChoice(use.value)) {
    std::string codes;
    for (const std::string& code : SortLanguageChoices())
      codes += (codes.empty() ? "" : " ") + code;
    return Refused(use, "one of " + codes, error);
  }
  o->sortLanguage.Set(use.value);
  return true;
}

bool SetPValue(const OptionUse& use, CliOptions* o, std::string* error) {
  char* end = nullptr;
  const double p = std::strtod(use.value.c_str(), &end);
  if (use.value.empty() || *end != '\0' || !(p > 0 && p < 1)) {
    return Refused(use, "a number between 0 and 1", error);
  }
  o->pValue = p;
  return true;
}

// The options, in the order the usage lists them.
constexpr OptionEntry kOptions[] = {
    {"help", 'h', Kind::kFlag, "", kAll, "print this help and exit", SetFlag<&CliOptions::help>},
    {"version", 'V', Kind::kFlag, "", kAll, "print the version and exit",
     SetFlag<&CliOptions::version>},
    {"quiet", 'q', Kind::kFlag, "", kAll, "print nothing on standard error but errors",
     SetFlag<&CliOptions::quiet>},
    {"yes", 'y', Kind::kFlag, "", kAll, "answer every question Yes", SetPolicy<AnswerPolicy::kYes>},
    {"no", 'n', Kind::kFlag, "", kAll,
     "answer every question No (without either, each\n"
     "question gets its default answer; an existing\n"
     "file is kept)",
     SetPolicy<AnswerPolicy::kNo>},
    {"order", 0, Kind::kValue, "alpha|freq", kWordList | kCreate | kSearch,
     "word order (default alpha) [wordlist create search]", SetOrder},
    {"context", 'c', Kind::kValue, "N", kCreate | kSearch,
     "context size, 0 to 9 words (default 5) [create search]", SetContext},
    {"frequencies", 0, Kind::kSwitch, "", kCreate | kSearch,
     "show frequencies and repeat marks (default: shown)\n"
     "[create search]",
     SetSwitch<&CliOptions::frequencies>},
    {"line-breaks", 0, Kind::kSwitch, "", kCreate | kSearch,
     "show line breaks as \" / \" (default: shown)\n"
     "[create search]",
     SetSwitch<&CliOptions::lineBreaks>},
    {"hyphens", 0, Kind::kSwitch, "", kWordList | kKeywords | kCreate | kSearch | kKwic | kAnalyses,
     "allow words with hyphens (default: allowed)\n"
     "[wordlist create search kwic + analyses]",
     SetSwitch<&CliOptions::hyphens>},
    {"numerals", 0, Kind::kSwitch, "",
     kWordList | kKeywords | kCreate | kSearch | kKwic | kAnalyses,
     "allow words with digits (default: not)\n"
     "[wordlist create search kwic + analyses]",
     SetSwitch<&CliOptions::numerals>},
    {"min-frequency", 'm', Kind::kValue, "N",
     kWordList | kKeywords | kCreate | kKwic | kCollocates | kNgrams,
     "leave out words occurring fewer than N times\n"
     "(2 to 20) [wordlist create kwic]; collocates and\n"
     "n-grams found fewer than N times (1 to 999,\n"
     "default 1) [collocates ngrams]",
     SetMinFrequency},
    {"stop-words", 's', Kind::kValue, "WHICH", kWordList | kKeywords | kCreate | kKwic | kAnalyses,
     "a stop-word file, or en, de, es, pt, it, fr, en_de,\n"
     "all, none (default: en), or ru, pl, cs, sk, uk, bg,\n"
     "el, tr, nl, sv, da, no, fi, hu, ro, hr, ar, he, hi,\n"
     "zh, ja, ko; collocates are never stop words\n"
     "[wordlist create kwic + analyses]",
     SetText<&CliOptions::stopWords>},
    {"extra-stop-words", 'e', Kind::kValue, "\"W1 W2\"", kWordList | kCreate | kKwic | kAnalyses,
     "further words to leave out [wordlist create kwic\n"
     "+ analyses]",
     SetText<&CliOptions::extraStopWords, true>},
    {"output", 'o', Kind::kValue, "FILE|-",
     kWordList | kKeywords | kCreate | kSearch | kKwic | kAnalyses,
     "write to FILE, or to standard output with -\n"
     "[wordlist create search kwic + analyses]",
     SetText<&CliOptions::output>},
    {"overwrite", 'f', Kind::kFlag, "",
     kWordList | kKeywords | kCreate | kSearch | kKwic | kAnalyses,
     "replace an existing output file without asking\n"
     "[wordlist create search kwic + analyses]",
     SetFlag<&CliOptions::overwrite>},
    {"windows-text", 0, Kind::kSwitch, "", kCreate | kSearch,
     "write Windows-1252 text with CR LF line ends\n"
     "(default: UTF-8 with LF) [create search]",
     SetSwitch<&CliOptions::windowsText>},
    {"word-rules", 0, Kind::kValue, "RULES", kAll,
     "the word rules: automatic (the default: Unicode for\n"
     "a text with characters beyond Windows-1252),\n"
     "unicode or windows-1252",
     SetWordRules},
    {"encoding", 0, Kind::kValue, "NAME", kAll,
     "read FILE in this encoding (ISO-8859-2, KOI8-R,\n"
     "Shift_JIS, ...; default: UTF-8 when valid, else\n"
     "Windows-1252)",
     SetEncoding},
    {"sort-language", 0, Kind::kValue, "CODE",
     kWordList | kKeywords | kCreate | kSearch | kKwic | kAnalyses,
     "alphabetical order of a language (sv, cs, es, de,\n"
     "tr, ...) [wordlist create search kwic + analyses]",
     SetSortLanguage},
    {"index", 0, Kind::kSwitch, "", kCreate | kSearch,
     "also write the index file FILE.oxn.ndx; later runs\n"
     "on FILE then need no scan [create search]",
     SetSwitch<&CliOptions::index>},
    {"keywords", 'k', Kind::kValue, "\"K1 K2\"", kSearch | kKwic | kAnalyses,
     "keywords: * any run of characters, ? one\n"
     "character, # one digit; head+tail lists head only\n"
     "in the context lines holding tail; or a query:\n"
     "/regex/, \"a phrase\", A NEAR/n B, FOLLOWED/n,\n"
     "PRECEDED/n, [word=\"re\"]{n,m} (doc/query-language.md)\n"
     "[search kwic + analyses]",
     SetText<&CliOptions::keywords>},
    {"case-sensitive", 0, Kind::kFlag, "", kSearch | kKwic | kAnalyses,
     "the query's words match letter case as typed\n[search kwic + analyses]",
     SetFlag<&CliOptions::caseSensitive>},
    {"inside-words", 0, Kind::kFlag, "", kSearch | kKwic | kAnalyses,
     "a query's word may match inside a word (\"arth\"\n"
     "finds \"earth\") [search kwic + analyses]",
     SetFlag<&CliOptions::insideWords>},
    {"within-line", 0, Kind::kFlag, "", kSearch | kKwic | kAnalyses,
     "a phrase, proximity or token pattern matches within\n"
     "one line of the document [search kwic + analyses]",
     SetFlag<&CliOptions::withinLine>},
    {"keywords-file", 'K', Kind::kValue, "FILE", kSearch | kKwic | kAnalyses,
     "a file of keywords [search kwic + analyses]", SetText<&CliOptions::keywordsFile>},
    {"width", 'w', Kind::kValue, "N", kKwic,
     "kwic: context words on each side, 1 to 20 (default 5)", SetWidth},
    {"sort", 0, Kind::kValue, "LEVELS", kKwic,
     "kwic: up to three of L5..L1, KW, R1..R5, POS, as in\n"
     "R1,R2,L1 (default KW: by word, then document order)",
     SetSort},
    {"format", 0, Kind::kValue, "FORMAT", kKwic | kAnalyses,
     "text (aligned), tsv, csv or jsonl (default text)\n"
     "[kwic + analyses]",
     SetFormat},
    {"window", 0, Kind::kValue, "NL,NR", kCollocates,
     "collocates: the words on each side of the keyword's\n"
     "word, 0 to 20 (default 5L,5R)",
     SetWindow},
    {"measure", 0, Kind::kValue, "M", kCollocates,
     "collocates: sort by logdice (default), mi, t or ll", SetMeasure},
    {"size", 'n', Kind::kValue, "N", kNgrams,
     "ngrams: words in each, 2 to 6 (default 2); -n is\n"
     "--size only right after the ngrams command",
     SetSize},
    {"across-lines", 0, Kind::kSwitch, "", kNgrams,
     "ngrams: let sequences span line breaks (default: do)", SetSwitch<&CliOptions::acrossLines>},
    {"svg", 0, Kind::kValue, "FILE", kDispersion, "dispersion: also draw the plot into FILE",
     SetText<&CliOptions::svg>},
    {"png", 0, Kind::kValue, "FILE", kDispersion, nullptr, SetText<&CliOptions::png>},
    {"corpus", 0, Kind::kValue, "NAME", kWordList | kKeywords | kSearch | kKwic | kAnalyses,
     "a corpus in place of FILE (see the corpus command)\n[wordlist keywords search kwic + "
     "analyses]",
     SetText<&CliOptions::corpus>},
    {"where", 0, Kind::kValue, "FILTER", kWordList | kKeywords | kSearch | kKwic | kAnalyses,
     "with --corpus: only the documents whose metadata or\n"
     "name pass COLUMN OP VALUE (OP = != >= <= > < ~);\n"
     "repeat for more [wordlist keywords search kwic + analyses]",
     AddText<&CliOptions::where>},
    {"reference-where", 0, Kind::kValue, "FILTER", kKeywords,
     "the same for the reference corpus [keywords]", AddText<&CliOptions::referenceWhere>},
    {"lines", 0, Kind::kValue, "N", kKwic, "with --corpus: only the first N lines [kwic]",
     SetLines},
    {"per-document", 0, Kind::kFlag, "", kWordList,
     "with --corpus: a column of counts for each document\n[wordlist]",
     SetFlag<&CliOptions::perDocument>},
    {"reference", 0, Kind::kValue, "NAME|FILE", kKeywords,
     "the reference: a corpus, one document, or a word\nlist file of word<TAB>count lines "
     "[keywords]",
     SetText<&CliOptions::reference>},
    {"p-value", 0, Kind::kValue, "P", kKeywords,
     "the significance level of a keyword (default 0.05)\n[keywords]", SetPValue},
    {"bonferroni", 0, Kind::kFlag, "", kKeywords,
     "divide the level by the number of words compared\n[keywords]",
     SetFlag<&CliOptions::bonferroni>},
    {"negative", 0, Kind::kFlag, "", kKeywords,
     "also the words less frequent than in the reference\n[keywords]",
     SetFlag<&CliOptions::negative>},
    {"metadata", 0, Kind::kValue, "FILE.tsv", kCorpus,
     "the documents' metadata: a TSV file, its first line\nthe columns, its first column the file "
     "[corpus]",
     SetText<&CliOptions::metadata>},
    {"settings", 0, Kind::kValue, "FILE.kvf", kWordList | kCreate | kSearch | kKwic | kAnalyses,
     "start from the options of a settings file (the other\n"
     "options override it) [wordlist create search kwic\n"
     "+ analyses]",
     SetText<&CliOptions::settings>},
    {"save-settings", 0, Kind::kValue, "FILE.kvf",
     kWordList | kCreate | kSearch | kKwic | kAnalyses,
     "write the options of this run as a settings file\n"
     "[wordlist create search kwic + analyses]",
     SetText<&CliOptions::saveSettings>},
};

const OptionEntry* FindLong(const std::string& name) {
  for (const OptionEntry& o : kOptions) {
    if (name == o.name) return &o;
  }
  return nullptr;
}

// Given after the ngrams command, -n is --size; elsewhere it is --no (the first of the
// table's options with that short form).
const OptionEntry* FindShort(char c, bool ngrams) {
  if (ngrams && c == 'n') return FindLong("size");
  for (const OptionEntry& o : kOptions) {
    if (o.shortName != 0 && c == o.shortName) return &o;
  }
  return nullptr;
}

// "create" for kCreate; "wordlist, create or search" for several (in the order of
// their bits).
std::string CommandList(unsigned commands) {
  std::vector<std::string> names;
  for (unsigned bit = 1; bit <= kAll; bit <<= 1) {
    for (const CliCommand& c : CliCommands()) {
      if (c.bit == bit && (commands & bit)) names.push_back(c.name);
    }
  }
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i];
  }
  return text;
}

// `help`'s lines after `prefix`: the first from column `column` (on a line of its own
// when the prefix reaches it), the others indented to it.
std::string UsageEntry(const std::string& prefix, const std::string& help, size_t column) {
  std::string text = prefix;
  if (prefix.size() + 1 <= column) {
    text += std::string(column - prefix.size(), ' ');
  } else {
    text += "\n" + std::string(column, ' ');
  }
  for (char c : help) {
    text += c;
    if (c == '\n') text += std::string(column, ' ');
  }
  return text + "\n";
}

// "  -c, --context N", "  --hyphens, --no-hyphens", "  --svg FILE, --png FILE".
std::string UsageName(const OptionEntry& o) {
  std::string name = "--" + std::string(o.name);
  if (*o.argument != '\0') name += std::string(" ") + o.argument;
  if (o.kind == Kind::kSwitch) name += ", --no-" + std::string(o.name);
  return o.shortName != 0 ? std::string("-") + o.shortName + ", " + name : name;
}

}  // namespace

bool CliOptions::QueryLanguage() const {
  return caseSensitive || insideWords || withinLine ||
         (keywords.given && UsesQueryLanguage(keywords.value));
}

bool IsAnalysisCommand(const std::string& command) {
  const CliCommand* c = FindCliCommand(command);
  return c != nullptr && (c->bit & kAnalyses) != 0;
}

std::string CliVersion() {
  return std::string("quillmoor-cli (Quillmoor) ") + ProgramVersion() + "\n" +
         "The files it writes are headed \"Quillmoor (V." + VersionText() + ")\".\n" +
         LicenceNotice();
}

std::string CliUsage() {
  std::string text =
      "usage: quillmoor-cli [COMMAND] [OPTIONS] FILE\n"
      "Keyword-in-context concordances and keyword searches of one document.\n"
      "FILE is a text, HTML, XML, .docx, PDF, EPUB, OpenDocument (.odt) or RTF file;\n"
      "- reads standard input (as text).\n"
      "\n"
      "commands:\n";
  for (const CliCommand& c : CliCommands()) {
    const bool noFile = c.bit == kCorpus || c.bit == kKeywords;
    text += UsageEntry("  " + std::string(c.name) + (noFile ? "" : " FILE"), c.help, 19);
  }
  text += "\noptions (commands that take them in brackets):\n";
  const size_t n = std::size(kOptions);
  for (size_t i = 0; i < n; ++i) {
    if (kOptions[i].help == nullptr) continue;
    std::string prefix = "  " + UsageName(kOptions[i]);
    for (size_t k = i + 1; k < n && kOptions[k].help == nullptr; ++k) {
      prefix += ", " + UsageName(kOptions[k]);
    }
    text += UsageEntry(prefix, kOptions[i].help, 27);
  }
  return text +
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
      if (!entry->set(OptionUse{on, value, typed}, options, error)) return false;
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
      if (!entry->set(OptionUse{true, value, typed}, options, error)) return false;
      given.emplace_back(entry, typed);
    }
  }
  if (options->help || options->version) return true;
  if (!positional.empty()) {
    if (const CliCommand* command = FindCliCommand(positional[0])) {
      options->command = command->name;
      positional.erase(positional.begin());
    }
  }
  if (options->command.empty()) options->command = "create";
  // A corpus's commands take their own words; --corpus stands in place of FILE.
  const bool corpusCommand = options->command == "corpus";
  if (corpusCommand) {
    options->corpusWords = positional;
    positional.assign(1, "");
    if (options->corpusWords.empty()) {
      *error = "corpus needs index, add, remove, info or list";
      return false;
    }
  } else if (options->corpus.given || options->command == "keywords") {
    if (!positional.empty()) {
      *error = "--corpus stands in place of the input file: give one or the other";
      return false;
    }
    if (!options->corpus.given) {
      *error = "keywords needs --corpus and --reference";
      return false;
    }
    if (options->command == "keywords" && !options->reference.given) {
      *error = "keywords needs --reference";
      return false;
    }
    positional.assign(1, "");
  }
  if (positional.size() != 1) {
    *error = positional.empty() ? "no input file given" : "more than one input file given";
    return false;
  }
  const unsigned command = FindCliCommand(options->command)->bit;
  for (const auto& [entry, typed] : given) {
    if ((entry->commands & command) == 0) {
      *error = options->command + " does not take " + typed + " (an option of " +
               CommandList(entry->commands) + ")";
      return false;
    }
  }
  if ((!options->where.empty() || options->lines.given) && !options->corpus.given) {
    *error = std::string(options->lines.given ? "--lines" : "--where") + " needs --corpus";
    return false;
  }
  if ((command & (kSearch | kCollocates | kDispersion)) && !options->KeywordsGiven()) {
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
  if (options->file.empty() && !corpusCommand && !options->corpus.given) {
    *error = "the input file name is empty";
    return false;
  }
  return true;
}

}  // namespace quillmoor
