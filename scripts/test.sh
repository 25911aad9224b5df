#!/usr/bin/env bash
# Sets up, builds and runs every test: the Release build (with benchmarks and
# tools), the same suite under AddressSanitizer + UndefinedBehaviorSanitizer,
# and each fuzz target for a few seconds.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$jobs"
ctest --test-dir build/release -j "$jobs" --output-on-failure

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVOXA_SANITIZE=ON \
  -DVOXA_BUILD_BENCH=OFF >/dev/null
cmake --build build/asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build/asan -j "$jobs" --output-on-failure

scripts/fuzz.sh "${VOXA_FUZZ_SECONDS:-5}"
