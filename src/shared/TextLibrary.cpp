#include "shared/TextLibrary.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

// Characters of UTF-8 text: the bytes that are not continuation bytes.
int CharacterCount(const std::string& text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace

int32_t TextLibrary::LoadText(const std::string& path, int32_t flags) {
  if (flags != 0) return -5;
  try {
    FileError error;
    if (!Files().FileExists(path)) return -1;
    std::unique_ptr<FileReader> reader = Files().OpenRead(path, &error);
    if (!reader) return -1;
    std::string data;
    if (!ReadFrom(*reader, -1, &data, &error)) return -7;
    if (data.empty()) return -6;
    if (!IsValidUtf8(data)) data = Cp1252ToUtf8(data);  // a file of an earlier version

    const std::vector<std::string_view> lines = SplitLines(data);
    if (static_cast<int>(lines.size()) > kMaxLines) return -3;
    std::unordered_map<int32_t, std::array<std::string, kLanguages>> loaded;
    for (size_t i = 0; i < lines.size(); ++i) {
      const int32_t lineNumber = static_cast<int32_t>(i + 1);
      const std::string_view line = lines[i];
      if (line.find_first_not_of(" \t") == std::string_view::npos || line[0] == '#') continue;
      size_t digits = 0;
      long long number = 0;
      while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9' && digits < 9) {
        number = number * 10 + (line[digits] - '0');
        ++digits;
      }
      if (digits == 0 || number < 1) return -4;
      if (digits == line.size() || line[digits] != '|') {
        return (digits == line.size() ||
                line.find_first_not_of(' ', digits) == std::string_view::npos)
                   ? -500 - lineNumber
                   : -4;
      }
      std::array<std::string, kLanguages> texts;
      size_t start = digits + 1;
      int language = 0;
      while (true) {
        size_t bar = line.find('|', start);
        if (language >= kLanguages) return -5;
        texts[language] = line.substr(
            start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
        if (CharacterCount(texts[language]) > kMaxTextLength) return -1000 - lineNumber;
        ++language;
        if (bar == std::string_view::npos) break;
        start = bar + 1;
      }
      if (texts[0].empty()) return -500 - lineNumber;
      if (!loaded.emplace(static_cast<int32_t>(number), std::move(texts)).second) {
        return -1500 - lineNumber;
      }
    }
    if (loaded.empty()) return 0;
    texts_ = std::move(loaded);
    return static_cast<int32_t>(texts_.size());
  } catch (const std::bad_alloc&) {
    return -8;
  }
}

int32_t TextLibrary::GetText(int32_t number, int16_t language, char* buffer, int32_t size,
                             int32_t flags) const {
  if (flags != 1 || buffer == nullptr || size <= 0) return 0;
  if (language < 0 || language >= kLanguages) return 0;
  auto it = texts_.find(number);
  if (it == texts_.end()) return 0;
  const std::string& text = it->second[static_cast<size_t>(language)];
  int32_t n = std::min<int32_t>(static_cast<int32_t>(text.size()), size);
  std::memcpy(buffer, text.data(), static_cast<size_t>(n));
  return n;
}

}  // namespace quillmoor
