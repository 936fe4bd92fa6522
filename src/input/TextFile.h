// Text-file checks and the line reader.
//
// DetectTextEncoding looks at the first bytes (byte-order marks, "{\rtf", XML without
// a mark) and, for text-like extensions, at a "charset=UTF-8" in the first ten
// non-blank lines. ClassifyTextFile adds the line-ending test on at most 16384 bytes.
// CheckTextFile shows the refusal a person needs and says whether the file may be
// processed. ReadTextFileLines reads a file line by line: a line ends at CR LF, CR or
// LF, so files from every platform read alike.
#ifndef QUILLMOOR_INPUT_TEXTFILE_H_
#define QUILLMOOR_INPUT_TEXTFILE_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "shared/FileSystem.h"

namespace quillmoor {

// Classification codes (ClassifyTextFile, CheckTextFile).
enum TextFileClass : int16_t {
  kClassUnexpectedError = -9,
  kClassEmptyPath = -5,
  kClassTiny = -4,  // 1 to 4 bytes
  kClassNoPermission = -3,
  kClassZeroLength = -2,
  kClassNotFound = -1,
  kClassRefused = 0,  // refused for its size or by the user (CheckTextFile only)
  kClassWindows = 1,  // CR LF, no line ending at all, or UTF-8
  kClassUnix = 2,     // LF only
  kClassMac = 3,      // CR only
  kClassRtf = 6,
  kClassUnicode = 7,  // UTF-16, UTF-32 or UTF-16 XML
};

// Encoding codes (DetectTextEncoding): the negative codes above, or these.
enum TextEncoding : int16_t {
  kEncodingPlain = 0,
  kEncodingUtf16LE = 1,
  kEncodingUtf16BE = 2,
  kEncodingUtf8 = 3,
  kEncodingUtf32BE = 5,
  kEncodingRtf = 6,
};

inline constexpr long long kMaxScanBytes = 16384;

// The lower-case text after the last "." of the last path component ("" if none).
std::string GetFileExtension(const std::string& path, bool lowerCase);

bool HasTextFileExtension(const std::string& path);
int16_t DetectTextEncoding(const std::string& path, bool blnCheckCharset);
int16_t ClassifyTextFile(const std::string& path, long long lngMaxScanBytes, bool& blnIsUTF8,
                         bool blnCheckCharset = true);

// True when the first `maxBytes` bytes of the file hold a NUL byte: a binary file,
// which the word-list readers refuse.
bool HasNulBytes(const std::string& path, long long maxBytes = kMaxScanBytes);

// "512 bytes", "1.00 Kb", "2.50 Mb" in the user's number format.
std::string FormatFileSize(long long lngBytes);
// `label` and the size of `path` when it names a file, else "".
std::string FileSizeCaption(const std::string& label, const std::string& path);

struct LineReadOptions {
  bool blnSkipBlankLines = false;
  int32_t lngMaxLines = 0;  // 0 = no limit
  bool blnJoinWithSpace = false;
  bool blnJoinWithSlash = false;  // used when blnJoinWithSpace is false; else CR LF
};

// Feeds the file to `onLine` line by line (a line ends at CR LF, CR or LF, the line
// end not included); `onLine` returns false to stop early. False with *error set when
// the file cannot be opened or read.
bool ForEachLine(const std::string& path, FileError* error,
                 const std::function<bool(std::string&)>& onLine);
// The same, each line a view that is valid during the call.
bool ForEachLineView(const std::string& path, FileError* error,
                     const std::function<bool(std::string_view)>& onLine);

// Reads `path` and returns its lines joined by the chosen separator. On an error
// returns "" with strErrorMessage and lngErrorNumber set.
std::string ReadTextFileLines(const std::string& path, std::string& strErrorMessage,
                              int32_t& lngErrorNumber, int32_t& lngLineCount,
                              const LineReadOptions& options);

// The same on a text in memory (a document converted from another encoding).
std::string JoinTextLines(std::string_view text, int32_t& lngLineCount,
                          const LineReadOptions& options);

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_TEXTFILE_H_
