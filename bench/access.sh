#!/usr/bin/env bash
# The Access installation at a real hotel's size: ten years of account, invoice and
# guest-card history as Access (Jet 4) files of more than 1 GB in all, read by the program
# as it comes from Windows. Prints a Markdown section of bench/RESULTS.md (bench/run.sh
# appends it; ZT_BENCH_ACCESS=0 there skips it).
#
#   bash bench/access.sh BUILD_DIR
#
# The installation is written once into BUILD_DIR/bench-access (kept for later runs): the
# SQLite installation (zentoria_bench_generate, one hotel, --history-years 10 --wide,
# sizes from ZT_BENCH_ACCESS_GENERATE), then the same installation as Access files (the
# same generator with --access: it writes the same rows). Measured, each as one run of the program's command with
# /usr/bin/time (wall time, peak resident memory of the command and of the reading
# process it starts):
#   - the floor: libmdb's own sequential read of every Access file (zentoria_bench_mdbfloor);
#   - the first grid load and "&Aggiorna" of the four statistics with an empty image cache,
#     where the images are made;
#   - the same again, from the kept images (median of three);
#   - the same on the SQLite installation of the same content (median of three).
set -euo pipefail
build=$(cd "${1:?usage: access.sh BUILD_DIR}" && pwd)
data=$build/bench-access
zentoria=$build/src/app/zentoria
sizes=${ZT_BENCH_ACCESS_GENERATE:---account-rows 2500000 --receipts 1200000 --cards 400000}
year=2024

log() { echo "access.sh: $*" >&2; }

if [ ! -f "$data/access/bench-data.txt" ]; then
  rm -rf "$data"
  mkdir -p "$data"
  log "writing the SQLite installation ($sizes)"
  # shellcheck disable=SC2086
  "$build/bench/zentoria_bench_generate" "$data/sqlite" --hotels 1 --years 10 --last-year $year \
    --history-years 10 --wide $sizes >&2
  log "writing it as Access files"
  # shellcheck disable=SC2086
  "$build/bench/zentoria_bench_generate" "$data/access" --hotels 1 --years 10 --last-year $year \
    --history-years 10 --wide --access $sizes >&2
