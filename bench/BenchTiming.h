// Timing helpers shared by the benchmark programs.
#ifndef QUILLMOOR_BENCH_BENCHTIMING_H_
#define QUILLMOOR_BENCH_BENCHTIMING_H_

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

namespace quillmoor::bench {

// The seconds `work` takes.
inline double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace quillmoor::bench

#endif  // QUILLMOOR_BENCH_BENCHTIMING_H_
