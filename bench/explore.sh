#!/usr/bin/env bash
# Times the concordance explorer: in process (quillmoor-explore-bench: opening on every
# word, a three-level sort, a filter keystroke, cutting every row) on KJV, the window
# (opening on every word until its lines show, a three-level sort), and the whole
# process of `quillmoor-cli kwic --format tsv` on every occurrence of every word of ten
# KJV copies, with its peak memory as a multiple of the input.
# Usage: bench/explore.sh [RUNS]   (builds Release into build/release)
# Targets on the 2-core machine: open under 0.3 s, sort under 0.5 s, filter under
# 0.05 s; kwic tsv on kjv-x10 under 3 s with peak memory under 3x the input.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
. bench/prepare.sh
bench_prepare quillmoor quillmoor-cli quillmoor-explore-bench
build/release/bin/quillmoor-explore-bench "$corpora/kjv.txt" "$runs"
# The window itself, on the offscreen platform: opening on every word and a sort.
QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="default.warning=false" \
  build/release/bin/quillmoor --measure-explorer "$corpora/kjv.txt"
cli=build/release/bin/quillmoor-cli
input="$corpora/kjv-x10.txt"
times=()
peak=0
for _ in $(seq "$runs"); do
  s=$(date +%s.%N)
  kb=$( { /usr/bin/time -f '%M' "$cli" kwic -q -s none --format tsv "$input" >/dev/null; } 2>&1 | tail -1)
  e=$(date +%s.%N)
  times+=("$(echo "$e - $s" | bc)")
  [ "$kb" -gt "$peak" ] && peak=$kb
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
size=$(stat -c %s "$input")
printf 'kwic --format tsv kjv-x10.txt: median %.2f s, peak memory %d MB (%.1fx the input)\n' \
  "$median" $((peak / 1024)) "$(echo "$peak * 1024 / $size" | bc -l)"
