#!/usr/bin/env bash
# Builds the Debian package orvane-zozivi_VERSION_ARCH.deb with CPack into
# BUILD/package/ (BUILD is build/ unless given), and prints its path. Its
# dependencies are the packages of the shared libraries the programs link, as
# dpkg-shlibdeps finds them. Install it with
#   apt-get install ./build/package/orvane-zozivi_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

build=${1:-build}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/package/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/package/*.deb
