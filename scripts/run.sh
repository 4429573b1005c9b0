#!/usr/bin/env bash
# Builds the program. With a display it starts the desktop program; without
# one it builds the example frames into out/ with the command line: the sheet
# out/walk.png and beside it out/walk.json, expanded from the gallery's
# "JSON Hash" template, the data Phaser 3 and PixiJS load with it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

cmake -S . -B build >/dev/null
cmake --build build -j"$(nproc)"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/bin/orvane-zozivi ]; then
  exec build/bin/orvane-zozivi
fi
out=$PWD/out
mkdir -p "$out"
build/bin/orvane-zozivi-cli --sheet "$out/walk.png" --layout sheet --columns 4 \
  --script "templates/JSON Hash.txt" --data "$out/walk.json" examples/frames
echo "Wrote $out/walk.json from the gallery's \"JSON Hash\" template."
