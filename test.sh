#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, then the core
# tests once more under AddressSanitizer and UndefinedBehaviorSanitizer, and a
# short fuzzing run of the journal reader and the text parsers.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps

jobs=$(nproc)

cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$jobs"

# Core tests under the sanitizers (no Qt: quick to build).
cmake -S . -B build-asan -G Ninja -DZPH_BUILD_APP=OFF -DZPH_BUILD_BENCH=OFF -DZPH_SANITIZE=ON \
  -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j "$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$jobs" >/tmp/zph-asan-ctest.log 2>&1) || {
  cat /tmp/zph-asan-ctest.log
  echo "core tests failed under the sanitizers" >&2
  exit 1
}
grep -E "tests passed" /tmp/zph-asan-ctest.log | sed "s/^/sanitizer build: /"

# A short fuzzing run of every fuzz target, from the seed corpus.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZPH_BUILD_APP=OFF -DZPH_BUILD_BENCH=OFF \
  -DZPH_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j "$jobs"
for target in build-fuzz/fuzz/*_fuzz; do
  name=$(basename "$target")
  work=$(mktemp -d)
  cp -r "fuzz/corpus/$name/." "$work/" 2>/dev/null || true
  "$target" -max_total_time="${ZPH_FUZZ_SECONDS:-20}" -print_final_stats=1 "$work" \
    >"/tmp/zph-$name.log" 2>&1 || { cat "/tmp/zph-$name.log"; echo "$name found a fault" >&2; exit 1; }
  grep -E 'stat::number_of_executed_units' "/tmp/zph-$name.log" | sed "s/^/$name: /"
  rm -rf "$work"
done

# Everything, last, so that ctest's summary line closes the output.
cd build
ctest --output-on-failure -j "$jobs"