fi
# The Jet 4 writer writes no indexes, so neither do the Access files hold any, nor their
# images: the fair comparison is the SQLite installation without its indexes too.
if [ ! -f "$data/sqlite-noindex/bench-data.txt" ]; then
  log "copying the SQLite installation without its indexes"
  rm -rf "$data/sqlite-noindex.partial"
  cp -r "$data/sqlite" "$data/sqlite-noindex.partial"
  for f in "$data/sqlite-noindex.partial"/*.mdb; do
    sqlite3 "$f" "SELECT 'DROP INDEX \"' || name || '\";' FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL" |
      sqlite3 "$f"
  done
  mv "$data/sqlite-noindex.partial" "$data/sqlite-noindex"
fi

# One run of a command: "SECONDS PEAK_MB".
timing=$(mktemp)
trap 'rm -f "$timing"' EXIT
measure() {
  /usr/bin/time -o "$timing" -f '%e %M' "$zentoria" --dir "$1" "${@:2}" > /dev/null 2>&1 ||
    { log "failed: zentoria --dir $*"; exit 1; }
  awk '{printf "%.2f %d\n", $1, ($2 + 512) / 1024}' "$timing"
}
median3() { sort -n | sed -n 2p; }

ops=("grid --hotel 1 --year $year --stat Presenze --detail Generale"
     "recompute --hotel 1 --year $year --stat Produzione --yes"
     "recompute --hotel 1 --year $year --stat Fatturato --yes"
     "recompute --hotel 1 --year $year --stat Cassa --yes"
     "recompute --hotel 1 --year $year --stat Presenze --yes")
names=("first grid load (\"Presenze\", Dettaglio.mdb)" "\"&Aggiorna\" Produzione" "\"&Aggiorna\" Fatturato"
       "\"&Aggiorna\" Cassa" "\"&Aggiorna\" Presenze")

mapfile -t jetfiles < <(cd "$data/access" && for f in *.mdb; do [ "$f" = Zentoria.mdb ] || echo "$data/access/$f"; done)
mb=$(du -cm "${jetfiles[@]}" | awk 'END {print $1}')
log "the floor: libmdb reads the $mb MB of Access files"
floor=$("$build/bench/zentoria_bench_mdbfloor" "${jetfiles[@]}" | awk '$1 == "total" {print $3}')
floor_rows=$("$build/bench/zentoria_bench_mdbfloor" "${jetfiles[@]}" | awk '$1 == "total" {print $2}')
bound=$("$build/bench/zentoria_bench_mdbfloor" --bind "${jetfiles[@]}" | awk '$1 == "total" {print $3}')

export XDG_CACHE_HOME=$data/cache
rm -rf "$XDG_CACHE_HOME"
declare -a cold warm lite bare
for i in "${!ops[@]}"; do
  # shellcheck disable=SC2206
  op=(${ops[$i]})
  log "${names[$i]}: images made"
  cold[i]=$(measure "$data/access" "${op[@]}")
  log "${names[$i]}: kept images"
  warm[i]=$(for r in 1 2 3; do measure "$data/access" "${op[@]}"; done | median3)
  log "${names[$i]}: SQLite"
  lite[i]=$(for r in 1 2 3; do measure "$data/sqlite" "${op[@]}"; done | median3)
  log "${names[$i]}: SQLite without indexes"
  bare[i]=$(for r in 1 2 3; do measure "$data/sqlite-noindex" "${op[@]}"; done | median3)
done
images_mb=$(du -cm "$XDG_CACHE_HOME"/zentoria/*.sqlite | awk 'END {print $1}')

echo "## An Access installation at a real hotel's size"
echo
echo "Written by \`bash bench/access.sh\` (from \`bench/run.sh\`) on $(date -u '+%Y-%m-%d %H:%M UTC'): one hotel,"
echo "ten years of history in Access (Jet 4) files written by the Jet 4 writer (\`src/jetwriter\`), $mb MB"
echo "and $floor_rows rows in all, the rows as wide as a hotel's programs write them (\`--wide\`):"
echo
echo '```'
sed -n 's/^rows //p' "$data/access/bench-data.txt"
echo '```'
echo
echo "Each figure is one run of the program's command (\`zentoria --dir … grid|recompute\`), wall time and"
echo "peak resident memory (\`/usr/bin/time\`: the command's own or that of the reading process it starts,"
echo "whichever is larger). First: an empty image cache, so the command makes the images of the files it"
echo "reads. Then: the same command again, from the kept images (median of three). SQLite: the same"
echo "command on the SQLite installation of the same content (median of three), as written (with the"
echo "indexes of bench/README.md) and without any index, as the Access files are written (the Jet 4"
echo "writer writes none; a hotel's own files declare theirs, and their images carry them)."
echo
echo "| operation | first (images made) | peak | kept images | peak | SQLite | SQLite, no index | kept / SQLite no index |"
echo "|---|---:|---:|---:|---:|---:|---:|---:|"
sum_cold=0; sum_warm=0; worst_peak=0
for i in "${!ops[@]}"; do
  read -r ct cm <<< "${cold[$i]}"; read -r wt wm <<< "${warm[$i]}"; read -r lt lm <<< "${lite[$i]}"
  read -r bt bm <<< "${bare[$i]}"
  ratio=$(awk -v a="$wt" -v b="$bt" 'BEGIN {printf "%.2f x", (b > 0 ? a / b : 0)}')
  echo "| ${names[$i]} | $ct s | $cm MB | $wt s | $wm MB | $lt s | $bt s | $ratio |"
  sum_cold=$(awk -v a="$sum_cold" -v b="$ct" 'BEGIN {print a + b}')
  sum_warm=$(awk -v a="$sum_warm" -v b="$wt" 'BEGIN {print a + b}')
  for m in "$cm" "$wm"; do [ "$m" -gt "$worst_peak" ] && worst_peak=$m; done
done
making=$(awk -v a="$sum_cold" -v b="$sum_warm" 'BEGIN {printf "%.2f", a - b}')
echo
echo "Making every image: $making s (the first runs less the runs from the kept images), against the"
echo "floor of $floor s, libmdb's own sequential read of the same files (\`mdb_fetch_row\` over every row,"
echo "nothing bound or copied): $(awk -v a="$making" -v b="$floor" 'BEGIN {printf "%.2f x", a / b}') the floor (target 2 x). Images kept: $images_mb MB."
echo "libmdb handing every value over as text (every column bound, nothing else done) takes $bound s,"
echo "$(awk -v a="$bound" -v b="$floor" 'BEGIN {printf "%.2f x", a / b}') the floor, before anything is written."
echo "Peak memory of every command: at most $worst_peak MB (target 300 MB)."
