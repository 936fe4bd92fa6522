// The wildcard match ("*", "?", "#") against its recursive definition.
#include "FuzzSupport.h"
#include "engine/WildcardMatch.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::TwoParts parts = fuzz::SplitInput(data, size);
  // The memoised recursion takes text length times pattern length steps.
  if (parts.first.size() > 4096 || parts.second.size() > 4096) return 0;
  fuzz::Check(MatchesPattern(parts.first, parts.second) == fuzz::Like(parts.first, parts.second),
              "MatchesPattern differs from the recursive definition");
  return 0;
}
