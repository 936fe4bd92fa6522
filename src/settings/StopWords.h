// Stop words: the words a concordance leaves out.
//
// They come from a stop-word file (a word-list file, read into the sorted table
// p.arrStopWords) and from the extra stop words typed into the parameters window
// (p.strExtraStopWords, " a b c "). The program proposes the stop-word file of a
// document's language when the document is chosen.
#ifndef QUILLMOOR_SETTINGS_STOPWORDS_H_
#define QUILLMOOR_SETTINGS_STOPWORDS_H_

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "shared/WordRuleSet.h"

namespace quillmoor {

// The stop words of a run: the table arrStopWords[1..lngNumStopWords] (sorted, no
// duplicates) read from strStopWordsFile, and the extra stop words (" a b c " or "").
struct StopWordTable {
  std::string strStopWordsFile;
  std::vector<std::string> arrStopWords{std::string()};
  int32_t lngNumStopWords = 0;
  bool blnStopWordsLoaded = false;
  // A caller (the command line) names the stop-word list itself: start-up loads none
  // and no list is proposed for a new input.
  bool blnStopWordsGivenByCaller = false;
  std::string strExtraStopWords;
  // The engine text of the stop words and extra stop words (UTF-8 under the Unicode
  // rules).
  WordRuleSet stopWordRules = WordRuleSet::kWindows1252;
};

// The most words one stop-word file may hold (before duplicates are removed).
inline constexpr int32_t kMaxStopWordsInFile = 32767;
// The two-letter codes of the stop-word languages 0 to 5.
inline constexpr const char* kLanguageCodes = "en_de_es_pt_it_fr";

// The stop-word lists after the first eight (data/stwds_CODE.txt, generated from
// stopwords-iso by scripts/make-stopword-files.py), in the order they are offered.
struct StopWordLanguage {
  const char* code;
  const char* name;
};
inline constexpr StopWordLanguage kMoreStopWordLanguages[] = {
    {"ru", "Russian"},   {"pl", "Polish"},    {"cs", "Czech"},    {"sk", "Slovak"},
    {"uk", "Ukrainian"}, {"bg", "Bulgarian"}, {"el", "Greek"},    {"tr", "Turkish"},
    {"nl", "Dutch"},     {"sv", "Swedish"},   {"da", "Danish"},   {"no", "Norwegian"},
    {"fi", "Finnish"},   {"hu", "Hungarian"}, {"ro", "Romanian"}, {"hr", "Croatian"},
    {"ar", "Arabic"},    {"he", "Hebrew"},    {"hi", "Hindi"},    {"zh", "Chinese"},
    {"ja", "Japanese"},  {"ko", "Korean"}};
// "stwds_ru.txt" for "ru".
inline std::string StopWordFileName(const StopWordLanguage& language) {
  return std::string("stwds_") + language.code + ".txt";
}

// The code of the document's language from a lang= or content=" mark in its first
// ten non-blank lines, when it is one of `codes`; otherwise `defaultCode`.
std::string DetectDocumentLanguage(const std::string& path, const std::string& codes,
                                   const std::string& defaultCode);
// The extra stop words of a table such as p.strExtraStopWords (" a b c "), as a set
// for a run of many lookups.
class ExtraStopWords {
 public:
  explicit ExtraStopWords(const std::string& table);
  // True when `lowerWord` (in lower case, Windows-1252) is one of the words.
  bool Contains(const std::string& lowerWord) const { return words_.count(lowerWord) != 0; }
  // False for an empty table.
  bool given() const { return given_; }

 private:
  bool given_;
  std::unordered_set<std::string> words_;
};

// True when `word` is an extra stop word or, when a stop-word file is named
// (`listNamed`: the parameters window's box is not empty), in the stop-word table.
// `extra` holds t.strExtraStopWords; the second form makes it for one lookup.
bool IsStopWord(const StopWordTable& t, bool listNamed, const ExtraStopWords& extra,
                const std::string& word);
bool IsStopWord(const StopWordTable& t, bool listNamed, const std::string& word);

}  // namespace quillmoor

#endif  // QUILLMOOR_SETTINGS_STOPWORDS_H_
