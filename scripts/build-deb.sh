#!/usr/bin/env bash
# Builds the Debian packages quillmoor and quillmoor-cli from this tree (its files as
# they are, committed or not) and checks them with lintian.
# Usage: scripts/build-deb.sh [OUT_DIR]   (default dist/; the .deb, .buildinfo and
#        .changes files are written there, the build's output as build.log and
#        lintian's report as lintian.txt)
# DEB_BUILD_OPTIONS=nocheck (the default here) leaves the tests out of the build; set
# DEB_BUILD_OPTIONS= to run them. What the build needs is installed first (apt-get). Fails when the build fails or lintian reports an error
# or a warning.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-dist}")
export DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS-nocheck}
needed=(debhelper dpkg-dev fakeroot lintian pkgconf)
missing=()
for p in "${needed[@]}"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing what the package build needs: ${missing[*]}"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi
# The build dependencies of debian/control, when some are missing.
if ! dpkg-checkbuilddeps >/dev/null 2>&1; then
  echo "Installing the build dependencies of debian/control"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get build-dep -y -qq ./ >/dev/null
fi
version=$(dpkg-parsechangelog -S Version)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The tree's files, without the build folders and whatever git ignores.
src=$work/quillmoor-$version
mkdir -p "$src"
git ls-files -z --cached --others --exclude-standard | grep -zv '^build/\|^dist/' |
  while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
  xargs -0 cp --parents -t "$src"
mkdir -p "$out"
echo "Building the packages (dpkg-buildpackage; its output in $out/build.log)"
if ! (cd "$src" && dpkg-buildpackage -us -uc -b -j"$(nproc)") >"$out/build.log" 2>&1; then
  tail -n 40 "$out/build.log"
  echo "scripts/build-deb.sh: the package build failed (all of its output: $out/build.log)" >&2
  exit 1
fi
for f in "$work"/*.deb "$work"/*.buildinfo "$work"/*.changes; do
  [ -e "$f" ] && mv "$f" "$out/"
done
changes=$out/quillmoor_${version}_$(dpkg-architecture -qDEB_HOST_ARCH).changes
echo "The packages:"
(cd "$out" && ls -l ./*.deb)
lintian --fail-on error,warning --info "$changes" | tee "$out/lintian.txt"
echo "lintian: no error, no warning"
