// The Unicode text and its words: any bytes decode to well-formed UTF-8 in
// Normalization Form C, and the scanner finds in it exactly the words its
// code-point-at-a-time reference finds, each within the text.
#include "FuzzSupport.h"
#include "engine/UnicodeWords.h"
#include "input/UnicodeText.h"
#include "shared/Utf8.h"
#include "support/Reference.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fuzz::TwoParts parts = fuzz::SplitInput(data, size);
  const std::string text = DecodeUnicodeText(parts.second);
  fuzz::Check(IsValidUtf8(text), "the decoded text is not UTF-8");
  std::string again = text;
  NormalizeToNfc(again);
  fuzz::Check(again == text, "the decoded text is not in Normalization Form C");
  const bool turkish = !parts.first.empty();
  std::vector<std::string> words;
  UnicodeWordScanner scanner({turkish, 30});
  scanner.Scan(text, [&](std::string_view w, int32_t at) {
    fuzz::Check(!w.empty() && IsValidUtf8(w), "a word is empty or not UTF-8");
    fuzz::Check(at >= 1 && static_cast<size_t>(at) <= text.size(), "a position outside the text");
    words.emplace_back(w);
    return true;
  });
  fuzz::Check(words == reference::UnicodeWords(text, turkish),
              "the scanner differs from its reference");
  return 0;
}
