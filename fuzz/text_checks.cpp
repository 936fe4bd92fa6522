// A text input's checks and reading: the classification (binary, UTF-16, UTF-8,
// markup), the line reader with both separators, and the document decoder against
// its code-point-at-a-time reading.
#include "FuzzSupport.h"
#include "input/TextFile.h"
#include "input/Utf8Decode.h"
#include "support/Reference.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string path = fuzz::WriteFile("input.txt", bytes);
  bool utf8 = false;
  ClassifyTextFile(path, kMaxScanBytes, utf8, true);
  DetectTextEncoding(path, true);
  for (bool slash : {true, false}) {
    LineReadOptions options;
    options.blnSkipBlankLines = true;
    options.blnJoinWithSlash = slash;
    options.blnJoinWithSpace = !slash;
    std::string message;
    int32_t number = 0, lines = 0;
    const std::string text = ReadTextFileLines(path, message, number, lines, options);
    fuzz::Check(number == 0, "a readable file gave a read error");
    fuzz::Check(text.find_first_of("\r\n") == std::string::npos, "a line end stayed in the text");
  }
  DecodeReport report;
  std::vector<std::string> unmapped;
  fuzz::Check(DecodeUtf8Text(bytes, &report) == reference::DecodeUtf8Text(bytes, &unmapped),
              "the decoder differs from its reference");
  fuzz::Check(report.unmapped == static_cast<int64_t>(unmapped.size()), "unmapped count differs");
  return 0;
}
