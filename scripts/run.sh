#!/usr/bin/env bash
# Sets up, builds and starts the viewer on the bundled sample book.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)"
# Two-page mode, so the first spread shows at once; another path may be given.
exec build/release/bin/voxa /mode2 "${1:-build/release/sample/book}"
