#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build/fuzz) and runs each (or each TARGET
# named) for SECONDS seconds (15 when not given), as many at a time as there are processors, on its
# seed corpus (fuzz/seeds/TARGET) and what earlier runs found (build/fuzz/corpus).
# Prints the executions of each target; fails when any target fails, naming the
# input it saved in build/fuzz/crashes.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-15}
case "$seconds" in ''|*[!0-9]*) echo "usage: fuzz/run.sh [SECONDS [TARGET...]]" >&2; exit 2 ;; esac
build=build/fuzz
targets=(text_checks markup docx_runs unzip index_body settings_file word_list keyword_query
         wildcard context_line utf8_decode analyses unicode_words rtf_text document_archives
         corpus_index kept_text query_parse query_match)
if [ $# -gt 1 ]; then targets=("${@:2}"); fi

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLMOOR_FUZZ=ON \
  -DQUILLMOOR_BUILD_GUI=OFF -DQUILLMOOR_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/#/fuzz_}" >/dev/null

mkdir -p "$build/logs" "$build/crashes"
run_one() {
  local target=$1 seconds=$2 build=$3
  mkdir -p "$build/corpus/$target"
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 \
    -rss_limit_mb=2048 -artifact_prefix="$build/crashes/$target-" \
    "$build/corpus/$target" "fuzz/seeds/$target" >"$build/logs/$target.log" 2>&1
}
export -f run_one
status=0
printf '%s\n' "${targets[@]}" | xargs -P "$(nproc)" -I{} bash -c 'run_one "$@"' _ {} "$seconds" "$build" || status=1
for target in "${targets[@]}"; do
  log="$build/logs/$target.log"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if grep -qE '^==[0-9]+==ERROR|^SUMMARY:|fuzz check failed|deadly signal|Test unit written' "$log"; then
    echo "$target: FAILED after ${runs:-?} executions"
    grep -E 'ERROR|SUMMARY|fuzz check failed|Test unit written' "$log" | head -5
    status=1
  else
    printf '%-14s %12s executions in %ss\n' "$target" "${runs:-?}" "$seconds"
  fi
done
exit $status
