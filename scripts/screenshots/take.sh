#!/usr/bin/env bash
# Takes the pictures of docs/screenshots/ under Xvfb, in Italian, on a copy of the demo
# folder with a few large amounts in January to March (hotel 1, "Produzione", the first
# voice, this year). Needs xvfb and imagemagick (not needed by the build or the tests).
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --build build -j2 --target zentoria zentoria_screenshots
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
./build/src/app/zentoria demo "$work/demo" > /dev/null
year=$(date +%Y)
sqlite3 "$work/demo/Dettaglio.mdb" "
  DELETE FROM Dettaglio WHERE NumeroHotel = 1 AND Tipo = 'Produzione' AND Dettaglio = '1'
    AND substr(DataInserimento, 1, 6) IN ('${year}01', '${year}02', '${year}03');
  INSERT INTO Dettaglio VALUES (1, 'Produzione', '1', '${year}0110', -1962010.70),
    (1, 'Produzione', '1', '${year}0210', 1266212.39), (1, 'Produzione', '1', '${year}0310', 2345678.90);"
mkdir -p "$work/shots"
(cd "$work/demo" && LANG=it_IT.UTF-8 LC_ALL= QT_QPA_PLATFORM=xcb PATH=/usr/bin:/bin \
  xvfb-run -a -s '-screen 0 1280x1024x24' "$OLDPWD/build/zentoria_screenshots" . "$work/shots")
for f in "$work"/shots/*.png; do
  convert "$f" -strip -colors 192 "PNG8:docs/screenshots/$(basename "$f")"
done
ls -l docs/screenshots/
