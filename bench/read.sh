#!/usr/bin/env bash
# Times `quillmoor-cli read` on the benchmark corpora (whole process, best of N runs).
# Usage: bench/read.sh [RUNS]       Builds Release into build/release if needed.
# The corpora come from ../shared/bench/make-corpora.sh into bench/corpora/.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
corpora=bench/corpora
if [ ! -s "$corpora/kjv-x10.txt" ]; then
  bash ../shared/bench/make-corpora.sh "$corpora" >/dev/null
fi
# A UTF-8 corpus heavy in accented letters and typographic punctuation (ten copies of
# the Bible with e, a and quotes made non-ASCII), to time the UTF-8 fix-ups.
if [ ! -s "$corpora/kjv-utf8-x10.txt" ]; then
  { printf '\xef\xbb\xbf'; for _ in $(seq 10); do
      sed 's/e/\xc3\xa9/g; s/a/\xc3\xa0/g; s/;/\xe2\x80\x94/g; s/:/\xc2\xbb/g' "$corpora/kjv.txt"
    done; } > "$corpora/kjv-utf8-x10.txt"
fi
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DQUILLMOOR_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)" --target quillmoor-cli >/dev/null
cli=build/release/bin/quillmoor-cli
for f in kjv.txt kjv-x10.txt kjv-utf8-x10.txt devil.txt; do
  best=""
  for _ in $(seq "$runs"); do
    s=$(date +%s.%N)
    "$cli" read "$corpora/$f" >/dev/null 2>&1
    e=$(date +%s.%N)
    t=$(echo "$e - $s" | bc)
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc)" = 1 ]; then best=$t; fi
  done
  /usr/bin/time -f '%M' -o /tmp/quillmoor-peak "$cli" read "$corpora/$f" >/dev/null 2>&1; peak=$(tail -1 /tmp/quillmoor-peak)
  size=$(stat -c %s "$corpora/$f")
  printf '%-12s %10d bytes  best %.3f s  peak %d KB\n' "$f" "$size" "$best" "$peak"
done
