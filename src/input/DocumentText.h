// The text of the document a run reads: the normalised text the scan cuts into words,
// its display copy and the scan's place in it.
#ifndef QUILLMOOR_INPUT_DOCUMENTTEXT_H_
#define QUILLMOOR_INPUT_DOCUMENTTEXT_H_

#include <cstdint>
#include <string>

namespace quillmoor {

struct DocumentText {
  std::string strLine;   // the normalised text, framed by a space at each end
  std::string strLine1;  // the display copy the context lines are cut from
  int32_t lngLP = 0;     // scan position in strLine (1-based)
};

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_DOCUMENTTEXT_H_
