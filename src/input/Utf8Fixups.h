// The two fix-up passes that turn the commonest UTF-8 sequences into single-byte text.
//
// ConvertUTF8Latin1 maps the two-byte sequences of U+0080 to U+00FF (lead bytes C2 and
// C3) to their Windows-1252 bytes, drops the C1 controls (C2 80 to C2 9F) and turns
// C4 8D into "c". It keeps the program's exact behaviour, quirks included: a lead
// byte whose pair is replaced is handled for the whole text at once, and the search
// for the next lead byte goes on at the position after the one found, counted in the
// text as it is after the replacement. It runs in O(n log n) at worst.
//
// ConvertUTF8Punctuation maps the typographic punctuation E2 80 xx to ASCII. When the
// first E2 80 sequence of the text is not one it knows, only that sequence is removed.
#ifndef QUILLMOOR_INPUT_UTF8FIXUPS_H_
#define QUILLMOOR_INPUT_UTF8FIXUPS_H_

#include <string>

namespace quillmoor {

std::string ConvertUTF8Latin1(std::string text);
std::string ConvertUTF8Punctuation(std::string text);

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_UTF8FIXUPS_H_
