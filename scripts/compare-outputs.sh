#!/usr/bin/env bash
# Compares what two builds of quillmoor-cli write, byte for byte: concordances (contexts
# 0, 1, 5 and 9; both orders; without frequencies or line breaks; as Windows text), word
# lists, search results, index files, kwic tables and the three analyses, on each
# document given (by default the bench's Bible and Devil's Dictionary and the test web
# page, .docx and UTF-8 text). The concordances' date lines are left out.
# usage: scripts/compare-outputs.sh OLD_CLI NEW_CLI [DOCUMENT...]
set -euo pipefail
[ $# -ge 2 ] || { echo "usage: $0 OLD_CLI NEW_CLI [DOCUMENT...]" >&2; exit 2; }
old=$(realpath "$1") new=$(realpath "$2")
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
docs=("$@")
[ ${#docs[@]} -gt 0 ] || docs=("$root/bench/corpora/kjv.txt" "$root/bench/corpora/devil.txt"
                               "$root/tests/data/page.html" "$root/tests/data/heron.docx"
                               "$root/tests/data/utf8.txt")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
runs=(
  "create -c 0" "create -c 1" "create" "create -c 9" "create --order freq -c 9"
  "create --no-frequencies" "create --no-line-breaks" "create --windows-text -c 3"
  "create --no-hyphens --numerals -m 2 -s none" "create --index"
  "wordlist" "wordlist --order freq -s all"
  "search -k 'lov* heart+break* the+lord g?d 1#'" "search --windows-text -c 9 -k 'vanit* w*'"
  "kwic --format tsv -k 'lov* the'" "kwic --sort R1,R2 --width 4 -k 'g*'"
  "collocates -k 'heart lord'" "collocates --measure ll --window 3L,3R -k the"
  "ngrams -n 3 -m 2" "dispersion -k 'lord vanity water' --svg plot.svg"
)
differ=0 count=0
for doc in "${docs[@]}"; do
  name=$(basename "$doc")
  for run in "${runs[@]}"; do
    for side in old new; do
      # Both run in the same folder: the files name their input's path.
      dir="$work/run"
      rm -rf "$dir" "$work/$side" && mkdir -p "$dir" && cp "$doc" "$dir/$name"
      bin=$old
      [ $side = new ] && bin=$new
      (set +e; cd "$dir" && eval "\"$bin\" $run -q -y \"$name\"" >stdout 2>stderr; echo "status $?" >>stderr)
      # The concordance's third line holds the time it was written.
      for f in "$dir"/*.con_*; do
        [ -e "$f" ] && sed -i '3s/: [0-9-]* [0-9:]*\r\?$/: DATE/' "$f"
      done
      mv "$dir" "$work/$side"
    done
    count=$((count + 1))
    if ! diff -r "$work/old" "$work/new" >"$work/diff"; then
      differ=$((differ + 1))
      echo "differs: $name: $run" >&2
      head -n 5 "$work/diff" >&2
    fi
  done
done
echo "compare-outputs: $((count - differ)) of $count runs alike"
[ $differ = 0 ]
