#!/usr/bin/env bash
# Corpora: a corpus of COPIES copies of the King James Bible and The Devil's Dictionary,
# each copy split into 20 files of its own (a first line tells them apart), indexed;
# its word list with ranges, keyness of one half against the other, the lines of a
# word (the first page, and all of them sorted by R1), the update after one changed
# document; the index's size a token and its peak memory; `wc -w` on the same files in
# the same run, for scale. 113 copies make about 100 million tokens, 1130 a billion.
# Times are the median of RUNS runs (1 for a billion), each a new process.
# Usage: bench/corpus.sh CLI [COPIES [RUNS]]
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 1 ] || { echo "usage: $0 CLI [COPIES [RUNS]]" >&2; exit 2; }
cli=$(realpath "$1")
copies=${2:-113}
runs=${3:-3}
. bench/prepare.sh
bench_prepare quillmoor-cli
# BENCH_WORK names the folder to work in; with BENCH_KEEP set it stays, and a second
# run takes its documents as they are.
work=${BENCH_WORK:-$(mktemp -d)}
[ -n "${BENCH_KEEP:-}" ] || trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data
rm -rf "$work/data"
# The files: copy N, parts 00..19 of the Bible and the Dictionary together.
[ -d "$work/docs" ] || bench_corpus_docs "$work" "$copies"
files=$(find "$work/docs" -name '*.txt' | wc -l)
echo "documents:    $files ($(du -sm "$work/docs" | cut -f1) MB)"
echo "wc -w:        $(bench_median "$runs" sh -c "find '$work/docs' -name '*.txt' -print0 | xargs -0 wc -w") s"
/usr/bin/time -f '%e %M' -o "$work/time" "$cli" corpus index -q big "$work/docs"
read -r seconds peak <"$work/time"
tokens=$("$cli" corpus info -q big | sed -n 's/^tokens\t//p')
size=$(stat -c %s "$work/data/quillmoor/corpora/big/corpus.qci")
texts=$(du -sm "$work/data/quillmoor/corpora/big/texts" | cut -f1)
echo "index:        $seconds s; $tokens tokens, $(echo "scale=1; $tokens / $seconds / 1000000" | bc) M tokens a second"
echo "peak memory:  $((peak >> 10)) MB; index $((size >> 20)) MB," \
     "$(echo "scale=2; $size / $tokens" | bc) bytes a token; kept texts $texts MB"
echo "wordlist:     $(bench_median "$runs" "$cli" wordlist -q --corpus big -o "$work/w") s (every word, with ranges)"
echo "keywords:     $(bench_median "$runs" "$cli" keywords -q --corpus big --where "folder~/$(printf '%0*d' ${#copies} 1)" \
       --reference big -o "$work/k") s (one copy against the whole)"
echo "keywords:     $(bench_median "$runs" "$cli" keywords -q --corpus big --where "name<10" \
       --reference big --reference-where "name>=10" -o "$work/k") s (one half against the other)"
# A word with about 100,000 lines in the corpus (88 a copy make 100,000 in 1130 copies).
per=$((100000 / 10#$copies))
word=$(awk -F'\t' -v n="$per" 'NR > 1 && $2 >= n && (best == "" || $2 < bestn) { best = $1; bestn = $2 }
       END { print best }' <("$cli" wordlist -q --corpus big --where "folder~/$(printf '%0*d' ${#copies} 1)"))
hits=$(awk -F'\t' -v w="$word" '$1 == w { print $2 }' "$work/w")
echo "kwic first:   $(bench_median "$runs" "$cli" kwic -q --corpus big -k "$word" --lines 100 -o "$work/l" --yes) s" \
     "(the first 100 of the $hits lines of \"$word\")"
echo "kwic R1 page: $(bench_median "$runs" "$cli" kwic -q --corpus big -k "$word" --sort R1 --lines 100 -o "$work/l" --yes) s" \
     "(all $hits sorted by R1, the first 100 written)"
echo "kwic R1 all:  $(bench_median "$runs" "$cli" kwic -q --corpus big -k "$word" --sort R1 -o "$work/l" --yes) s" \
     "(all $hits sorted by R1 and written)"
changed=$(find "$work/docs" -name '*.txt' | sort | sed -n 7p)
update() { echo "A changed line." >>"$changed"; "$cli" corpus add -q big "$changed"; }
echo "update:       $(bench_median "$runs" update) s (one document changed)"
# The first page from a cold start: the page cache dropped first (when this user may),
# last, so that the other figures are not cold.
if [ -w /proc/sys/vm/drop_caches ]; then
  times=()
  for _ in $(seq "$runs"); do
    sync
    echo 3 >/proc/sys/vm/drop_caches
    s=$(date +%s.%N)
    "$cli" kwic -q --corpus big -k "$word" --lines 100 -o "$work/l" --yes
    e=$(date +%s.%N)
    times+=("$(echo "$e - $s" | bc)")
  done
  echo "kwic cold:    $(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p") s" \
       "(the same, the page cache dropped before)"
fi
