#!/usr/bin/env bash
# Builds the benchmarks (Release, in build-bench/), writes the large installation once
# into a cache folder (kept for later runs), runs the benchmark program and writes
# bench/RESULTS.md: the machine, the date, each operation's median time, its ratio to the
# floor where there is one, and the peak memory of the run.
#
#   bash bench/run.sh [extra options for zentoria_bench, e.g. --benchmark_filter=Grid]
#
# Environment: ZT_BENCH_BUILD (build folder, default build-bench), ZT_BENCH_CACHE (the
# installation, default <build folder>/bench-data), ZT_BENCH_GENERATE (options for the
# generator when it writes the cache, e.g. "--hotels 5").
# Not a test: nothing here is run by scripts/test.sh or CI.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${ZT_BENCH_BUILD:-$root/build-bench}
cache=${ZT_BENCH_CACHE:-$build/bench-data}
results=$root/bench/RESULTS.md

if [ ! -f /usr/include/benchmark/benchmark.h ]; then
  echo "run.sh: Google Benchmark is missing; install libbenchmark-dev (bash scripts/setup.sh does)" >&2
  exit 1
fi

echo "run.sh: building (Release) in $build"
mkdir -p "$build"
log=$build/bench-build.log
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release > "$log" 2>&1 || { cat "$log"; exit 1; }
cmake --build "$build" -j"$(nproc)" --target zentoria_bench zentoria_bench_generate >> "$log" 2>&1 ||
  { tail -n 60 "$log"; exit 1; }

if [ -f "$cache/bench-data.txt" ]; then
  echo "run.sh: using the installation in $cache"
else
  echo "run.sh: writing the installation into $cache"
  # shellcheck disable=SC2086
  "$build/bench/zentoria_bench_generate" "$cache" --force ${ZT_BENCH_GENERATE:-}
fi

table=$(mktemp)
timing=$(mktemp)
trap 'rm -f "$table" "$timing"' EXIT
echo "run.sh: running the benchmark"
# Repetitions of the different operations are interleaved, so that a change in the
# machine's load during the run falls on the operations and their floors alike.
run=("$build/bench/zentoria_bench" --data "$cache" --results "$table" --benchmark_enable_random_interleaving=true)
# The Access test file, when there is one, for the image made with and without its indexes.
jet=${ZENTORIA_JET_FIXTURES:-$root/../shared/fixtures/jet}/nwind.mdb
[ -f "$jet" ] && run+=(--jet "$jet")
# The chain on a figure server of the benchmark's own, when PostgreSQL is installed.
if compgen -G "/usr/lib/postgresql/*/bin/postgres" > /dev/null || [ -n "${ZENTORIA_PG_BINDIR:-}" ]; then
  run+=(--server)
fi
run+=("$@")
if [ -x /usr/bin/time ]; then
  /usr/bin/time -v -o "$timing" "${run[@]}"
  peak_kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$timing")
  peak="$(( (peak_kb + 512) / 1024 )) MB (Maximum resident set size of the whole run, /usr/bin/time -v)"
else
  "${run[@]}"
  peak="$(sed -n 's/^Peak resident memory.*: //p' "$table") (getrusage of the benchmark process)"
fi

cpu=$(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)
mem_kb=$(awk '/^MemTotal/ {print $2}' /proc/meminfo)
sqlite=$(sqlite3 --version 2>/dev/null | cut -d' ' -f1 || true)
{
  echo "# Benchmark results"
  echo
  echo "Written by \`bash bench/run.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC')."
  echo
  echo "| machine | |"
  echo "|---|---|"
  echo "| processors (nproc) | $(nproc) |"
  echo "| CPU | ${cpu:-unknown} |"
  echo "| memory | $(( mem_kb / 1024 / 1024 )) GiB |"
  echo "| system | $(uname -sr) |"
  echo "| SQLite | ${sqlite:-unknown} |"
  echo
  echo "## The installation"
  echo
  echo "Written by \`zentoria_bench_generate\` (bench/generate.cpp) with the demo's table layouts:"
  echo
  echo '```'
  cat "$cache/bench-data.txt"
  echo '```'
  echo
  echo "Indexes: the demo's on every file, among them \`Dettaglio(NumeroHotel, Tipo, DataInserimento)\` and"
  echo "\`Zentoria(NumeroHotel, Tipo, Dettaglio, AnnoMese)\` and the date indexes of accounts, invoices and cards;"
  echo "on the operational files of the installation as written also \`Conto_Cliente(VoceAddebito, DataAddebito,"
  echo "Importo)\`, \`Incassi(DataEmissione, Nota, Importo)\`, \`Incassi(Sigla, DataEmissione)\`,"
  echo "\`DettaglioFattura(CodiceVoce, DataEmissione)\` and the departure dates of the guest cards. Two variants"
  echo "(\`variant-dates\`, \`variant-none\` beside the installation) hold the four account files and"
  echo "\`Fatture.mdb\` with only their date indexes, and with no index at all. No \`ANALYZE\`. The operations"
  echo "run on hotel 1; every operational row (charges, invoices, guest cards) lies in the benchmark year."
  echo
  echo "## Medians"
  echo
  echo "Wall-clock medians of the repetitions (Google Benchmark, repetitions interleaved), and the"
  echo "process's CPU time of the same repetitions: where the two part, the operation waited for the"
  echo "disk (the recompute commits each detail it writes to Zentoria.mdb with its syncs). The floor of the grid"
  echo "and the report is the same sums run straight through SQLite's C API on the same file: for each month"
  echo "the file opened, the statement prepared and stepped, the file closed, as the database layer does. The"
  echo "floor of a recompute reads each of its source files once through SQLite's C API, one grouped query per"
  echo "file, and writes nothing."
  echo
  sed '/^Peak resident memory/d' "$table"
  echo
  echo "Peak memory: $peak."
  echo
  echo "What is measured, the targets and the mends made for them: bench/README.md."
} > "$results"
# The Access installation at a real hotel's size (bench/access.sh): its section follows.
if [ "${ZT_BENCH_ACCESS:-1}" != 0 ]; then
  cmake --build "$build" -j"$(nproc)" --target zentoria zentoria_bench_mdbfloor >> "$log" 2>&1 ||
    { tail -n 60 "$log"; exit 1; }
  { echo; bash "$root/bench/access.sh" "$build"; } >> "$results"
fi
# The web pages alone and under load (bench/web_load.sh, needs wrk): their section follows.
if [ "${ZT_BENCH_WEB:-1}" != 0 ] && command -v wrk > /dev/null; then
  cmake --build "$build" -j"$(nproc)" --target zentoria >> "$log" 2>&1 || { tail -n 60 "$log"; exit 1; }
  bash "$root/bench/web_load.sh" "$build/src/app/zentoria" > /dev/null
  { echo; sed 's/^# The web pages under load/## The web pages under load/' "$root/bench/RESULTS-web.md"; } >> "$results"
fi
echo "run.sh: wrote $results"
cat "$results"
