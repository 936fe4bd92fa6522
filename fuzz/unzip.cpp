// Unpacking the document entry of an archive: any archive is refused or unpacked
// within the size limit, and nothing is left in the target folder on a refusal but
// the partial file the caller deletes.
#include "input/Unzip.h"

#include <filesystem>

#include "FuzzSupport.h"
#include "shared/FileSystem.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string zip =
      fuzz::WriteFile("input.docx", std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string target = JoinPath(fuzz::WorkFolder(), "document.xml");
  constexpr long long kLimit = 1 << 20;
  const UnzipResult r = UnzipEntryToFile(zip, "word/document.xml", target, kLimit);
  std::error_code error;
  const auto length = std::filesystem::file_size(target, error);
  if (r.status == UnzipStatus::kOk) {
    fuzz::Check(!error && static_cast<long long>(length) <= kLimit,
                "an unpacked entry passed the limit");
  }
  std::filesystem::remove(target, error);
  return 0;
}
