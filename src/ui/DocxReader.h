// Text extraction from word-processor (.docx) documents.
//
// A .docx file is a ZIP archive; its text lies in the entry word/document.xml. The
// entry is extracted into a fresh temporary folder (OXN001, OXN002 ... in the
// system's temporary folder), read as single-byte text, and deleted again; the
// character data of its text runs (<w:t ...>...</w:t>) joined in order is the
// document text. A line break or paragraph end after a run adds one space when more
// text follows. Documents with more than 10 MB of XML need the person's consent;
// more than 20 MB are refused.
#ifndef QUILLMOOR_UI_DOCXREADER_H_
#define QUILLMOOR_UI_DOCXREADER_H_

#include <cstdint>
#include <string>
#include <vector>

namespace quillmoor {

struct Program;

inline constexpr long long kBigDocxBytes = 10485760;  // asks first above this
inline constexpr long long kMaxDocxBytes = 20971520;  // refused above this

// Result codes of ExtractDocxText and UnzipDocx (0 or more: success).
inline constexpr int32_t kDocxNoTempFolder = -1;
inline constexpr int32_t kDocxChecksumDeclined = -2;
inline constexpr int32_t kDocxTooLarge = -4;
inline constexpr int32_t kDocxBigDeclined = -5;
inline constexpr int32_t kDocxUnreadable = -6;  // not a ZIP, no document.xml, damaged

// Reads the docx input named in the input box into p.strLine; false, after telling
// the person why (or after their answer), when it cannot.
void ReadDocxInput(Program& p, bool& blnSuccess);

int32_t ExtractDocxText(Program& p, const std::string& path, const std::string& prefix,
                        std::string& text);
// Extracts word/document.xml into a new temporary folder; its size, or a result code.
int32_t UnzipDocx(Program& p, const std::string& path, const std::string& prefix);

// A new folder <temporary folder>/<prefix>NNN (the first free number from 001 to
// 999), with a trailing "/" when asked; "" when none could be made.
std::string CreateTempFolder(const std::string& prefix, bool blnTrailingSlash);
// The folder temporary folders are made in (the system's temporary folder).
std::string FindFixedDrive();

// Extracts word/document.xml of `zipPath` into <destinationFolder>word/document.xml.
// False only for a checksum mismatch; *unreadable (with the reason) for an archive
// that cannot serve at all.
bool UnzipEntry(Program& p, const std::string& zipPath, const std::string& destinationFolder,
                bool* unreadable, std::string* reason);

// Reads the extracted XML (then deletes it) and replaces `text` by the document text.
void ReadDocumentXml(Program& p, std::string& text, int32_t& lngLength);
// The text runs of `xml` from position lngStart (1-based) on, into `runs`; returns
// their number, with lngLength their total length.
int32_t ExtractDocxRuns(Program& p, const std::string& xml, int32_t lngStart,
                        std::vector<std::string>& runs, int32_t& lngLength);
// Deletes the extracted XML file and its two folders, saying when one cannot be.
void DeleteDocumentXml(Program& p);
// Deletes the temporary folder with everything in it; errors are ignored.
void DeleteTempFolder(Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_UI_DOCXREADER_H_
