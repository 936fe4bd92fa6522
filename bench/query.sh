#!/usr/bin/env bash
# The query language: its word patterns over a lexicon of TYPES words (one million
# unless given), in process, the median of RUNS runs each.
# Usage: bench/query.sh [TYPES [RUNS]]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)" --target quillmoor-query-bench >/dev/null
build/release/bin/quillmoor-query-bench "${1:-1000000}" "${2:-5}"
