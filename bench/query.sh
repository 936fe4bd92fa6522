#!/usr/bin/env bash
# The query language, in process (quillmoor-query-bench, the median of RUNS runs) and
# as whole processes of the command line (the median of RUNS new processes):
#  - its word patterns over a lexicon of a million random types;
#  - a phrase of two common words, a NEAR/5 of two common words and a pattern of three
#    tokens with regular expressions, over the King James Bible (one document) and over
#    a corpus of COPIES copies of it and The Devil's Dictionary, each copy in 20 files
#    (bench/corpus.sh's corpus: 113 copies make about 100 million tokens).
# BENCH_WORK names the folder to work in (its corpus is kept, and taken as it is by a
# second run).
# Usage: bench/query.sh [COPIES [RUNS]]
set -euo pipefail
cd "$(dirname "$0")/.."
copies=${1:-113}
runs=${2:-5}
. bench/prepare.sh
bench_prepare quillmoor-cli quillmoor-query-bench
cli=$(realpath build/release/bin/quillmoor-cli)
bench=build/release/bin/quillmoor-query-bench
work=${BENCH_WORK:-$(mktemp -d)}
[ -n "${BENCH_WORK:-}" ] || trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data
index=$work/data/quillmoor/corpora/big/corpus.qci
if [ ! -s "$index" ]; then
  [ -d "$work/docs" ] || bench_corpus_docs "$work" "$copies"
  "$cli" corpus index -q big "$work/docs"
fi
queries=('"of the"' 'lord NEAR/5 god' '[word="th.*"] [word="lord"] [word="g.*"]')
echo "== word patterns, in process"
"$bench" words 1000000 "$runs"
echo "== the King James Bible, in process"
"$bench" text "$corpora/kjv.txt" "$runs" "${queries[@]}"
echo "== the corpus, in process"
"$bench" corpus "$index" "$runs" "${queries[@]}"
echo "== whole processes: kwic, the first 100 lines written"
for q in "${queries[@]}"; do
  printf '%-44s KJV %s s, corpus %s s\n' "$q" \
    "$(bench_median "$runs" "$cli" kwic -q -k "$q" -o "$work/l" --yes "$corpora/kjv.txt")" \
    "$(bench_median "$runs" "$cli" kwic -q --corpus big -k "$q" --lines 100 -o "$work/l" --yes)"
done
