// The document decoder in pieces: decoding a text cut anywhere (the second piece not
// at the text's start) gives what the code-point reference gives for each piece.
#include "FuzzSupport.h"
#include "input/Utf8Decode.h"
#include "shared/Cp1252.h"
#include "shared/Utf8.h"
#include "support/Reference.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::TwoParts parts = fuzz::SplitInput(data, size);
  for (bool atStart : {true, false}) {
    fuzz::Check(DecodeUtf8Text(parts.second, nullptr, atStart) ==
                    reference::DecodeUtf8Text(parts.second, nullptr, atStart),
                "the decoder differs from its reference");
  }
  // The UTF-8 helpers: a cut point lies between characters, and valid text survives a
  // round trip through the code page when every character is in it.
  const size_t cut = Utf8CutPoint(parts.second, parts.first.size());
  fuzz::Check(cut <= parts.second.size(), "cut point past the end");
  if (IsValidUtf8(parts.second) && FirstCharOutsideCp1252(parts.second).empty()) {
    fuzz::Check(Cp1252ToUtf8(Utf8ToCp1252Lossy(parts.second)) == parts.second,
                "code page round trip");
  }
  return 0;
}
