// The run: what a press of the main button does, from checking the options to the
// word counts.
//
// cmdListWords_Click starts a run, or, while the button reads "Stop", asks to stop
// (at once while the input is being read). StartRun checks the input, scans it unless
// the word table already holds its words, then marks, counts and ranks the words and
// shows the counts. ScanInputFile reads the document, normalises it (tabs and runs of
// spaces become one space, control characters go from both ends, one space is put
// before and after), keeps the display copy strLine1, lower-cases strLine and scans it.
#ifndef QUILLMOOR_UI_RUNDRIVER_H_
#define QUILLMOOR_UI_RUNDRIVER_H_

#include <cstdint>
#include <string>

namespace quillmoor {

struct Program;

inline constexpr int32_t kLargeDocumentChars = 102400;  // status line 81 above this
inline constexpr long long kScanProgressMinBytes = 10240;

void cmdListWords_Click(Program& p);
// The word table in its alphabetical order (a language's, when one is chosen), with
// its sort keys.
void OrderWordTable(Program& p);
// The listed words marked by the run's filters, counted and linked by frequency, and
// the counts shown: what a run does between the scan and the listing.
void MarkAndCountWords(Program& p);
void StartRun(Program& p);
// Reads the input document and normalises it (p.strLine, in its own case; the display
// copy too unless p.blnNoDisplayCopy): what ScanInputFile does before the scan.
bool ReadInputText(Program& p);
bool ScanInputFile(Program& p);
void ShowWordCounts(Program& p);

// The listing: every listed word with its contexts, in the chosen order, then shown
// and offered as the concordance file. Stops after the word being listed when
// p.blnStop becomes set ("Listing stopped.").
void ListWords(Program& p);
void ListWordsAlphabetically(Program& p);
void ListWordsByFrequency(Program& p);

// Normalises a document text as a scan does, up to the lower-casing: returns the
// display copy. (Also sets p.intPositionDigits.)
void NormalizeDocumentText(Program& p);

// Int(ln L / ln 10) + 1 in double precision, the width of a stored position.
int16_t PositionDigits(size_t length);

// "Stopped with 12 words found." ("1 word", "0 words").
std::string StoppedWithText(int32_t lngNumWords);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_RUNDRIVER_H_
