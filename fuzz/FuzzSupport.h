// Shared pieces of the fuzz targets: a started program, files made from the fuzzer's
// bytes, and a check that aborts (so the fuzzer reports the input) when two readings
// of the same rules disagree.
#ifndef QUILLMOOR_FUZZ_FUZZSUPPORT_H_
#define QUILLMOOR_FUZZ_FUZZSUPPORT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/Program.h"

namespace quillmoor::fuzz {

// A program started as the desktop program starts (program texts, lists, defaults),
// made once per process and answering every question with its default button; what
// its host recorded for the previous input is forgotten.
Program& StartedProgram();
// A folder of this process's own under the temporary folder, removed at exit.
const std::string& WorkFolder();
// Writes `bytes` to `name` in the work folder and returns its path.
std::string WriteFile(const std::string& name, std::string_view bytes);

// The classic recursive definition of the pattern match ("*" takes no character or
// one more; "?" any one; "#" a digit), step for step as tests/support states it, with
// each (text, pattern) suffix pair answered once: the fuzzer's patterns of many stars
// would otherwise take exponential time.
bool Like(const std::string& text, const std::string& pattern);

// Aborts with `what` when `ok` is false.
void Check(bool ok, const char* what);

// Splits the fuzzer's bytes: the first byte chooses how many of the rest go to the
// first part (scaled to the length).
struct TwoParts {
  std::string first, second;
  uint8_t selector = 0;  // the first byte, for choices of the target
};
TwoParts SplitInput(const uint8_t* data, size_t size);

}  // namespace quillmoor::fuzz

#endif  // QUILLMOOR_FUZZ_FUZZSUPPORT_H_
