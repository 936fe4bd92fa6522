// Corpora as the program keeps them: named corpora in the user's data folder
// ($XDG_DATA_HOME/quillmoor/corpora/NAME/, ~/.local/share when unset; a NAME holding
// "/" is a folder of its own), each folder holding its index (corpus/CorpusIndex.h) in
// corpus.qci; the documents scanned as a run scans them; the corpus's table loaded in
// place of a document's.
#ifndef QUILLMOOR_UI_CORPORA_H_
#define QUILLMOOR_UI_CORPORA_H_

#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "corpus/CorpusIndex.h"
#include "corpus/DocumentTexts.h"

namespace quillmoor {

struct Program;

// The folder of corpus `name`, and its index file.
std::string CorpusFolderOf(const std::string& name);
std::string CorpusIndexFileOf(const std::string& name);
// The names of the corpora in the user's data folder, sorted.
std::vector<std::string> CorpusNames();

// The documents `given` names, in order: files as they are, folders walked (sorted,
// recursively) for the kinds of file the program reads; absolute paths, each once.
// *problem names a path that does not exist.
bool CorpusDocumentsOf(const std::vector<std::string>& given, std::vector<std::string>* documents,
                       std::string* problem);
// A metadata file: a TSV file whose first line names its columns, the first column
// a document's file name (as given, or its name without the folder).
bool ReadCorpusMetadata(
    const std::string& path,
    std::map<std::string, std::vector<std::pair<std::string, std::string>>>* rows,
    std::string* problem);

// A word list file of word<TAB>count lines (a first line that is not one is a header)
// as engine text of `rules`: the counts by word and their total.
bool ReadFrequencyList(const std::string& path, WordRuleSet rules,
                       std::unordered_map<std::string, uint64_t>* counts, uint64_t* total,
                       std::string* problem);

// Reads the corpus's index; false with *problem when there is none or it is damaged.
bool LoadCorpus(const std::string& name, CorpusIndex* index, std::string* problem);

struct CorpusUpdate {
  std::vector<std::string> add;                 // documents to add (or to scan again when changed)
  std::vector<std::string> remove;              // documents to leave out
  std::string metadataFile;                     // "" for none
  bool fresh = false;                           // a new corpus: any old index is replaced
  size_t spillBytes = size_t{256} << 20;        // position lists held before a run is spilled
  std::function<void(const std::string&)> say;  // progress lines
  // Asked before each document: true stops the update (the corpus stays as it was).
  std::function<bool()> stopRequested;
};
// Builds or updates corpus `name` with program `p` (started, its options applied):
// each document new or changed (by its size, time and digest) is scanned as a run
// would scan it; the others keep their words from the old index. One rule set serves
// every document: the Unicode rules when any document needs them (or the rules the
// options name). The index replaces the old one only when complete. False with
// *problem when a document cannot be read or the index cannot be written.
bool UpdateCorpus(Program& p, const std::string& name, const CorpusUpdate& update,
                  std::string* problem);

// Scans one document as a wordlist run does, under `rules`: its words' frequencies (all
// the table's words, unfiltered) and their sum. False when it cannot be read (its
// message has been shown).
bool CountDocumentWords(Program& p, const std::string& path, WordRuleSet rules,
                        std::unordered_map<std::string, uint64_t>* counts, uint64_t* total);

// Opens the display text the document had when it was indexed (kept beside the index).
bool OpenCorpusText(const std::string& name, const CorpusDocument& document, KeptText* text,
                    std::string* problem);

// Puts the corpus's words, with their frequencies (`frequency`, by word of the index:
// the whole corpus's or a subcorpus's), in p's word table (no positions), as an index
// file would, so that a run lists them with its filters. Words of frequency 0 are left
// out.
void LoadCorpusTable(Program& p, const CorpusIndex& index, const std::vector<uint32_t>& frequency);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_CORPORA_H_
