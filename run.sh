#!/usr/bin/env bash
# Builds Quillmoor (Release) and runs it: the desktop program where a display exists,
# otherwise the command line on the bundled sample document.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DQUILLMOOR_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/release/bin/quillmoor "$@"
fi
sample=data/samples/kjv-ruth-jonah-ecclesiastes.txt
echo "No display: the command line makes the concordance of $sample" >&2
exec build/release/bin/quillmoor-cli --output - "$sample"
