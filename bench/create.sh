#!/usr/bin/env bash
# Times `quillmoor-cli create` (whole process: read, scan, list, write the concordance
# file) against GNU ptx and a KWIC over NLTK's ConcordanceIndex on the same corpora,
# and prints the ratios. Median of RUNS runs (NLTK: one run on corpora over 10 MB);
# peak memory of one more run.
# Usage: bench/create.sh [RUNS] [CORPUS...]     (default: 5 runs; kjv, kjv-x10, kjv-x30)
# Options of the concordance: context 5, alphabetical, frequencies and line breaks
# shown, the English stop words (the defaults).
# Targets on the 2-core machine: kjv under 0.2 s, kjv-x10 under 2 s, kjv-x30 under 6 s
# with peak memory under 1.5 GB; at least 4 times faster than the faster of the two.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
shift || true
corpora_dir=bench/corpora
files=("$@")
[ ${#files[@]} -gt 0 ] || files=(kjv.txt kjv-x10.txt kjv-x30.txt)
if [ ! -s "$corpora_dir/kjv-x30.txt" ]; then
  bash ../shared/bench/make-corpora.sh "$corpora_dir" >/dev/null
fi
if ! /usr/bin/python3 -c 'import nltk' 2>/dev/null; then
  apt-get install -y -qq python3-nltk >/dev/null 2>&1 ||
    { apt-get update -qq >/dev/null; apt-get install -y -qq python3-nltk >/dev/null; }
fi
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DQUILLMOOR_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)" --target quillmoor-cli >/dev/null
cli=$PWD/build/release/bin/quillmoor-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() {  # median of the timings of N runs of "$@": median N COMMAND...
  local n=$1 times=()
  shift
  for _ in $(seq "$n"); do
    local s e
    s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N)
    times+=("$(echo "$e - $s" | bc)")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (n + 1) / 2 ))p"
}

printf '%-12s %10s %10s %10s %10s %10s %8s\n' corpus quillmoor peak_MB ptx nltk "best/q" ok
for f in "${files[@]}"; do
  cp "$corpora_dir/$f" "$work/$f"
  q=$(median "$runs" "$cli" --overwrite "$work/$f")
  /usr/bin/time -f '%M' -o "$work/peak" "$cli" --overwrite "$work/$f" >/dev/null 2>&1
  peak=$(( $(tail -1 "$work/peak") / 1024 ))
  p=$(median "$runs" ptx -f -w 80 "$work/$f")
  # NLTK takes minutes on the larger corpora: one run there.
  nltk_runs=$runs
  [ "$(stat -c %s "$work/$f")" -gt 10000000 ] && nltk_runs=1
  n=$(median "$nltk_runs" /usr/bin/python3 bench/nltk_kwic.py "$work/$f")
  best=$(echo "if ($p < $n) $p else $n" | bc)
  ratio=$(echo "scale=1; $best / $q" | bc)
  ok=$(echo "$ratio >= 4" | bc)
  printf '%-12s %9.3fs %10d %9.3fs %9.3fs %9sx %8s\n' "$f" "$q" "$peak" "$p" "$n" "$ratio" \
    "$([ "$ok" = 1 ] && echo yes || echo NO)"
  rm -f "$work/$f"*
done
