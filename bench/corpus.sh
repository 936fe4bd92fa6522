#!/usr/bin/env bash
# Corpora: indexing ten copies of the King James Bible and The Devil's Dictionary as
# eleven documents, the corpus's word list, keyness against itself, and the update
# after one changed document; the index's size per word; `wc -w` on the same files for
# scale. Median of three runs each (the index's peak memory with it).
# Usage: bench/corpus.sh CLI
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 1 ] || { echo "usage: $0 CLI" >&2; exit 2; }
cli=$(realpath "$1")
. bench/prepare.sh
bench_prepare quillmoor-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data
mkdir "$work/docs"
for i in $(seq 10); do cp "$corpora/kjv.txt" "$work/docs/kjv$i.txt"; done
cp "$corpora/devil.txt" "$work/docs/"
echo "index:        $(bench_median 3 "$cli" corpus index -q bench "$work/docs") s"
/usr/bin/time -f '%M' -o "$work/peak" "$cli" corpus index -q bench "$work/docs"
words=$("$cli" corpus info -q bench | sed -n 's/^words\t//p')
size=$(stat -c %s "$work/data/quillmoor/corpora/bench/corpus.qci")
echo "peak memory:  $(($(tail -1 "$work/peak") >> 10)) MB; $words words;" \
     "index $((size >> 10)) KB, $(echo "scale=2; $size / $words" | bc) bytes a word"
echo "wordlist:     $(bench_median 3 "$cli" wordlist -q --corpus bench -o "$work/w") s"
echo "keywords:     $(bench_median 3 "$cli" keywords -q --corpus bench --reference bench -o "$work/k") s"
update() { touch "$work/docs/devil.txt"; "$cli" corpus add -q bench "$work/docs/devil.txt"; }
echo "update:       $(bench_median 3 update) s (one document changed)"
echo "wc -w:        $(bench_median 3 wc -w "$work"/docs/*) s"
