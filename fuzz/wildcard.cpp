// The wildcard match ("*", "?", "#") against its recursive definition.
#include "FuzzSupport.h"
#include "engine/WildcardMatch.h"
#include "support/Reference.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::TwoParts parts = fuzz::SplitInput(data, size);
  // The recursive definition is exponential in the stars: keep it small.
  if (parts.first.size() > 40 || parts.second.size() > 40) return 0;
  fuzz::Check(MatchesPattern(parts.first, parts.second) == reference::Like(parts.first, parts.second),
              "MatchesPattern differs from the recursive definition");
  return 0;
}
