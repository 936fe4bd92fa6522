#!/usr/bin/env bash
# Times `create` of two builds of quillmoor-cli against each other, in alternating
# rounds (quillmoor-spawn-bench), on the first 3,000 bytes of KJV, on KJV and on
# kjv-x10: for a change that must not cost speed, the second build's median over the
# first's should be within the run-to-run noise (about 3%).
# Usage: bench/compare-builds.sh OLD_CLI NEW_CLI [ROUNDS]     (default 5 rounds)
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 2 ] || { echo "usage: $0 OLD_CLI NEW_CLI [ROUNDS]" >&2; exit 2; }
old=$(realpath "$1") new=$(realpath "$2") rounds=${3:-5}
. bench/prepare.sh
bench_prepare quillmoor-spawn-bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
head -c 3000 "$corpora/kjv.txt" >"$work/small.txt"
cp "$corpora/kjv.txt" "$corpora/kjv-x10.txt" "$work/"
for run in "small.txt 40" "kjv.txt 6" "kjv-x10.txt 2"; do
  set -- $run
  echo "== $1 ($rounds rounds of $2 runs of each)"
  build/release/bin/quillmoor-spawn-bench "$rounds" "$2" \
    "$old create -q -f -o $work/old.txt $work/$1" "$new create -q -f -o $work/new.txt $work/$1"
done
