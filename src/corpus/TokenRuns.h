// The tokens of a corpus: every run of word characters of a document's text, the
// short words and stop words that the word table leaves out included.
//
// A token is a maximal run of word characters (under the Windows-1252 rules letters,
// digits and hyphens; under the Unicode rules any letter or mark, decimal digit or
// hyphen) that holds at least one character other than a hyphen: the words the
// explorer's context sorts look at. A double hyphen parts words, as it does for the
// word scanner ("well--known" is two tokens). A run in a script written without spaces (Han,
// Thai...) is one token; its dictionary words are the word table's business.
#ifndef QUILLMOOR_CORPUS_TOKENRUNS_H_
#define QUILLMOOR_CORPUS_TOKENRUNS_H_

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillmoor {

struct TokenRun {
  uint32_t begin = 0;  // 0-based byte offset in the text
  uint32_t size = 0;   // in bytes
};

// The tokens of `text` in order (`utf8`: the Unicode rules).
void FindTokenRuns(std::string_view text, bool utf8, std::vector<TokenRun>* runs);
// The same; `wide`: thirty-two characters at a time where the processor can (AVX2),
// else sixteen (so that tests can compare the two).
void FindTokenRunsBy(std::string_view text, bool utf8, bool wide, std::vector<TokenRun>* runs);

// The index of the token that holds (or, between tokens, precedes) the 0-based byte
// `offset`: the last run beginning at or before it; 0 when none does.
uint32_t TokenAtOffset(const std::vector<TokenRun>& runs, size_t offset);

}  // namespace quillmoor

#endif  // QUILLMOOR_CORPUS_TOKENRUNS_H_
