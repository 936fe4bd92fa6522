// The query parser on any bytes: a query it accepts, written back, reads as the same
// tree; one it refuses is refused at a place inside the query.
#include "FuzzSupport.h"
#include "query/Query.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Query query;
  QueryError error;
  if (!ParseQuery(text, &query, &error)) {
    fuzz::Check(error.at <= text.size() && !error.expected.empty(),
                "a refusal outside the query or without a reason");
    return 0;
  }
  const std::string written = QueryText(query);
  Query again;
  fuzz::Check(ParseQuery(written, &again, &error), "a query written back is refused");
  fuzz::Check(QueryText(again) == written, "a query written back reads as another tree");
  return 0;
}
