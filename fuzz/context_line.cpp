// The context line of an occurrence against its step-by-step reference.
#include "FuzzSupport.h"
#include "output/Kwic.h"
#include "support/Reference.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const int C = 1 + data[0] % 9;
  const bool lineBreaks = (data[1] & 1) != 0;
  const size_t wordLength = 1 + data[2] % 30;
  const std::string text =
      " " + std::string(reinterpret_cast<const char*>(data) + 4, size - 4) + " ";
  const int32_t position =
      1 + static_cast<int32_t>((static_cast<size_t>(data[3]) * 131) % text.size());
  fuzz::Check(BuildContextLine(text, position, wordLength, C, lineBreaks) ==
                  reference::BuildContextLine(text, position, wordLength, C, lineBreaks),
              "the context line differs from the step-by-step reference");
  return 0;
}
