#!/usr/bin/env bash
# Saves pictures of the desktop program into doc/: the main window after making the
# concordance of the bundled sample document, a search, the help window, the settings
# window, the concordance explorer (sorted by R1 and R2), its collocates tab and a
# dispersion plot. Uses the offscreen platform, so no display is needed. Builds
# Release into build/release if needed.
#
# The pictures show neutral paths, never this machine's: inside a private mount
# namespace (unshare) /opt and /home are empty folders of their own, the program is
# installed in /opt/quillmoor and the sample lies in /home/reader/Documents.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ "${1:-}" != --inside ]; then
  scripts/install-deps.sh
  cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DQUILLMOOR_BUILD_TESTS=OFF >/dev/null
  cmake --build build/release -j "$(nproc)" >/dev/null
  stage=$(mktemp -d /tmp/quillmoor-shots-XXXXXX)
  trap 'rm -rf "$stage"' EXIT
  cmake --install build/release --prefix "$stage/install" >/dev/null
  cp data/samples/kjv-ruth-jonah-ecclesiastes.txt "$stage/"
  unshare --map-root-user --mount "$0" --inside "$stage"
  cp "$stage"/png/*.png doc/
  echo "doc/main-window.png doc/search-window.png doc/help-window.png doc/settings-window.png" \
       "doc/explorer-window.png doc/explorer-collocates.png doc/dispersion-plot.png"
  exit 0
fi

# Inside the namespace.
stage=$2
mount -t tmpfs tmpfs /opt
mount -t tmpfs tmpfs /home
cp -a "$stage/install" /opt/quillmoor
export HOME=/home/reader
export XDG_CONFIG_HOME=$HOME/.config XDG_RUNTIME_DIR=$HOME/.runtime
mkdir -p "$HOME/Documents" "$XDG_RUNTIME_DIR" "$stage/png"
chmod 700 "$XDG_RUNTIME_DIR"
cp "$stage/kjv-ruth-jonah-ecclesiastes.txt" "$HOME/Documents/"
sample=$HOME/Documents/kjv-ruth-jonah-ecclesiastes.txt
# The offscreen platform with a 1920 x 1080 screen (its default is 800 x 600).
cat > "$HOME/screen.json" <<'JSON'
{"screens": [{"name": "Wide", "x": 0, "y": 0, "width": 1920, "height": 1080,
  "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]}
JSON
export QT_QPA_PLATFORM="offscreen:configfile=$HOME/screen.json" QT_LOGGING_RULES="default.warning=false"
cd "$HOME"
program=/opt/quillmoor/bin/quillmoor
"$program" --screenshot "$stage/png/main-window.png" "$sample"
"$program" --screenshot "$stage/png/search-window.png" "$sample" --search "vanit* labour+sun*"
"$program" --screenshot-help "$stage/png/help-window.png"
"$program" --screenshot-settings "$stage/png/settings-window.png"
"$program" --screenshot-explorer "$stage/png/explorer-window.png" "$sample" "vanit*"
"$program" --screenshot-explorer "$stage/png/explorer-collocates.png" "$sample" "vanit*" --tab 1
# The dispersion plot as the command line draws it (the explorer's tab draws the same).
/opt/quillmoor/bin/quillmoor-cli dispersion -q -k "ruth boaz jonah vanity" -o /dev/null \
  --png "$stage/png/dispersion-plot.png" "$sample"
