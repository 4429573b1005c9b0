#!/usr/bin/env bash
# Builds everything and runs every test: once as released, with warnings as
# errors; then the install into a temporary DESTDIR and the Debian package;
# then bounded fuzz runs of the settings reader, the frame decoder, the
# template expansion and the deflate join's reader; then every test again with
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
# it finds, and any failing input, in the build folder, so the seeds stay as
# committed. An input that runs for more than 10 seconds counts as a failure.
CXX=clang++ cmake -S . -B build-fuzz -DOZ_FUZZ=ON -DOZ_GUI=OFF -DOZ_BENCH=OFF -DOZ_WERROR=ON >/dev/null
cmake --build build-fuzz --target settings_fuzz png_decode_fuzz template_fuzz deflate_join_fuzz -j"$jobs"
fuzz() {
  local target=$1 seconds=$2
  shift 2
  mkdir -p "build-fuzz/corpus/$target"
  if ! "build-fuzz/bin/$target" -max_total_time="$seconds" -timeout=10 -artifact_prefix=build-fuzz/ \
      "build-fuzz/corpus/$target" "$@" \
      >"build-fuzz/$target.log" 2>&1; then
    tail -n 60 "build-fuzz/$target.log"
    exit 1
  fi
  echo "$target: $(grep -o 'Done [0-9]* runs' "build-fuzz/$target.log" | tail -n 1), no crash"
}
fuzz settings_fuzz 60 fuzz/corpus/settings
fuzz png_decode_fuzz 30 testdata/pngsuite
fuzz template_fuzz 30 fuzz/corpus/template
fuzz deflate_join_fuzz 30 fuzz/corpus/deflate_join

# Last, every test again under the sanitizers.
cmake -S . -B build-asan -DOZ_WERROR=ON -DOZ_SANITIZE=ON -DOZ_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-asan --output-on-failure -j"$jobs"
