# Sourced by the bench scripts (from the project's root): makes the corpora in
# bench/corpora when they are missing (../shared/bench/make-corpora.sh) and builds the
# Release targets named into build/release.
# Usage: . bench/prepare.sh; bench_prepare TARGET...
bench_prepare() {
  corpora=bench/corpora
  [ -s "$corpora/kjv-x30.txt" ] || bash ../shared/bench/make-corpora.sh "$corpora" >/dev/null
  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DQUILLMOOR_BUILD_TESTS=OFF >/dev/null
  cmake --build build/release -j "$(nproc)" --target "$@" >/dev/null
}
