// What kind of file a path names, from its name and its first bytes: a .docx, or one
// of the program's own output files (which are refused as input).
#ifndef QUILLMOOR_INPUT_FILEKINDS_H_
#define QUILLMOOR_INPUT_FILEKINDS_H_

#include <string>

namespace quillmoor {

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

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_FILEKINDS_H_
