#!/usr/bin/env bash
# Sets up, builds and runs every test through CTest, then each fuzz target for a
# bounded time (ZENTORIA_FUZZ_SECONDS, default 30; 0 skips them) when clang is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
echo "test: running the tests through CTest ($(nproc) at a time)"
cd build
ctest --output-on-failure -j"$(nproc)"
cd ..
bash fuzz/run.sh "${ZENTORIA_FUZZ_SECONDS:-30}" build/fuzz
