// The RTF parser on any bytes: it ends, its text is well-formed UTF-8, and it never
// grows past what the input's escapes can make.
#include "input/RtfText.h"

#include "FuzzSupport.h"
#include "input/Utf8Decode.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string rtf(reinterpret_cast<const char*>(data), size);
  const std::string text = RtfDocumentText(rtf);
  fuzz::Check(SurveyUtf8(text).strays == 0, "the text is not well-formed UTF-8");
  fuzz::Check(text.size() <= 4 * size + 8, "the text is longer than its input can make it");
  return 0;
}
