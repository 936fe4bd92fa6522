#!/usr/bin/env bash
# Times the index file against the scan it replaces (quillmoor-index-bench, medians of
# RUNS runs): scanning the document into the word table, writing the index, reading
# it back, and loading it with the document text as choosing the input does.
# Usage: bench/index.sh [RUNS]      (builds Release into build/release)
# Targets on the 2-core machine: writing and reading the index of kjv.txt well under
# 1 s each; reading much faster than scanning.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
. bench/prepare.sh
bench_prepare quillmoor-index-bench
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for f in kjv.txt kjv-x10.txt devil.txt; do
  cp "$corpora/$f" "$work/"
  build/release/bin/quillmoor-index-bench "$work/$f" "$runs"
done
