#!/usr/bin/env bash
# Times `quillmoor-cli create` (whole process: read, scan, list, write the concordance
# file) against GNU ptx and a KWIC over NLTK's ConcordanceIndex on the same corpora,
# and prints the ratios. Each program writes its output to a file that is removed
# (untimed) before every run, so neither pays for freeing the previous run's output.
# Median of RUNS runs (NLTK: one run on corpora over 10 MB); peak memory of one more.
# Usage: bench/create.sh [RUNS] [CORPUS...]     (default: 5 runs; small, kjv, kjv-x10,
#        kjv-x30; "small" is the first 3,000 bytes of KJV, timed over RUNS rounds of
#        40 runs of each program started directly, ours as installed)
# Options of the concordance: context 5, alphabetical, frequencies and line breaks
# shown, the English stop words (the defaults).
# Targets on the 2-core machine: kjv under 0.2 s, kjv-x10 under 2 s, kjv-x30 under 6 s
# with peak memory at most twice the input plus 40 MB; against ptx at least 10x (kjv),
# 18x (kjv-x10), 20x (kjv-x30), and no slower on the small file.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
shift || true
files=("$@")
[ ${#files[@]} -gt 0 ] || files=(small kjv.txt kjv-x10.txt kjv-x30.txt)
. bench/prepare.sh
bench_prepare quillmoor-cli quillmoor-spawn-bench
corpora_dir=$corpora
if ! /usr/bin/python3 -c 'import nltk' 2>/dev/null; then
  apt-get install -y -qq python3-nltk >/dev/null 2>&1 ||
    { apt-get update -qq >/dev/null; apt-get install -y -qq python3-nltk >/dev/null; }
fi
cli=$PWD/build/release/bin/quillmoor-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() {  # median N OUTPUT COMMAND...: N runs, OUTPUT removed before each
  local n=$1 out=$2 times=()
  shift 2
  for _ in $(seq "$n"); do
    local s e
    rm -f "$out"
    s=$(date +%s.%N); "$@" >/dev/null 2>&1; e=$(date +%s.%N)
    times+=("$(echo "$e - $s" | bc)")
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (n + 1) / 2 ))p"
}

small_file() {  # the 3,000-byte file: milliseconds per run, each program started directly
  local f=$work/small.txt q p out
  head -c 3000 "$corpora_dir/kjv.txt" > "$f"
  # The program as installed (bin/ and share/quillmoor/), as its users start it; rounds
  # of 40 runs of each, one after the other (the machine's load changes from minute to
  # minute), no shell in between: the medians of all runs.
  cmake --install build/release --prefix "$work/prefix" >/dev/null
  # Both programs' files dropped from the page cache and read again by a first, untimed
  # run: both as after a boot. (A file just written by the linker or the installer is
  # cached in other pieces, and a short run's page faults on it differ by 10%.)
  for program in "$work/prefix/bin/quillmoor-cli" "$(command -v ptx)"; do
    dd if="$program" iflag=nocache count=0 status=none
  done
  "$work/prefix/bin/quillmoor-cli" create -q -f -o "$f.con" "$f"
  ptx -f -w 80 "$f" > "$f.ptx"
  out=$(build/release/bin/quillmoor-spawn-bench "$runs" 40 \
    "$work/prefix/bin/quillmoor-cli create -q -f -o $f.con $f" "ptx -f -w 80 $f >$f.ptx")
  q=$(echo "$out" | awk 'NR == 1 {print $3 / 1000}')
  p=$(echo "$out" | awk 'NR == 2 {print $3 / 1000}')
  printf '%-12s %8.3fms %10s %8.3fms %10s %9sx\n' "small (3 KB)" "$q" - "$p" - "$(echo "scale=2; $p / $q" | bc)"
}

printf '%-12s %10s %10s %10s %10s %10s %8s\n' corpus quillmoor peak_MB ptx nltk "ptx/q" "best/q"
for f in "${files[@]}"; do
  if [ "$f" = small ]; then
    small_file
    continue
  fi
  cp "$corpora_dir/$f" "$work/$f"
  q=$(median "$runs" "$work/$f.con" "$cli" create -f -o "$work/$f.con" "$work/$f")
  rm -f "$work/$f.con"
  /usr/bin/time -f '%M' -o "$work/peak" "$cli" create -f -o "$work/$f.con" "$work/$f" >/dev/null 2>&1
  peak=$(( $(tail -1 "$work/peak") / 1024 ))
  p=$(median "$runs" "$work/$f.ptx" sh -c "ptx -f -w 80 '$work/$f' > '$work/$f.ptx'")
  # NLTK takes minutes on the larger corpora: one run there.
  nltk_runs=$runs
  [ "$(stat -c %s "$work/$f")" -gt 10000000 ] && nltk_runs=1
  n=$(median "$nltk_runs" "$work/$f.nltk" sh -c "/usr/bin/python3 bench/nltk_kwic.py '$work/$f' > '$work/$f.nltk'")
  best=$(echo "if ($p < $n) $p else $n" | bc)
  printf '%-12s %9.3fs %10d %9.3fs %9.3fs %9sx %7sx\n' "$f" "$q" "$peak" "$p" "$n" \
    "$(echo "scale=1; $p / $q" | bc)" "$(echo "scale=1; $best / $q" | bc)"
  rm -f "$work/$f"*
done
