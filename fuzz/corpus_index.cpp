// The corpus index reader on any bytes: refused with a reason, or read, every list
// decoded within the file, each document's hits in order and within the corpus.
#include "FuzzSupport.h"
#include "corpus/CorpusIndex.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(kCorpusMagic);
  bytes.append(reinterpret_cast<const char*>(data), size);
  CorpusIndex index;
  std::string problem;
  if (!index.Parse(bytes, &problem)) {
    fuzz::Check(!problem.empty(), "a refusal without a reason");
    return 0;
  }
  for (uint64_t t = 0; t < index.tokenCount(); ++t) {
    const uint32_t id = index.TokenAt(t);
    fuzz::Check(id == CorpusIndex::kNoToken || id < index.tokenTypes().size(), "a token beyond the lexicon");
  }
  for (size_t t = 0; t < index.words().size(); ++t) {
    uint32_t last = 0;
    bool first = true;
    for (const DocumentHits& h : index.Hits(t)) {
      fuzz::Check(h.document < index.documents().size(), "a hit beyond the documents");
      for (int32_t p : h.positions)
        fuzz::Check(static_cast<uint32_t>(p) < index.documents()[h.document].tokens, "a hit beyond its document");
      fuzz::Check(first || h.document > last, "the documents of a list out of order");
      first = false;
      last = h.document;
    }
  }
  return 0;
}
