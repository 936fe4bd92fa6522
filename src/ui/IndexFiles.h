// The input's index file in a run: its name from the input box, writing it after a
// concordance, offering and reading it (the format is output/IndexFile.h).
#ifndef QUILLMOOR_UI_INDEXFILES_H_
#define QUILLMOOR_UI_INDEXFILES_H_

#include <string>
#include <vector>

#include "output/IndexFile.h"
#include "ui/IndexFiles.h"

namespace quillmoor {

struct Program;

// Trims the input box (writing it back) and derives p.strIndexFile from it; an empty
// box empties it and clears blnIndexFileCurrent.
void SetIndexFileName(Program& p);

// After a concordance run with "and index file" checked: writes the index file of the
// input. A failure is silent (p.indexError says why) and leaves any earlier index
// file as it was.
void WriteIndexFile(Program& p);

// Offers the index file of the input and, on Yes, restores the word table from it.
void ReadIndexFile(Program& p);

// After an input was chosen and at start-up: reads the input's index file when there
// is one, and then the document, so that a run lists or searches at once.
// `withText` false: the word table alone, without reading the document (for a word
// list, which needs no context; the positions are then not checked against the text).
void LoadIndexIfPresent(Program& p, bool withText = true);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_INDEXFILES_H_
