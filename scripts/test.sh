#!/usr/bin/env bash
# Builds everything and runs every test: once as released, with warnings as
# errors, and once with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -DOZ_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"

cmake -S . -B build-asan -DOZ_WERROR=ON -DOZ_SANITIZE=ON -DOZ_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-asan --output-on-failure -j"$jobs"

# Fuzzing, bounded: each target starts from its committed seeds and keeps what
# it finds in the build folder, so the seeds stay as committed.
CXX=clang++ cmake -S . -B build-fuzz -DOZ_FUZZ=ON -DOZ_GUI=OFF -DOZ_BENCH=OFF -DOZ_WERROR=ON >/dev/null
cmake --build build-fuzz --target settings_fuzz -j"$jobs"
mkdir -p build-fuzz/corpus/settings
build-fuzz/bin/settings_fuzz -max_total_time=60 build-fuzz/corpus/settings fuzz/corpus/settings
