#!/usr/bin/env bash
# Times the analyses: in process after the word table exists (quillmoor-analyses-bench:
# the tokens, the collocates of "lord" in 5L,5R, all bigrams, the dispersion table of
# the twenty most frequent words) on KJV and ten copies, then the whole process of the
# three CLI commands on KJV (the median of RUNS runs each).
# Usage: bench/analyses.sh [RUNS]   (builds Release into build/release)
# Targets on the 2-core machine (KJV, after the word table): collocates of one frequent
# word under 0.1 s, all bigrams under 1 s, a dispersion table of 20 words under 0.05 s.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
. bench/prepare.sh
bench_prepare quillmoor-cli quillmoor-png quillmoor-analyses-bench
for corpus in kjv kjv-x10; do
  build/release/bin/quillmoor-analyses-bench "$corpora/$corpus.txt" lord "$runs"
done
cli=build/release/bin/quillmoor-cli
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
words="lord god israel king people son house children land hand day men david jerusalem judah egypt thee thou thy shall"
time_of() {
  local times=()
  for _ in $(seq "$runs"); do
    s=$(date +%s.%N)
    "$@" >/dev/null
    e=$(date +%s.%N)
    times+=("$(echo "$e - $s" | bc)")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}
input="$corpora/kjv.txt"
printf 'whole process on kjv.txt, medians:\n'
printf '  create --context 5 (for comparison)     %.3f s\n' "$(time_of "$cli" create -q -f -o "$out/c.txt" "$input")"
printf '  collocates -k lord                      %.3f s\n' "$(time_of "$cli" collocates -q -k lord "$input")"
printf '  ngrams (all bigrams)                    %.3f s\n' "$(time_of "$cli" ngrams -q "$input")"
printf '  dispersion of 20 words                  %.3f s\n' "$(time_of "$cli" dispersion -q -k "$words" "$input")"
printf '  dispersion of 20 words, --svg and --png %.3f s\n' \
  "$(time_of "$cli" dispersion -q -f -k "$words" --svg "$out/p.svg" --png "$out/p.png" "$input")"
