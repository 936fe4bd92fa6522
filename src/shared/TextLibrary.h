// The program-text library: loads a program-text file and looks texts up by number.
//
// File format (doc/program-text-format.md): UTF-8 lines (a file that is not valid
// UTF-8 is read as Windows-1252), ending with LF, CR LF or CR; a line that is blank
// or begins with "#" is ignored; every other line is
//     NUMBER|TEXT0[|TEXT1[|TEXT2]]
// giving text number NUMBER (1 or more) in language 0 and, optionally, languages 1 and
// 2. The file may hold at most 500 lines.
//
// The two operations keep the calling convention of a C text library: results are
// integers, texts come back through a caller's buffer.
#ifndef QUILLMOOR_SHARED_TEXTLIBRARY_H_
#define QUILLMOOR_SHARED_TEXTLIBRARY_H_

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace quillmoor {

class TextLibrary {
 public:
  static constexpr int kMaxTextLength = 1024;
  static constexpr int kMaxLines = 500;
  static constexpr int kLanguages = 3;

  // Loads `path`; `flags` must be 0. Returns the number of
  // texts loaded (1 or more) or an error code:
  //    0 no text in the file          -1 the file cannot be opened
  //   -3 more than kMaxLines lines    -4 a line that does not start with a number
  //   -5 a line with more than three languages
  //   -6 the file is empty            -7 error while reading
  //   -8 out of memory
  //   -500 - L   line L has a number but no text
  //   -1000 - L  line L holds a text longer than kMaxTextLength characters
  //   -1500 - L  line L repeats a text number given before
  // A failed load leaves the texts loaded before it unchanged.
  int32_t LoadText(const std::string& path, int32_t flags);

  // Copies text `number` in `language` into `buffer` (at most `size` characters, no
  // terminator needed) and returns its length; 0 when there is no such text. `flags`
  // must be 1.
  int32_t GetText(int32_t number, int16_t language, char* buffer, int32_t size,
                  int32_t flags) const;

 private:
  std::unordered_map<int32_t, std::array<std::string, kLanguages>> texts_;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_TEXTLIBRARY_H_
