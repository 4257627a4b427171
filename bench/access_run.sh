#!/usr/bin/env bash
# Times the Access installation: for "Produzione", "Fatturato", "Cassa" and "Presenze",
# the grid load and "&Aggiorna" (recompute --yes) through the command line, first with
# no image kept (the images are made), then again from the kept images, each with its
# peak memory (the largest process of the run, the reading processes included); and the
# floor, libmdb's own sequential read of every row of the same files
# (zentoria_bench_jetfloor). Prints a Markdown table.
#
#   bash bench/access_run.sh BUILD FOLDER
#
# BUILD is a build folder with zentoria and zentoria_bench_jetfloor; FOLDER an
# installation written by `zentoria_bench_generate FOLDER --access`. The images go to a
# cache folder of its own beside FOLDER. Not a test.
set -euo pipefail
build=$1
data=$2
zentoria=$build/src/app/zentoria
floor=$build/bench/zentoria_bench_jetfloor
export XDG_CACHE_HOME=$data.cache
year=$(awk '$1 == "benchmark-year" {print $2}' "$data/bench-data.txt")

# Seconds and peak resident memory (MB) of one command.
measure() {
  /usr/bin/time -f "%e %M" -o "$data.time" "$@" > /dev/null 2>&1 || true
  read -r secs kb < "$data.time"
  printf "%s s, %d MB" "$secs" $((kb / 1024))
}

files_of() {
  case $1 in
    Produzione) echo "Conto_Cliente.mdb ContoStoricoClienti.mdb ContoEsterni.mdb ContoEsterniStorico.mdb Fatture.mdb" ;;
    Fatturato|Cassa) echo "Fatture.mdb" ;;
    Presenze) echo "Scheda_Cliente.mdb SchedaStoricoClienti.mdb" ;;
  esac
}
detail_of() {
  case $1 in Produzione|Fatturato) echo 1 ;; Cassa) echo CONT ;; Presenze) echo Generale ;; esac
}

echo "| operation | first (images made) | again (kept images) | floor: libmdb's read of its files |"
echo "|---|---|---|---|"
for stat in Produzione Fatturato Cassa Presenze; do
  rm -rf "$XDG_CACHE_HOME"
  grid=(--dir "$data" grid --hotel 1 --year "$year" --stat "$stat" --detail "$(detail_of "$stat")")
  recompute=(--dir "$data" recompute --hotel 1 --year "$year" --stat "$stat" --yes)
  g1=$(measure "$zentoria" "${grid[@]}")
  r1=$(measure "$zentoria" "${recompute[@]}")
  g2=$(measure "$zentoria" "${grid[@]}")
  r2=$(measure "$zentoria" "${recompute[@]}")
  files=()
  for f in $(files_of "$stat"); do files+=("$data/$f"); done
  gfloor=$( { /usr/bin/time -f "%e" "$floor" "$data/Dettaglio.mdb" > /dev/null; } 2>&1 | tail -n 1 )
  rfloor=$( { /usr/bin/time -f "%e" "$floor" "${files[@]}" > /dev/null; } 2>&1 | tail -n 1 )
  echo "| grid \"$stat\" | $g1 | $g2 | $gfloor s (Dettaglio.mdb) |"
  echo "| &Aggiorna \"$stat\" | $r1 | $r2 | $rfloor s |"
done
rm -f "$data.time"
