// The program's version and licence, as --version prints them.
#ifndef QUILLMOOR_SHARED_VERSION_H_
#define QUILLMOOR_SHARED_VERSION_H_

#include <string>

namespace quillmoor {

// The program's version, "1.0" (the project's version in CMake).
inline const char* ProgramVersion() { return QUILLMOOR_VERSION; }

// "1.02" for version 1.0: major, ".", minor and the digit 2 (the file headers' form).
inline std::string VersionText() {
  return std::to_string(QUILLMOOR_VERSION_MAJOR) + "." + std::to_string(QUILLMOOR_VERSION_MINOR) +
         "2";
}

// The licence notice that follows the version line, in the words GNU programs use
// (three lines, each ending in LF).
inline const char* LicenceNotice() {
  return "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
         "This is free software: you are free to change and redistribute it.\n"
         "There is NO WARRANTY, to the extent permitted by law.\n";
}

}  // namespace quillmoor

#endif  // QUILLMOOR_SHARED_VERSION_H_
