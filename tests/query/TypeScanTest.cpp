#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "query/TypeScan.h"

namespace quillmoor {
namespace {

// The scan against the literal test of every start, on random streams of few types (so
// that the items hold often), with random items, bounds and a stop after some visits.
TEST(TypeScanTest, VisitsWhatTheLiteralLoopVisits) {
  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round) {
    const auto types = static_cast<uint16_t>(1 + rng() % 6);
    const size_t tokens = rng() % 200;
    std::string stream;
    for (size_t i = 0; i < tokens; ++i) {
      // (Now and then a type id with its high byte set, or a type no item asks for.)
      const auto id = static_cast<uint16_t>(rng() % 9 == 0 ? 0x8000 + rng() % 3 : rng() % types);
      stream.append(reinterpret_cast<const char*>(&id), 2);
    }
    std::vector<ScanItem> items(1 + rng() % kMostScanItems);
    uint32_t reach = 0;
    for (ScanItem& item : items) {
      item.offset = rng() % 4;
      reach = std::max(reach, item.offset);
      for (size_t k = 1 + rng() % kMostScanTypes; k > 0; --k)
        item.types.push_back(
            static_cast<uint16_t>(rng() % 3 == 0 ? 0x8000 + rng() % 3 : rng() % types));
    }
    if (tokens <= reach) continue;
    const uint64_t end = tokens - reach - rng() % (tokens - reach);
    const uint64_t from = end == 0 ? 0 : rng() % (end + 1);
    const size_t most = rng() % 2 == 0 ? SIZE_MAX : 1 + rng() % 10;
    std::vector<uint64_t> expected, scanned;
    for (uint64_t at = from; at < end && expected.size() < most; ++at) {
      if (HoldsAt(stream.data(), at, items)) expected.push_back(at);
    }
    ForEachWhereTypesHold(stream.data(), from, end, items, [&](uint64_t at) {
      scanned.push_back(at);
      return scanned.size() < most;
    });
    EXPECT_EQ(scanned, expected) << "round " << round;
  }
}

}  // namespace
}  // namespace quillmoor
