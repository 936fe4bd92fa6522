// The listing a run makes: its text, the concordance file's draft it goes to while it
// grows, and the working space of its context lines.
#ifndef QUILLMOOR_OUTPUT_LISTINGSTATE_H_
#define QUILLMOOR_OUTPUT_LISTINGSTATE_H_

#include <cstddef>
#include <memory>
#include <string>

#include "output/ConcordanceDraft.h"
#include "output/Kwic.h"

namespace quillmoor {

struct ListingState {
  std::string strOutputBuffer;  // the listing of the run (its beginning, with a draft)
  // Create mode, when the run's answers are known ahead (the command line): the
  // concordance file is written as the listing grows. The listing is then
  // strOutputBuffer[0, lngListingInDraft) (which the draft holds as well), the
  // lngListingSpilled bytes only the draft holds, and the rest of strOutputBuffer.
  bool blnDraftConcordance = false;
  std::unique_ptr<ConcordanceDraft> concordanceDraft;
  size_t lngListingInDraft = 0;
  size_t lngListingSpilled = 0;
  KwicWriter kwicWriter;  // working space of the KWIC lines
};

}  // namespace quillmoor

#endif  // QUILLMOOR_OUTPUT_LISTINGSTATE_H_
