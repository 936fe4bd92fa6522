#!/usr/bin/env bash
# Installs the Debian packages Quillmoor builds and tests with, when any is missing.
set -euo pipefail
packages=(cmake g++ pkg-config qt6-base-dev libqt6svg6 libzip-dev zlib1g-dev libssl-dev libgtest-dev
          libpoppler-cpp-dev libpcre2-dev
          libicu-dev fonts-noto-core fonts-noto-cjk
          fonts-liberation2)
# The validators of the desktop file and the software-centre metadata, and Python for
# parsing the exports back (tests).
packages+=(desktop-file-utils appstream python3)
# PDF documents for the tests: cairo draws them, qpdf protects one with a password.
packages+=(python3-cairo qpdf)
# clang with its libFuzzer runtime, for the fuzz targets (fuzz/run.sh).
packages+=(clang libclang-rt-dev)
# The formatter of the house style (scripts/check-format.sh).
packages+=(clang-format)
# The Debian package build and its checker (scripts/build-deb.sh).
packages+=(debhelper dpkg-dev fakeroot lintian pkgconf)
[ "${QUILLMOOR_WITH_XVFB:-0}" = 1 ] && packages+=(xvfb)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing the Debian packages Quillmoor needs (apt-get; a few minutes): ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
