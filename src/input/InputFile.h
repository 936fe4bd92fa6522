// The input-file box: the existence and size check of the input, the size label, and
// what happens when a typed name leaves the box.
#ifndef QUILLMOOR_INPUT_INPUTFILE_H_
#define QUILLMOOR_INPUT_INPUTFILE_H_

#include <string>

namespace quillmoor {

struct Program;

// Files longer than this cannot be addressed by the program's 32-bit positions.
inline constexpr long long kMaxInputFileSize = 2147483647LL;

// -1 no such file; 0 shorter than 10 bytes or not starting "PK" 03 04; 1 a ZIP file.
int IsZipFile(const std::string& path);
// The extension is "docx" and the file is a ZIP file.
bool IsDocxFile(const std::string& path);

// The system's own output files, refused as input: an index file (the name ends, in
// any case, with "oxn.ndx") and a concordance file (".oxn.con_", two characters and
// exactly ".txt" at the end).
bool IsIndexFileName(const std::string& path);
bool IsConcordanceFileName(const std::string& path);

// The click of file button `index` (0 input, 1 search results, 2 keywords): the file
// dialog, then the checks of a new input file.
void SelectFile(Program& p, int index);

// Existence and size test of the input file; sets the input size label. Messages
// appear only after start-up. Returns blnOK.
bool CheckInputFile(Program& p, const std::string& path);

// Leaving file box `index` after typing. Returns false when the input file was
// refused by CheckInputFile (nothing else was done then).
bool InputFileLostFocus(Program& p, int index);

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_INPUTFILE_H_
