#!/usr/bin/env bash
# Checks the house style and the layering of the sources, builds Quillmoor with
# AddressSanitizer and UndefinedBehaviorSanitizer (warnings are errors) and runs every
# test, then runs each fuzz target for QUILLMOOR_FUZZ_SECONDS seconds (15; 0 skips).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/check-format.sh
python3 scripts/check-layers.py
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Debug -DQUILLMOOR_SANITIZE=ON -DQUILLMOOR_WERROR=ON >/dev/null
cmake --build build/test -j "$(nproc)"
# The benchmark programs are built only on request: built here, so that they keep compiling.
cmake --build build/test -j "$(nproc)" --target quillmoor-index-bench quillmoor-explore-bench \
  quillmoor-analyses-bench quillmoor-spawn-bench
(cd build/test && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")
fuzz_seconds=${QUILLMOOR_FUZZ_SECONDS:-15}
if [ "$fuzz_seconds" -gt 0 ]; then
  fuzz/run.sh "$fuzz_seconds"
fi
