#!/usr/bin/env bash
# Sets up, builds and starts the viewer on the bundled sample book.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$(nproc)"
if [ -x build/release/bin/voxa ]; then
  exec build/release/bin/voxa /mode2 "${1:-build/release/sample/book}"
fi
echo "run: the viewer is not built yet; the libraries, plug-ins and tests are."
echo "run: running the test suite of what exists instead."
exec ctest --test-dir build/release -j "$(nproc)" --output-on-failure
