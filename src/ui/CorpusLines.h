// The concordance lines of a corpus: each occurrence of the chosen words, found in the
// index's position lists, sorted by the index's token stream, and cut, for the lines
// written or shown only, from the documents' kept texts (the contexts a run of the
// document alone would cut, with the document's name beside them).
//
// Contract: the index and the subcorpus are read-only inputs that outlive the object;
// texts come through `TextSource`, one document at a time, and only stretches of a few
// hundred bytes around the lines being cut are read (the whole text when it has no
// marks).
#ifndef QUILLMOOR_UI_CORPUSLINES_H_
#define QUILLMOOR_UI_CORPUSLINES_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/CorpusIndex.h"
#include "corpus/DocumentTexts.h"
#include "corpus/Subcorpus.h"
#include "explore/KwicExport.h"
#include "explore/KwicRows.h"
#include "query/Evaluate.h"

namespace quillmoor {

struct CorpusLine {
  uint32_t document = 0;
  int32_t token = 0;   // in the document
  int32_t word = 0;    // index in the corpus's words
  int32_t place = -1;  // under the Unicode rules, the word's byte offset in its token
  // A query's match: its tokens from `token` on, `word` then the number of the text it
  // matched (MatchText); 0: a word's line.
  int32_t span = 0;
};

// One line cut, in UTF-8.
struct CorpusCut {
  std::string left, keyword, right, word, document;  // document: the file's name
  int32_t line = 0, position = 0;
  uint32_t frequency = 0;
};

// Opens the kept text of document `number`; false with *problem.
using TextSource = std::function<bool(uint32_t number, KeptText* text, std::string* problem)>;

// A keyword query typed in UTF-8, in the engine text and letter case of a corpus
// scanned under `rules`.
ExploreQuery CorpusQuery(std::string_view keywords, WordRuleSet rules);

class CorpusLines {
 public:
  // `frequency`: the words' frequencies in the subcorpus (by word of the index).
  CorpusLines(const CorpusIndex& index, const Subcorpus& subcorpus,
              const std::vector<uint32_t>& frequency);

  // The lines of `words` (indices in the index's words), in document order.
  void Select(const std::vector<int32_t>& words);
  // The lines of a query's matches (query/Evaluate.h, over the index's token stream: in
  // stream order).
  void SelectMatches(const std::vector<QueryMatch>& matches);
  // The text a query's line matched: its tokens' spellings in lower case, a space
  // between (engine text).
  const std::string& MatchText(const CorpusLine& line) const {
    return matchTexts_[static_cast<size_t>(line.word)];
  }
  // Sorts by the levels in turn (the keyword, the position, or a context token); ties
  // keep document order.
  void Sort(const std::vector<SortLevel>& levels);
  // Puts the lines in the order of their documents' keys (within a key, as they were).
  void GroupBy(const std::function<std::string(const CorpusDocument&)>& key);
  size_t size() const { return lines_.size(); }
  const std::vector<CorpusLine>& lines() const { return lines_; }
  // The spelling of the token `offset` tokens from the line's keyword, or "" at the
  // document's ends.
  std::string_view ContextToken(const CorpusLine& line, int offset) const;

  // Lines [first, last) cut `width` context words wide; false with *problem when a
  // text is missing.
  bool Cut(size_t first, size_t last, int width, const TextSource& texts,
           std::vector<CorpusCut>* out, std::string* problem) const;
  // Writes lines [first, last) as `format` with a column "document" (the file's name),
  // `width` context words on each side; false with *problem when a text is missing.
  bool Export(size_t first, size_t last, int width, KwicFormat format, const TextSource& texts,
              const std::function<void(std::string_view)>& write, std::string* problem) const;

 private:
  const CorpusIndex& index_;
  const Subcorpus& subcorpus_;
  // Gives each line its word's place in its token (the lines in document order).
  void PlaceInTokens();
  // Lines of one document sharing a stretch: members [from, to), tokens [first, last].
  struct StretchGroup {
    size_t from, to;
    int64_t first, last;
  };
  // Cuts the lines `members` (indices in lines_, in token order) of document `number`
  // into out[line - begin].
  bool CutDocument(uint32_t number, const std::vector<size_t>& members,
                   const std::vector<StretchGroup>& groups, KeptText& kept, int width, size_t begin,
                   std::vector<CorpusCut>* out, std::string* problem) const;

  const std::vector<uint32_t>& frequency_;
  std::vector<CorpusLine> lines_;
  std::vector<std::string> matchTexts_;  // a query's texts matched, and how often
  std::vector<uint32_t> matchCounts_;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_CORPUSLINES_H_
