#!/usr/bin/env bash
# Sets up, builds, writes the demo working folder demo/ and shows it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
./build/src/app/zentoria demo demo --force
./build/src/app/zentoria --dir demo
