#!/usr/bin/env bash
# Builds Quillmoor (Release, in build/release) and runs it: the desktop program where a
# display exists (arguments go to it: ./run.sh book.txt), otherwise a short
# demonstration of the command line on the bundled sample document. The build log
# goes to build/release-build.log and is shown only when the build fails.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
mkdir -p build
log=build/release-build.log
echo "Building Quillmoor (Release) in build/release; the log is in $log ..."
if ! { cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DQUILLMOOR_BUILD_TESTS=OFF &&
       cmake --build build/release -j "$(nproc)"; } >"$log" 2>&1; then
  tail -n 30 "$log" >&2
  echo "The build failed; the whole log is in $log" >&2
  exit 1
fi
bin=build/release/bin
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "$bin/quillmoor" "$@"
fi

# No display: the command line on a copy of the sample (the repository stays clean).
sample=data/samples/kjv-ruth-jonah-ecclesiastes.txt
demo=build/demo
mkdir -p "$demo"
cp "$sample" "$demo/"
doc="$demo/$(basename "$sample")"
concordance="$doc.oxn.con_a5.txt"
if ! "$bin/quillmoor-cli" -q create --overwrite "$doc" ||
   ! "$bin/quillmoor-cli" wordlist --order freq "$doc" >"$demo/words.txt" 2>"$demo/counts.txt"; then
  exit 1
fi
echo
echo "No display found, so here is the command line (quillmoor-cli) instead."
echo "Document:     $sample (three books of the King James Bible)"
echo "Counts:       $(awk '/^(Words|Occurrences): / { printf "%s%s", sep, $0; sep = ", " }' "$demo/counts.txt")"
echo "Concordance:  $concordance ($(stat -c %s "$concordance") bytes)"
echo
echo "Its first entries:"
awk 'NR >= 5 && NR <= 13 { print "  " $0 }' "$concordance"
echo
echo "The most frequent words: $(awk -F '\t' 'NR <= 6 { printf "%s%s (%s)", sep, $1, $2; sep = ", " }' \
                                 "$demo/words.txt")"
echo "Collocates of \"vanity\" (logDice): $("$bin/quillmoor-cli" collocates -q -k vanity --format tsv "$doc" |
                                     awk -F '\t' 'NR >= 2 && NR <= 6 { printf "%s%s", sep, $1; sep = ", " }')"
echo
echo "Try next (your own documents: text, HTML, XML or .docx):"
echo "  $bin/quillmoor-cli --help"
echo "  $bin/quillmoor-cli book.txt                        # book.txt.oxn.con_a5.txt beside it"
echo "  $bin/quillmoor-cli wordlist --order freq book.txt | head"
echo "  $bin/quillmoor-cli search -k 'lov* heart+break*' book.txt"
echo "  $bin/quillmoor-cli collocates -k heart book.txt             # also ngrams, dispersion"
echo "  man ./doc/man/quillmoor-cli.1"
echo "On a machine with a display ./run.sh opens the window."
