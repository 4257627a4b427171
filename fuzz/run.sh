#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (fuzz/CMakeLists.txt) and runs each of them for
# a bounded time from its seed corpus in fuzz/corpus/<target>/.
#
#   fuzz/run.sh [SECONDS] [BUILD_DIR] [TARGET...]
#
# SECONDS per target (default 30; 0 skips the fuzzing); BUILD_DIR for the fuzz build
# (default build/fuzz); TARGETs (default all five). fuzz/<target>.dict, when there is
# one, is the fuzzer's dictionary of words. New inputs the fuzzer finds go to
# BUILD_DIR/corpus/<target>, never into the seed corpus; a crash, a hang or a leak
# leaves its input in BUILD_DIR/artifacts/ and makes the script fail. Without clang++
# or the libFuzzer runtime the script says so and does nothing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-30}"
build="${2:-$root/build/fuzz}"
shift $(( $# > 2 ? 2 : $# ))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(jet_sql_fuzz passwd_line_fuzz month_field_fuzz report_reader_fuzz file_names_fuzz)

if [ "$seconds" = 0 ]; then
  echo "fuzz: skipped: 0 seconds asked"
  exit 0
fi
if ! command -v clang++ > /dev/null || ! command -v clang > /dev/null; then
  echo "fuzz: skipped: clang++ is not installed (apt-get install clang libclang-rt-14-dev)"
  exit 0
fi
if ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
     clang++ -x c++ -fsanitize=fuzzer - -o /dev/null > /dev/null 2>&1; then
  echo "fuzz: skipped: clang++ has no libFuzzer runtime (apt-get install libclang-rt-14-dev)"
  exit 0
fi

mkdir -p "$build"
CC=clang CXX=clang++ cmake -S "$root/fuzz" -B "$build" -G "Unix Makefiles" > "$build/configure.log" 2>&1 ||
  { cat "$build/configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" > "$build/build.log" 2>&1 ||
  { tail -n 60 "$build/build.log"; exit 1; }

status=0
for t in "${targets[@]}"; do
  mkdir -p "$build/corpus/$t" "$build/artifacts"
  log="$build/$t.log"
  dict=()
  [ -f "$root/fuzz/$t.dict" ] && dict=(-dict="$root/fuzz/$t.dict")
  # The report reader parses, exports and reads back every input three times over:
  # inputs of a report page or two (2 KB) keep it above 1,000 runs a second.
  max_len=8192
  [ "$t" = report_reader_fuzz ] && max_len=2048
  # -timeout: one input taking more than 10 s is a hang; -rss_limit_mb: 2 GB is a leak.
  if "$build/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$max_len" \
       -print_final_stats=1 -artifact_prefix="$build/artifacts/$t-" "${dict[@]}" \
       "$build/corpus/$t" "$root/fuzz/corpus/$t" > "$log" 2>&1; then
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
    echo "fuzz: $t: $runs runs in ${seconds} s ($(( runs / seconds )) a second), no failure"
  else
    echo "fuzz: $t FAILED (log: $log)"
    grep -E 'ERROR|SUMMARY|_fuzz: |Test unit written' "$log" | head -n 20 || true
    status=1
  fi
done
exit $status
