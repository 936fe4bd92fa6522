#!/usr/bin/env bash
# Saves pictures of the desktop program into doc/: the main window after making the
# concordance of the bundled sample document. Uses the offscreen platform, so no
# display is needed. Builds Release into build/release if needed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DQUILLMOOR_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)" --target quillmoor >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp data/samples/kjv-ruth-jonah-ecclesiastes.txt "$work/"
# The offscreen platform with a 1920 x 1080 screen (its default is 800 x 600).
cat > "$work/screen.json" <<'JSON'
{"screens": [{"name": "Wide", "x": 0, "y": 0, "width": 1920, "height": 1080,
  "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]}
JSON
export QT_QPA_PLATFORM="offscreen:configfile=$work/screen.json"
build/release/bin/quillmoor --screenshot doc/main-window.png "$work/kjv-ruth-jonah-ecclesiastes.txt" \
  2>/dev/null
build/release/bin/quillmoor --screenshot doc/search-window.png "$work/kjv-ruth-jonah-ecclesiastes.txt" \
  --search "vanit* labour+sun*" 2>/dev/null
build/release/bin/quillmoor --screenshot-help doc/help-window.png 2>/dev/null
build/release/bin/quillmoor --screenshot-settings doc/settings-window.png 2>/dev/null
echo "doc/main-window.png doc/search-window.png doc/help-window.png doc/settings-window.png"
