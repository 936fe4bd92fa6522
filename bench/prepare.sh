# Sourced by the bench scripts (from the project's root): makes the corpora in
# bench/corpora when they are missing (../shared/bench/make-corpora.sh) and builds the
# Release targets named into build/release.
# Usage: . bench/prepare.sh; bench_prepare TARGET...
# The median of N runs of a command, in seconds (its output thrown away).
# Usage: bench_median N COMMAND...
bench_median() {
  local runs=$1 times=() s e
  shift
  for _ in $(seq "$runs"); do
    s=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    e=$(date +%s.%N)
    times+=("$(echo "$e - $s" | bc)")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

bench_prepare() {
  corpora=bench/corpora
  [ -s "$corpora/kjv-x30.txt" ] || bash ../shared/bench/make-corpora.sh "$corpora" >/dev/null
  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DQUILLMOOR_BUILD_TESTS=OFF >/dev/null
  cmake --build build/release -j "$(nproc)" --target "$@" >/dev/null
}

# The documents of a corpus of COPIES copies of the Bible and the Dictionary, each copy
# 20 files (a first line tells them apart), in WORK/docs/COPY/PART.txt.
# Usage: bench_corpus_docs WORK COPIES
bench_corpus_docs() {
  local work=$1 copies=$2 c p
  mkdir -p "$work/docs"
  cat "$corpora/kjv.txt" "$corpora/devil.txt" >"$work/one.txt"
  split -n l/20 -d "$work/one.txt" "$work/part"
  for c in $(seq -w 1 "$copies"); do
    mkdir -p "$work/docs/$c"
    for p in "$work"/part*; do
      { echo "Copy $c, part ${p##*/part}."; cat "$p"; } >"$work/docs/$c/${p##*/part}.txt"
    done
  done
}
