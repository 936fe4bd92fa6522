// The word scanner: cuts the normalised document text strLine into words and enters
// every accepted word with its position into a word table.
//
// A word is a run of letters, digits and hyphens that holds a letter, trimmed of
// leading and trailing hyphens, with a plural "s" dropped (cats -> cat, but not glass,
// physics, goes), 3 to 30 characters long, not one repeated character, not a Roman
// numeral and not the stem of a negative contraction (couldn't -> couldn, t: both go).
#ifndef QUILLMOOR_ENGINE_WORDSCANNER_H_
#define QUILLMOOR_ENGINE_WORDSCANNER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/WordTable.h"
#include "input/DocumentText.h"
#include "shared/WorkObserver.h"

namespace quillmoor {

// Prepares d.strLine (double hyphens; character entities when they are possible) and
// scans all of it into `t`, which StartWordTable has emptied. Ends early, after the word
// being stored, when `watch` asks for a stop. Nothing else is read or changed, so two
// documents can be scanned into two tables at once. A text of at least
// `minParallelLength` characters is scanned on two threads (same words, same order).
// Such a text of at least `minReleaseLength` characters is handed back to the system as
// the scan passes it (nothing reads the scanned part again), and d.strLine is empty
// afterwards: at the end of the scan of a long text only the display copy and the
// positions take memory.
inline constexpr size_t kParallelScanLength = 256 * 1024;
inline constexpr size_t kReleaseScannedLength = 32 << 20;
void GetWords(DocumentText& d, WordTable& t, bool blnCharacterEntitiesPossible, WorkObserver& watch,
              size_t minParallelLength = kParallelScanLength,
              size_t minReleaseLength = kReleaseScannedLength);
// The word at d.lngLP, or "" when the characters there make no acceptable word;
// advances d.lngLP past the run scanned.
std::string GetWord(DocumentText& d);
// The same on any text: a view of the word in `text` (words are always a stretch of
// the text), or an empty view.
std::string_view ScanWord(std::string_view text, int32_t& lngLP);
// 3 to maxLength characters, not one repeated character, not a Roman numeral.
bool IsAcceptedWord(std::string_view word, int maxLength);

}  // namespace quillmoor

#endif  // QUILLMOOR_ENGINE_WORDSCANNER_H_
