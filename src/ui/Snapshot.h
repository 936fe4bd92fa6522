// What the explorer window works on: a copy of the word table and of the display text
// taken when it opens, so that a new run in the main window never changes the lines it
// shows. The only place the explorer reads the program-wide state.
#ifndef QUILLMOOR_UI_SNAPSHOT_H_
#define QUILLMOOR_UI_SNAPSHOT_H_

#include <string>
#include <vector>

#include "explore/KwicRows.h"

namespace quillmoor {

struct Program;

// What the run's options say of each word of the table (by index): whether they allow
// it (words with hyphens or digits), and whether it is a stop word. The analyses
// never offer a stop word as a collocate, nor a word not allowed in any result.
struct WordFlags {
  std::vector<bool> allowed;
  std::vector<bool> stop;
  // Allowed, and (unless `stopWords`) not a stop word.
  std::vector<bool> Candidates(bool stopWords) const;
};

struct ExploreSnapshot {
  std::vector<WordRecord> words;  // records 1..numWords
  int32_t numWords = 0;
  std::string text;     // the display copy (engine text: UTF-8 with `utf8`)
  bool utf8 = false;    // the words and the text are UTF-8 (the Unicode rules)
  int contextSize = 5;  // the run's context size (at least 1)
  std::string input;    // the input's path, for the window title
  WordFlags flags;
  PageMap pages;  // a PDF's pages
  ExploreSource source() const { return {&words, numWords, text, utf8, &pages}; }
};

// True when the word table holds the words of the current input and no run is going
// on: the explorer can open.
bool ExplorerAvailable(const Program& p);
// The text the table's positions point into, with the document's letter case: the
// display copy, with the character entities of an HTML document decoded as the scan
// decoded them in its own copy (so the positions after an entity still fit).
std::string ExploreText(const Program& p);
ExploreSnapshot TakeExploreSnapshot(const Program& p);
// The run's own table, display copy and pages, not copied: for a command that reads
// them while nothing else runs.
ExploreSource RunSource(const Program& p);
WordFlags TakeWordFlags(const Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_SNAPSHOT_H_
