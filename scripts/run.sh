#!/usr/bin/env bash
# Builds the program. With a display it starts the desktop program; without
# one it builds the example frames into out/ with the command line.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/bin/orvane-zozivi ]; then
  exec build/bin/orvane-zozivi
fi
mkdir -p out
build/bin/orvane-zozivi-cli --sheet out/walk.png --layout sheet --columns 4 examples/frames
