#include "input/FileKinds.h"

#include "input/TextFile.h"
#include "shared/Cp1252.h"
#include "shared/FileSystem.h"
#include "shared/Utf8.h"

namespace quillmoor {

int IsZipFile(const std::string& path) {
  if (!FileExists(path)) return -1;
  FileError error;
  if (Files().FileLength(path, &error) < 10) return 0;
  std::string head;
  if (!ReadFilePrefix(path, 4, &head, &error)) return 0;
  return head == std::string("PK\x03\x04", 4) ? 1 : 0;
}

bool IsDocxFile(const std::string& path) {
  return GetFileExtension(path, true) == "docx" && IsZipFile(path) == 1;
}

bool IsIndexFileName(const std::string& path) { return AsciiLower(path).ends_with("oxn.ndx"); }

bool IsConcordanceFileName(const std::string& path) {
  const std::string marker = ".oxn.con_";
  const size_t at = path.rfind(marker);
  if (at == std::string::npos) return false;
  const size_t rest = at + marker.size() + 2;
  return rest <= path.size() && path.compare(rest, std::string::npos, ".txt") == 0;
}

}  // namespace quillmoor
