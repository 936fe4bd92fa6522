#!/usr/bin/env bash
# Times quillmoor-cli (whole process) on the benchmark corpora: the median of RUNS runs
# and the peak memory, as a multiple of the input size.
# Usage: bench/cli.sh read|wordlist|search [RUNS]   (builds Release into build/release)
# The corpora come from ../shared/bench/make-corpora.sh into bench/corpora/.
# Targets on the 2-core machine:  read: kjv-x10 well under 1 s;
#   wordlist: kjv under 0.15 s, kjv-x10 under 1.5 s, peak memory under 4x the input.
#   search (the concordance it makes first included, with many-star patterns that
#   would backtrack exponentially): kjv-x10 under 2 s.
set -euo pipefail
cd "$(dirname "$0")/.."
command=${1:?usage: bench/cli.sh read|wordlist|search [RUNS]}
args=()
if [ "$command" = search ]; then
  args=(--keywords "lov* *a*a*a*a*a*b god+lord* ?at the+*e*e*e*e*e*x")
fi
runs=${2:-5}
. bench/prepare.sh
bench_prepare quillmoor-cli
# A UTF-8 corpus heavy in accented letters and typographic punctuation (ten copies of
# the Bible with e, a and some punctuation made non-ASCII), to time the UTF-8 fix-ups.
if [ ! -s "$corpora/kjv-utf8-x10.txt" ]; then
  { printf '\xef\xbb\xbf'; for _ in $(seq 10); do
      sed 's/e/\xc3\xa9/g; s/a/\xc3\xa0/g; s/;/\xe2\x80\x94/g; s/:/\xc2\xbb/g' "$corpora/kjv.txt"
    done; } > "$corpora/kjv-utf8-x10.txt"
fi
cli=build/release/bin/quillmoor-cli
peakfile=$(mktemp)
trap 'rm -f "$peakfile"' EXIT
for f in kjv.txt kjv-x10.txt kjv-utf8-x10.txt devil.txt; do
  times=()
  for _ in $(seq "$runs"); do
    s=$(date +%s.%N)
    "$cli" "$command" "${args[@]}" --yes "$corpora/$f" >/dev/null 2>&1
    e=$(date +%s.%N)
    times+=("$(echo "$e - $s" | bc)")
  done
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")
  /usr/bin/time -f '%M' -o "$peakfile" "$cli" "$command" "${args[@]}" --yes "$corpora/$f" >/dev/null 2>&1
  peak=$(tail -1 "$peakfile")
  size=$(stat -c %s "$corpora/$f")
  ratio=$(echo "scale=2; $peak * 1024 / $size" | bc)
  printf '%-9s %-17s %10d bytes  median %.3f s  peak %7d KB (%sx input)\n' \
    "$command" "$f" "$size" "$median" "$peak" "$ratio"
done
