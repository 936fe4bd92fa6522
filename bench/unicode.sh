#!/usr/bin/env bash
# What the Unicode word rules cost. On Windows-1252 documents (KJV, kjv-x10, kjv-x30):
# create, wordlist and kwic of an older build against a newer one in alternating
# rounds, and their peak memory. On Unicode text (Debian's Polish, Russian and Chinese
# manual pages rendered by man and repeated): the throughput of create in MB/s, and the
# peak memory on a 100 MB text.
# Usage: bench/unicode.sh OLD_CLI NEW_CLI [ROUNDS]   (default 3 rounds)
# Targets: within 1.1x of the old build on Windows-1252 documents, time and memory;
# Polish and Russian at least 0.6x the MB/s of KJV; Chinese at least 10 MB/s; at most
# 3x the input plus 40 MB on 100 MB of Unicode text.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 2 ] || { echo "usage: $0 OLD_CLI NEW_CLI [ROUNDS]" >&2; exit 2; }
old=$(realpath "$1") new=$(realpath "$2") rounds=${3:-3}
. bench/prepare.sh
bench_prepare quillmoor-spawn-bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
spawn=build/release/bin/quillmoor-spawn-bench

peak() {  # peak memory in KB of one run of "$@"
  /usr/bin/time -f '%M' -o "$work/peak" "$@" >/dev/null 2>&1
  tail -1 "$work/peak"
}

echo "== Windows-1252 documents, old against new"
cp "$corpora/kjv.txt" "$corpora/kjv-x10.txt" "$corpora/kjv-x30.txt" "$work/"
for run in "kjv.txt 6" "kjv-x10.txt 2" "kjv-x30.txt 1"; do
  set -- $run
  for command in "create -q -f -o OUT" "wordlist -q -o OUT" "kwic -q -k lo*+god -o OUT"; do
    echo "-- $command $1"
    "$spawn" "$rounds" "$2" "$old ${command/OUT/$work/old.out} $work/$1" \
      "$new ${command/OUT/$work/new.out} $work/$1"
  done
  echo "-- peak memory of create $1: old $(peak "$old" create -q -f -o "$work/o" "$work/$1") KB," \
       "new $(peak "$new" create -q -f -o "$work/o" "$work/$1") KB"
done

# The manual pages of a language, rendered, repeated to at least `megabytes` MB.
corpus() {
  local lang=$1 megabytes=$2 out=$work/$1.txt
  [ -d "/usr/share/man/$lang" ] || { echo "(no manual pages in $lang: apt-get install manpages-${lang%%_*})" >&2; return 1; }
  for page in /usr/share/man/"$lang"/man1/*.1.gz; do
    zcat "$page" 2>/dev/null | MANWIDTH=80 man -l - 2>/dev/null | col -b
  done >"$work/$lang.one"
  : >"$out"
  while [ "$(stat -c %s "$out")" -lt $((megabytes << 20)) ]; do cat "$work/$lang.one" >>"$out"; done
  echo "$out"
}

seconds() { bench_median 3 "$@"; }

throughput() {  # MB/s of create on a file
  local t size
  t=$(seconds "$new" create -q -f -o "$work/u.out" "$1")
  size=$(stat -c %s "$1")
  echo "scale=1; $size / 1048576 / $t" | bc
}

echo "== create, MB/s (the new build)"
echo "KJV (Windows-1252 rules): $(throughput "$work/kjv-x10.txt")"
for lang in pl ru zh_CN; do
  file=$(corpus "$lang" 40) || continue
  echo "$lang ($(($(stat -c %s "$file") >> 20)) MB): $(throughput "$file")"
done
file=$(corpus pl 100)
size=$(stat -c %s "$file")
kb=$(peak "$new" create -q -f -o "$work/u.out" "$file")
echo "== peak memory of create on $((size >> 20)) MB of Polish: $((kb >> 10)) MB" \
     "(target $(( (3 * size >> 20) + 40 )) MB)"
