// Numbered user-interface texts, loaded once at start-up from the program-text file
// that lies beside the program.
//
// LoadProgramText builds the path, loads the file through the text library and, on
// failure, shows the load-failure message (critical icon, empty title) and ends the
// program. GetProgramText(n) returns text n in the current language, or "" when there
// is none or the stored text is "~".
#ifndef QUILLMOOR_SHARED_PROGRAMTEXT_H_
#define QUILLMOOR_SHARED_PROGRAMTEXT_H_

#include <array>
#include <cstdint>
#include <string>

#include "shared/TextLibrary.h"

namespace quillmoor {

class Host;

// The program-text file's name: a fixed lower-case base name and ".dat".
inline constexpr const char* kProgramTextBaseName = "quillmoor";

class ProgramText {
 public:
  static constexpr int16_t kEnglish = 0;
  static constexpr int16_t kSecondLanguage = 1;
  static constexpr int16_t kThirdLanguage = 2;
  static constexpr int kBufferSize = 1024;

  // Fills the language tables, loads `folder`/`baseName`.dat. Returns true on success;
  // on failure shows the message, calls host.EndProgram(1) and returns false.
  bool LoadProgramText(Host& host, const std::string& folder,
                       const std::string& baseName = kProgramTextBaseName);
  std::string GetProgramText(int32_t number) const;

  // The message for load result `r` (0 or below); `path` is the full path tried.
  static std::string LoadFailureMessage(int32_t r, const std::string& path);

  int16_t intCurrentLanguage = kEnglish;
  // Stop-word language choices and their files, index 0 to 7.
  std::array<std::string, 8> arrLanguageChoices;
  std::array<std::string, 8> arrStopWordFiles;

 private:
  TextLibrary library_;
};

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_PROGRAMTEXT_H_
