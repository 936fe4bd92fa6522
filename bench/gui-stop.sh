#!/usr/bin/env bash
# How quickly the desktop window answers Stop during a run: starts a run of a corpus in
# the window (offscreen), presses Stop after each of several delays and prints when the
# press was seen and how long the run took to stop.
# Usage: bench/gui-stop.sh [CORPUS]      (default: kjv-x10.txt)
set -euo pipefail
cd "$(dirname "$0")/.."
corpus=${1:-kjv-x10.txt}
. bench/prepare.sh
bench_prepare quillmoor
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "bench/corpora/$corpus" "$work/"
for delay in 50 150 300 600 1000 1500 2500; do
  QT_QPA_PLATFORM=offscreen build/release/bin/quillmoor --measure-stop "$work/$corpus" "$delay" 2>&1 |
    grep 'stop pressed'
done
