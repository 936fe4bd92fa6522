// The index file's body: whatever the bytes, a body that parses is one the writer
// could have written (every link inside the table, the frequency chain a path, the
// positions as many as the frequency).
#include "FuzzSupport.h"
#include "output/IndexFile.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  size_t at = 0;
  auto nextLine = [&](std::string& line) {
    if (at >= text.size()) return false;
    size_t end = text.find('\r', at);
    if (end == std::string_view::npos) end = text.size();
    line.assign(text.substr(at, end - at));
    at = end + 1;
    if (at < text.size() && text[at] == '\n') ++at;
    return true;
  };
  IndexContents out;
  if (!ParseIndexBody(nextLine, static_cast<int64_t>(size / 9 + 1), 30, &out)) return 0;
  fuzz::Check(static_cast<int64_t>(out.words.size()) == out.lngNumWords + 1, "record count");
  fuzz::Check(out.lngFirstFreq >= 0 && out.lngFirstFreq <= out.lngNumWords, "first link");
  int64_t steps = 0;
  for (int32_t i = out.lngFirstFreq; i != 0; i = out.words[static_cast<size_t>(i)].lngNextByFreq) {
    fuzz::Check(i > 0 && i <= out.lngNumWords, "a link outside the table");
    fuzz::Check(++steps <= out.lngNumWords, "the frequency chain runs in a circle");
  }
  for (size_t i = 1; i < out.words.size(); ++i) {
    const WordRecord& r = out.words[i];
    fuzz::Check(!r.strWord.empty() && r.strWord.size() <= 30, "word length");
    fuzz::Check(static_cast<int64_t>(r.positions.size()) == r.lngFrequency, "positions");
  }
  return 0;
}
