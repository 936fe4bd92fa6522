// The concordance's entries as a run lists them: the listing options and the keywords
// of the run's windows, and the output box's view of a listing without context.
#ifndef QUILLMOOR_UI_LISTING_H_
#define QUILLMOOR_UI_LISTING_H_

#include <cstdint>
#include <string>

#include "output/Kwic.h"

namespace quillmoor {

struct Program;

// The keywords that select the lines in Search mode; none (null) in Create mode.
const KeywordSelection* SearchOf(const Program& p);
// The listing options of p (context size, frequencies, line breaks).
KwicOptions ListingOptions(const Program& p);

// Appends the entry of word `lngI` to `strOutput` (and, without context, shows the
// word's line in the output box). In Search mode the lines are those that
// p.keywordSelection selects.
void DisplayNextWord(Program& p, int32_t lngI, std::string& strOutput);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_LISTING_H_
