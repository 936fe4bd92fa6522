#!/usr/bin/env bash
# Checks the house style and the layering of the sources, builds Quillmoor with
# AddressSanitizer and UndefinedBehaviorSanitizer (warnings are errors) and runs every
# test, builds the Debian packages and checks them with lintian, then runs each fuzz
# target for QUILLMOOR_FUZZ_SECONDS seconds (15; 0 skips).
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
# The Debian packages, built as the distribution builds them (their tests ran above; no
# debug information, no debug-symbol packages) and checked by lintian: an error or a
# warning fails.
DEB_CXXFLAGS_STRIP=-g DEB_BUILD_OPTIONS="nocheck noddebs" scripts/build-deb.sh build/deb
fuzz_seconds=${QUILLMOOR_FUZZ_SECONDS:-15}
if [ "$fuzz_seconds" -gt 0 ]; then
  fuzz/run.sh "$fuzz_seconds"
fi
