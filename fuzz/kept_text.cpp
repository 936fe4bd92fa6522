// The kept-text reader on any bytes: a pack of them, opened at the place the first four
// bytes give; refused with a reason, or read, every stretch inside the text and
// beginning on a mark's token.
#include <sys/stat.h>

#include <cstring>

#include "FuzzSupport.h"
#include "corpus/DocumentTexts.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  uint32_t offset = 0, span = 0;
  std::memcpy(&offset, data, 4);
  std::memcpy(&span, data + 4, 4);
  const DocumentTexts texts(fuzz::WorkFolder());
  ::mkdir((fuzz::WorkFolder() + "/texts").c_str(), 0777);
  fuzz::WriteFile("texts/1.pack",
                  std::string_view(reinterpret_cast<const char*>(data) + 8, size - 8));
  KeptText kept;
  std::string problem;
  if (!kept.Open(texts, TextPlace{1, offset % (size + 1)}, &problem) || !kept.Load(&problem)) {
    fuzz::Check(!problem.empty(), "a refusal without a reason");
    return 0;
  }
  const int64_t first = static_cast<int64_t>(span % 4096) - 8, last = first + (span >> 20);
  for (const bool utf8 : {false, true}) {
    TextStretch stretch;
    if (!kept.Stretch(first, last, utf8, &stretch, &problem)) {
      fuzz::Check(!problem.empty(), "a stretch refused without a reason");
      continue;
    }
    fuzz::Check(stretch.begin + stretch.text.size() <= kept.size(), "a stretch beyond its text");
    fuzz::Check(stretch.firstToken >= 0 && stretch.lines >= 0, "a stretch before its text");
  }
  return 0;
}
