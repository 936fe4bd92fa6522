// Literal transcriptions of the program's slow loops, kept only to check the fast
// implementations against them on many inputs.
#ifndef QUILLMOOR_TESTS_SUPPORT_REFERENCE_H_
#define QUILLMOOR_TESTS_SUPPORT_REFERENCE_H_

#include <random>
#include <string>
#include <vector>

namespace quillmoor::reference {

std::string ConvertUTF8Latin1(std::string text);
std::string ConvertUTF8Punctuation(std::string text);
std::string DecodeCharacterEntities(std::string text);

// A random string of `length` bytes drawn from `alphabet`.
std::string RandomBytes(std::mt19937& rng, const std::vector<std::string>& alphabet,
                        size_t pieces);

}  // namespace quillmoor::reference

#endif  // QUILLMOOR_TESTS_SUPPORT_REFERENCE_H_
