#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number of
# seconds (default 5) on the seed corpus that its seed writer generates. Any
# finding of AddressSanitizer or UndefinedBehaviorSanitizer ends the run.
#   scripts/fuzz.sh 600     runs every target for ten minutes
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-5}
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVOXA_FUZZ=ON -DVOXA_BUILD_TESTS=OFF -DVOXA_BUILD_BENCH=OFF -DVOXA_BUILD_APP=OFF >/dev/null
cmake --build build/fuzz -j "$(nproc)"
shopt -s nullglob
targets=(build/fuzz/fuzz/fuzz_*)
for target in "${targets[@]}"; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus=build/fuzz/corpus/$name
  rm -rf "$corpus" && mkdir -p "$corpus"
  "build/fuzz/fuzz/seeds_${name#fuzz_}" "$corpus"
  echo "fuzz: $name for ${seconds}s"
  UBSAN_OPTIONS=print_stacktrace=1 \
    "$target" -max_total_time="$seconds" -rss_limit_mb=4096 -print_final_stats=0 "$corpus" \
    2>build/fuzz/$name.log || { tail -50 build/fuzz/$name.log; exit 1; }
done
echo "fuzz: ${#targets[@]} targets ran clean"
