#include "input/TextFile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/NumberFormat.h"

namespace quillmoor {
namespace {

const std::string kCRLF(kCrLf);
constexpr long long kMaxReserveBytes = 2147483647LL;

}  // namespace

bool ForEachLineView(const std::string& path, FileError* error,
                     const std::function<bool(std::string_view)>& onLine) {
  std::unique_ptr<FileReader> reader = Files().OpenRead(path, error);
  if (!reader) return false;
  std::string line;  // a line begun in an earlier piece
  bool afterCR = false;
  bool pending = false;  // a line has begun (characters or not) since the last end
  // Hands over the lines that end in `data`; false when `onLine` asked to stop.
  auto feed = [&](const char* data, size_t size) {
    size_t start = 0;
    if (afterCR && data[0] == '\n') start = 1;  // the LF of a CR LF split between pieces
    afterCR = false;
    // The next CR and the next LF at or after `start`, each searched for again only
    // once passed, so that the piece is scanned once whatever the line ends are.
    const char* end = data + size;
    const char* nextCR = nullptr;
    const char* nextLF = nullptr;
    auto find = [&](const char*& cached, char c) {
      if (cached == end || (cached != nullptr && cached >= data + start)) return cached;
      const void* hit = std::memchr(data + start, c, size - start);
      cached = hit ? static_cast<const char*>(hit) : end;
      return cached;
    };
    while (start < size) {
      const char* cr = find(nextCR, '\r');
      const char* lf = find(nextLF, '\n');
      const char* stop = std::min(cr, lf);
      if (stop == end) {
        line.append(data + start, size - start);
        pending = true;
        break;
      }
      const size_t at = static_cast<size_t>(stop - data);
      pending = false;
      // A line that lies in this piece whole is handed over where it lies.
      if (line.empty()) {
        if (!onLine(std::string_view(data + start, at - start))) return false;
      } else {
        line.append(data + start, at - start);
        if (!onLine(line)) return false;
        line.clear();
      }
      start = at + 1;
      if (*stop == '\r') {
        if (start < size) {
          if (data[start] == '\n') ++start;
        } else {
          afterCR = true;
        }
      }
    }
    return true;
  };
  std::string_view whole;
  if (reader->InMemory(&whole)) {
    if (!whole.empty() && !feed(whole.data(), whole.size())) return true;
  } else {
    // Not zero-filled, and read 64 KB first, then twice as much each time up to 1 MB:
    // most callers read only a few lines of a file. A smaller file gets a buffer of its
    // size (one more byte to see its end in the same read).
    constexpr long long kMostBytes = 1 << 20;
    const long long length = reader->Length();
    const size_t bufferBytes =
        static_cast<size_t>(length >= 0 && length < kMostBytes ? length + 1 : kMostBytes);
    const std::unique_ptr<char[]> buffer(new char[bufferBytes]);
    size_t readBytes = std::min<size_t>(bufferBytes, 1 << 16);
    while (true) {
      long long n = reader->Read(buffer.get(), readBytes, error);
      readBytes = std::min(bufferBytes, readBytes * 2);
      if (n < 0) return false;
      if (n == 0) break;
      if (!feed(buffer.get(), static_cast<size_t>(n))) return true;
    }
  }
  if (pending) onLine(line);
  return true;
}

bool ForEachLine(const std::string& path, FileError* error,
                 const std::function<bool(std::string&)>& onLine) {
  std::string line;
  return ForEachLineView(path, error, [&](std::string_view view) {
    line.assign(view);
    return onLine(line);
  });
}

std::string GetFileExtension(const std::string& path, bool lowerCase) {
  std::string name = FileNameOf(path);
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return "";
  std::string ext = name.substr(dot + 1);
  return lowerCase ? AsciiLower(ext) : ext;
}

bool HasTextFileExtension(const std::string& path) {
  static const char* const kExtensions[] = {"prn",  "csv", "xhtml", "xhtm", "shtml", "shtm",
                                            "html", "htm", "xml",   "log",  "txt"};
  std::string ext = GetFileExtension(path, true);
  for (const char* e : kExtensions) {
    if (ext == e) return true;
  }
  return false;
}

int16_t DetectTextEncoding(const std::string& path, bool blnCheckCharset) {
  if (path.empty()) return kClassEmptyPath;
  if (!FileExists(path)) return kClassNotFound;
  FileError error;
  long long length = Files().FileLength(path, &error);
  if (length < 0)
    return error.number == kErrPermissionDenied ? kClassNoPermission : kClassUnexpectedError;
  if (length == 0) return kClassZeroLength;
  if (length <= 4) return kClassTiny;
  std::string head;
  if (!ReadFilePrefix(path, 5, &head, &error)) {
    return error.number == kErrPermissionDenied ? kClassNoPermission : kClassUnexpectedError;
  }
  head.resize(5, '\0');
  const unsigned char b0 = Byte(head[0]), b1 = Byte(head[1]), b2 = Byte(head[2]),
                      b3 = Byte(head[3]);
  std::string ext = GetFileExtension(path, true);
  int16_t code = kEncodingPlain;
  if (head == "{\\rtf") {
    code = kEncodingRtf;
  } else if (b0 == 0xFF && b1 == 0xFE) {
    code = kEncodingUtf16LE;
  } else if (b0 == 0xFE && b1 == 0xFF) {
    code = kEncodingUtf16BE;
  } else if (b0 == 0xEF && b1 == 0xBB && b2 == 0xBF) {
    code = kEncodingUtf8;
  } else if (b0 == 0 && b1 == 0 && b2 == 0xFE && b3 == 0xFF) {
    code = kEncodingUtf32BE;
  } else if (ext == "xml" && b0 == '<' && b1 != 0) {
    code = kEncodingUtf8;
  } else if (ext == "xml" && b0 == '<' && b1 == 0) {
    code = kEncodingUtf16LE;
  } else if (ext == "xml" && b0 == 0 && b1 == '<') {
    code = kEncodingUtf16BE;
  }
  if (code == kEncodingPlain && blnCheckCharset && HasTextFileExtension(path)) {
    std::string message;
    int32_t number = 0, lines = 0;
    LineReadOptions options;
    options.blnSkipBlankLines = true;
    options.lngMaxLines = 10;
    std::string text = ReadTextFileLines(path, message, number, lines, options);
    if (number == 0 && (text.find("charset=UTF-8") != std::string::npos ||
                        text.find("charset=\"UTF-8\"") != std::string::npos)) {
      code = kEncodingUtf8;
    }
  }
  return code;
}

int16_t ClassifyTextFile(const std::string& path, long long lngMaxScanBytes, bool& blnIsUTF8,
                         bool blnCheckCharset) {
  int16_t enc = DetectTextEncoding(path, blnCheckCharset);
  if (enc < 0 || enc == kEncodingRtf) return enc;
  if (enc == kEncodingUtf8) {
    blnIsUTF8 = true;
    return kClassWindows;
  }
  if (enc != kEncodingPlain) return kClassUnicode;
  std::string head;
  FileError error;
  if (!ReadFilePrefix(path, lngMaxScanBytes, &head, &error)) {
    return error.number == kErrPermissionDenied ? kClassNoPermission : kClassUnexpectedError;
  }
  const bool sawLF = head.find('\n') != std::string::npos;
  const bool sawCR = head.find('\r') != std::string::npos;
  if (sawCR && !sawLF) return kClassMac;
  if (sawLF && !sawCR) return kClassUnix;
  return kClassWindows;
}

bool HasNulBytes(const std::string& path, long long maxBytes) {
  std::string head;
  FileError error;
  return ReadFilePrefix(path, maxBytes, &head, &error) && head.find('\0') != std::string::npos;
}

std::string FileSizeCaption(const std::string& label, const std::string& path) {
  if (!FileExists(path)) return "";
  FileError error;
  return label + FormatFileSize(Files().FileLength(path, &error));
}

std::string FormatFileSize(long long lngBytes) {
  if (lngBytes < 1024) return std::to_string(lngBytes) + " bytes";
  if (lngBytes < 1048576) return FormatNumber(static_cast<double>(lngBytes) / 1024.0, 2) + " Kb";
  return FormatNumber(static_cast<double>(lngBytes) / 1024.0 / 1024.0, 2) + " Mb";
}

std::string ReadTextFileLines(const std::string& path, std::string& strErrorMessage,
                              int32_t& lngErrorNumber, int32_t& lngLineCount,
                              const LineReadOptions& options) {
  strErrorMessage.clear();
  lngErrorNumber = 0;
  lngLineCount = 0;
  const std::string separator =
      options.blnJoinWithSpace ? " " : (options.blnJoinWithSlash ? " / " : kCRLF);
  std::string result;
  FileError error;
  bool ok = false;
  try {
    // The text is about as long as the file: one allocation instead of a doubling
    // series (which would briefly hold two copies).
    if (options.lngMaxLines == 0) {
      long long length = Files().FileLength(path, &error);
      // Each line break may become " / " (three bytes for one or two): room for that
      // too, so the text is never moved to a larger buffer (unused room costs address
      // space only).
      if (length > 0 && length <= kMaxReserveBytes)
        result.reserve(static_cast<size_t>(length) * 3 / 2 + 16);
      error = FileError{};
    }
    ok = ForEachLineView(path, &error, [&](std::string_view line) {
      if (options.blnSkipBlankLines && line.empty()) return true;
      ++lngLineCount;
      if (!result.empty()) result += separator;
      result += line;
      return !(options.lngMaxLines > 0 && lngLineCount == options.lngMaxLines);
    });
  } catch (const std::bad_alloc&) {
    error = {7, "Out of memory"};
  }
  if (!ok) {
    if (error.ok()) error = {kErrDeviceIO, "Device I/O error"};
    strErrorMessage = error.description;
    lngErrorNumber = error.number;
    return "";
  }
  return result;
}

}  // namespace quillmoor

namespace quillmoor {

std::string JoinTextLines(std::string_view text, int32_t& lngLineCount,
                          const LineReadOptions& options) {
  const std::string separator =
      options.blnJoinWithSpace ? " " : (options.blnJoinWithSlash ? " / " : kCRLF);
  std::string result;
  result.reserve(text.size() + text.size() / 2 + 16);
  lngLineCount = 0;
  size_t at = 0;
  while (at < text.size()) {
    const size_t stop = std::min(text.find('\r', at), text.find('\n', at));
    const size_t end = std::min(stop, text.size());
    const std::string_view line = text.substr(at, end - at);
    at = end == text.size() ? end : end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    if (options.blnSkipBlankLines && line.empty()) continue;
    ++lngLineCount;
    if (!result.empty()) result += separator;
    result += line;
    if (options.lngMaxLines > 0 && lngLineCount == options.lngMaxLines) break;
  }
  return result;
}

}  // namespace quillmoor
