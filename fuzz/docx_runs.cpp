// The text runs of a document's XML, against the literal search from each position.
#include "FuzzSupport.h"
#include "ui/DocxReader.h"
#include "support/Reference.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string xml(reinterpret_cast<const char*>(data), size);
  Program& p = fuzz::StartedProgram();
  p.blnStop = false;
  std::vector<std::string> runs;
  int32_t length = 0;
  const int32_t count = ExtractDocxRuns(p, xml, 1, runs, length);
  fuzz::Check(count == static_cast<int32_t>(runs.size()), "the run count differs from the runs");
  fuzz::Check(runs == reference::DocxRuns(xml), "the runs differ from the reference");
  int64_t total = 0;
  for (const std::string& run : runs) total += static_cast<int64_t>(run.size());
  fuzz::Check(total == length, "the total length differs from the runs");
  return 0;
}
