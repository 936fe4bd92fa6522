#include "cli/Options.h"

#include <map>

namespace quillmoor {
namespace {

// A whole number from `low` to `high`, or false.
bool ParseNumber(const std::string& text, int low, int high, int* value) {
  if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  *value = std::stoi(text);
  return *value >= low && *value <= high;
}

}  // namespace

std::string CliUsage() {
  return "usage: quillmoor-cli [COMMAND] [OPTIONS] FILE\n"
         "\n"
         "commands:\n"
         "  create FILE      make the concordance of FILE (the default command):\n"
         "                   FILE.oxn.con_<a|f><context>.txt beside it\n"
         "  search FILE      list only the words the keywords ask for, with their\n"
         "                   context lines (needs --keywords and/or --keywords-file);\n"
         "                   uses the index file of FILE when there is one, else\n"
         "                   makes the concordance of FILE first, in a temporary file\n"
         "  wordlist FILE    list the words of FILE with their frequencies\n"
         "  read FILE        read FILE as a run reads its input; print the document text\n"
         "\n"
         "options:\n"
         "  --yes, --no              answer every question Yes / No (without either,\n"
         "                           each question gets its default button; the\n"
         "                           concordance file is written, an existing file kept)\n"
         "  --order alpha|freq       word order (default alpha)\n"
         "  --context N              context size, 0 to 9 words (default 5)\n"
         "  --frequencies            show frequencies and repeat marks (default)\n"
         "  --no-frequencies\n"
         "  --line-breaks            show line breaks as \" / \" (default)\n"
         "  --no-line-breaks\n"
         "  --hyphens, --no-hyphens  allow words with hyphens (default: allowed)\n"
         "  --numerals, --no-numerals  allow words with numerals (default: not)\n"
         "  --min-frequency N        leave out words occurring fewer than N times (2 to 20)\n"
         "  --stop-words WHICH       a stop-word file, or en, de, es, pt, it, fr, en_de,\n"
         "                           all, none (default: the English list)\n"
         "  --extra-stop-words \"W1 W2\"  further words to leave out\n"
         "  --output FILE|-          write the concordance (search: the search results)\n"
         "                           to FILE, or to standard output (search's default)\n"
         "  --overwrite              replace an existing output file without asking\n"
         "  --windows-text           write the concordance and search results as\n"
         "                           Windows-1252 text with CR LF line ends, for Windows\n"
         "                           users (default: UTF-8 with LF line ends)\n"
         "  --no-windows-text\n"
         "  --index, --no-index      create: also write the index file FILE.oxn.ndx (the\n"
         "                           whole word table; a later run on FILE then lists or\n"
         "                           searches without scanning)\n"
         "  --keywords \"K1 K2\"       search: keywords; * any run of characters, ? one\n"
         "                           character, # one digit; head+tail lists head only\n"
         "                           in the context lines holding tail\n"
         "  --keywords-file FILE     search: a file of keywords (letters only)\n"
         "  --settings FILE.kvf      start from the options of a settings file (the other\n"
         "                           options override it, wherever they stand)\n"
         "  --save-settings FILE.kvf write the options of this run as a settings file\n"
         "\n"
         "exit status: 0 done, 1 input refused, run stopped or nothing written,\n"
         "             2 usage error\n";
}

bool ParseCliOptions(const std::vector<std::string>& args, CliOptions* options,
                     std::string* error) {
  *options = CliOptions{};
  std::vector<std::string> positional;
  bool policyGiven = false;
  const std::map<std::string, Setting<bool> CliOptions::*> switches = {
      {"hyphens", &CliOptions::hyphens},
      {"numerals", &CliOptions::numerals},
      {"frequencies", &CliOptions::frequencies},
      {"line-breaks", &CliOptions::lineBreaks},
      {"index", &CliOptions::index},
      {"windows-text", &CliOptions::windowsText}};
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string* v) {
      if (i + 1 >= args.size()) {
        *error = a + " needs a value";
        return false;
      }
      *v = args[++i];
      return true;
    };
    std::string v;
    if (a == "--yes" || a == "--no") {
      AnswerPolicy policy = a == "--yes" ? AnswerPolicy::kYes : AnswerPolicy::kNo;
      if (policyGiven && policy != options->policy) {
        *error = "--yes and --no cannot be given together";
        return false;
      }
      policyGiven = true;
      options->policy = policy;
    } else if (a.starts_with("--") && switches.count(a.substr(2))) {
      (options->*switches.at(a.substr(2))).Set(true);
    } else if (a.starts_with("--no-") && switches.count(a.substr(5))) {
      (options->*switches.at(a.substr(5))).Set(false);
    } else if (a == "--order") {
      if (!value(&v)) return false;
      if (v != "alpha" && v != "freq") {
        *error = "--order takes alpha or freq, not '" + v + "'";
        return false;
      }
      options->wordOrder.Set(v == "alpha" ? 0 : 1);
    } else if (a == "--min-frequency" || a == "--context") {
      if (!value(&v)) return false;
      const bool context = a == "--context";
      int n = 0;
      if (!ParseNumber(v, context ? 0 : 2, context ? 9 : 20, &n)) {
        *error = a + " takes a whole number from " + (context ? "0 to 9" : "2 to 20") + ", not '" + v + "'";
        return false;
      }
      (context ? options->context : options->minFrequency).Set(n);
    } else if (a == "--settings" || a == "--save-settings") {
      if (!value(&v)) return false;
      if (v.empty()) {
        *error = a + " needs a file name";
        return false;
      }
      (a == "--settings" ? options->settings : options->saveSettings).Set(v);
    } else if (a == "--stop-words" || a == "--extra-stop-words" || a == "--output" ||
               a == "--keywords" || a == "--keywords-file") {
      if (!value(&v)) return false;
      if (v.empty() && a != "--extra-stop-words") {
        *error = a + " needs a value";
        return false;
      }
      const std::map<std::string, Setting<std::string> CliOptions::*> texts = {
          {"--stop-words", &CliOptions::stopWords},
          {"--extra-stop-words", &CliOptions::extraStopWords},
          {"--output", &CliOptions::output},
          {"--keywords", &CliOptions::keywords},
          {"--keywords-file", &CliOptions::keywordsFile}};
      (options->*texts.at(a)).Set(v);
    } else if (a == "--overwrite") {
      options->overwrite = true;
    } else if (a == "--") {
      positional.insert(positional.end(), args.begin() + static_cast<long>(i) + 1, args.end());
      break;
    } else if (a.size() > 1 && a[0] == '-') {
      *error = "unknown option " + a;
      return false;
    } else {
      positional.push_back(a);
    }
  }
  if (positional.empty()) {
    *error = "no input file given";
    return false;
  }
  if (positional[0] == "read" || positional[0] == "wordlist" || positional[0] == "create" ||
      positional[0] == "search") {
    options->command = positional[0];
    positional.erase(positional.begin());
  } else {
    options->command = "create";
  }
  if (positional.size() != 1) {
    *error = positional.empty() ? "no input file given" : "more than one input file given";
    return false;
  }
  const bool search = options->command == "search";
  if (!search && (options->keywords.given || options->keywordsFile.given)) {
    *error = std::string(options->keywords.given ? "--keywords" : "--keywords-file") +
             " is for the search command";
    return false;
  }
  if (search && !options->keywords.given && !options->keywordsFile.given) {
    *error = "search needs --keywords or --keywords-file";
    return false;
  }
  options->file = positional[0];
  if (options->file.empty()) {
    *error = "the input file name is empty";
    return false;
  }
  return true;
}

}  // namespace quillmoor
