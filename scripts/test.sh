#!/usr/bin/env bash
# Builds everything and runs every test: once as released, with warnings as
# errors; then the install into a temporary DESTDIR and the Debian package;
# then a bounded fuzz run of the settings reader; then every test again with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -DOZ_WERROR=ON >/dev/null
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$jobs"
bash scripts/check-install.sh build

# Fuzzing, bounded: each target starts from its committed seeds and keeps what
# it finds in the build folder, so the seeds stay as committed.
CXX=clang++ cmake -S . -B build-fuzz -DOZ_FUZZ=ON -DOZ_GUI=OFF -DOZ_BENCH=OFF -DOZ_WERROR=ON >/dev/null
cmake --build build-fuzz --target settings_fuzz -j"$jobs"
mkdir -p build-fuzz/corpus/settings
if ! build-fuzz/bin/settings_fuzz -max_total_time=60 build-fuzz/corpus/settings fuzz/corpus/settings \
    >build-fuzz/settings_fuzz.log 2>&1; then
  tail -n 60 build-fuzz/settings_fuzz.log
  exit 1
fi
echo "settings_fuzz: $(grep -o 'Done [0-9]* runs' build-fuzz/settings_fuzz.log | tail -n 1), no crash"

# Last, every test again under the sanitizers.
cmake -S . -B build-asan -DOZ_WERROR=ON -DOZ_SANITIZE=ON -DOZ_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-asan --output-on-failure -j"$jobs"
