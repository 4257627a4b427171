#!/usr/bin/env bash
# Configures and builds into build/ (RelWithDebInfo). Shows the build's progress; the
# compiler's output goes to build.log, whose last lines are shown when a step fails.
set -euo pipefail
cd "$(dirname "$0")/.."
log="$PWD/build.log"
jobs=$(nproc)

fail() {
  echo "build: FAILED: $1" >&2
  echo "build: last lines of $log:" >&2
  tail -n 40 "$log" >&2
  echo "build: the whole log is $log" >&2
  exit 1
}

: > "$log"
echo "build: [1/2] configuring into build/"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >> "$log" 2>&1 || fail "configuring (cmake)"
echo "build: [2/2] compiling with $jobs jobs"
# make's own "[ 45%]" marks, shown at each step of 5%.
set +o pipefail
cmake --build build -j"$jobs" 2>&1 | tee -a "$log" | awk '
  match($0, /^\[ *[0-9]+%\]/) {
    pct = substr($0, 2, RLENGTH - 3) + 0
    if (pct >= shown + 5 || (pct == 100 && shown < 100)) {
      shown = pct - pct % 5
      what = $0; sub(/^\[ *[0-9]+%\] /, "", what)
      printf "build: %3d%% %s\n", pct, what; fflush()
    }
  }'
status=${PIPESTATUS[0]}
set -o pipefail
[ "$status" -eq 0 ] || fail "compiling"
echo "build: done (build/src/app/zentoria)"
