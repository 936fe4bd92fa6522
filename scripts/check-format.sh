#!/usr/bin/env bash
# Fails, naming the files, when a C++ file under src/ or tests/ is not as clang-format
# (.clang-format: Google style, 100 columns) would write it. --fix rewrites them.
set -euo pipefail
cd "$(dirname "$0")/.."
fix=0
[ "${1:-}" = --fix ] && fix=1
mapfile -t files < <(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h')
bad=()
for f in "${files[@]}"; do
  if [ $fix = 1 ]; then
    clang-format -i "$f"
  elif ! clang-format --dry-run --Werror "$f" 2>/dev/null; then
    bad+=("$f")
  fi
done
if [ ${#bad[@]} -gt 0 ]; then
  echo "check-format: not in the house style (scripts/check-format.sh --fix rewrites them):" >&2
  printf '  %s\n' "${bad[@]}" >&2
  exit 1
fi
echo "check-format: ${#files[@]} files in the house style"
