#!/usr/bin/env bash
# The layering check on small trees: it passes a tree that keeps its layers and fails,
# naming the include, on a wrong include, a cycle in the layers file and a folder
# without a layer.
set -euo pipefail
check="$1"
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/doc" "$tree/src/shared" "$tree/src/engine"
printf 'shared:\nengine: shared\n' >"$tree/doc/layers.txt"
printf '#include "shared/A.h"\n' >"$tree/src/engine/B.h"
printf '#include <string>\n' >"$tree/src/shared/A.h"
fail() { echo "check-layers-test: $*" >&2; exit 1; }
expect() {  # expect STATUS TEXT: the check exits STATUS and says TEXT on stderr
  local status=0
  python3 "$check" --root "$tree" 2>"$tree/err" >/dev/null || status=$?
  [ "$status" = "$1" ] || fail "exit $status, not $1: $(cat "$tree/err")"
  [ -z "$2" ] || grep -qF -- "$2" "$tree/err" || fail "no \"$2\" in: $(cat "$tree/err")"
}
expect 0 ""
printf '#include "engine/B.h"\n' >>"$tree/src/shared/A.h"
expect 1 'src/shared/A.h:2: includes engine/B.h, but shared may include only its own'
printf '#include <string>\n' >"$tree/src/shared/A.h"
printf 'shared: engine\nengine: shared\n' >"$tree/doc/layers.txt"
expect 1 'shared may not include engine: it names no layer below it'
printf 'shared:\nengine: shared\n' >"$tree/doc/layers.txt"
mkdir -p "$tree/src/extra" && printf '\n' >"$tree/src/extra/C.h"
expect 1 'the folder extra has no layer'
echo "check-layers-test: 4 cases passed"
