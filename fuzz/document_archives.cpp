// The EPUB and OpenDocument readers on any archive, and their XML readers on any
// text: a reading ends, within its limits, or is refused with a reason.
#include "FuzzSupport.h"
#include "input/Documents.h"
#include "input/EpubText.h"
#include "input/OdfText.h"
#include "input/XmlScanner.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  DocumentLimits limits;
  limits.maxExpandedBytes = 1 << 20;
  limits.maxTextBytes = 1 << 20;
  for (const char* name : {"book.epub", "report.odt"}) {
    const std::string path = fuzz::WriteFile(name, bytes);
    DocumentReading reading;
    const DocumentFormat format = DocumentFormatOf(name[0] == 'b' ? "epub" : "odt");
    if (ReadDocument(format, path, limits, &reading)) {
      fuzz::Check(static_cast<long long>(reading.text.size()) <= 2 * limits.maxExpandedBytes,
                  "a reading passed its limits");
    } else {
      fuzz::Check(!reading.problem.empty(), "a refusal without a reason");
    }
  }
  // The XML readers straight on the bytes.
  OdfContentText(std::string("<office:body>") + std::string(bytes));
  ParseEpubPackage(bytes, "OEBPS/content.opf");
  EpubPackagePath(bytes);
  EpubChapterText(bytes);
  const std::string decoded = DecodeXmlText(bytes);
  fuzz::Check(decoded.size() <= size, "decoding made the text longer");
  return 0;
}
