#!/usr/bin/env bash
# Rewrites the golden concordance and search-results files in tests/data/golden/ with the current build
# (build/test). Read the differences before committing them: they are the test's
# expectations. The first header line (the input's path) and the date are left out.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=build/test/bin/quillmoor-cli
data=tests/data
golden=$data/golden
strip() {
  python3 -c '
import sys
lines = sys.stdin.buffer.read().split(b"\r\n")[1:]
k = next(i for i, l in enumerate(lines) if b"): " in l)  # the date line
lines[k] = lines[k][:lines[k].index(b"): ") + 3]
sys.stdout.buffer.write(b"\r\n".join(lines))'
}
make() {  # make NAME ARGS...
  local name=$1; shift
  "$cli" --output - "$@" 2>/dev/null | strip > "$golden/$name"
}
make river.a5.txt "$data/river.txt"
make river.f2.txt --order freq --context 2 --no-line-breaks --no-frequencies "$data/river.txt"
make river.a0.txt --context 0 --stop-words none --numerals "$data/river.txt"
make riviere.a3.txt --context 3 "$data/riviere.html"
make river.search.a5.txt search --keywords "riv* miller+said* ?at own*+cafe" "$data/river.txt"
make river.search.f0.txt search --order freq --context 0 --keywords-file "$data/keywords.txt" \
  "$data/river.txt"
make river.search.a2.txt search --context 2 --numerals --no-frequencies --keywords "18## the+bridge" \
  --keywords-file "$data/keywords.txt" "$data/river.txt"
make river.a9.txt --context 9 --min-frequency 2 --extra-stop-words "mill miller" "$data/river.txt"
