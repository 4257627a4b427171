#!/usr/bin/env bash
# The web pages under load: starts `zentoria serve` on a working folder (a fresh demo
# folder unless ZT_WEB_DIR names one; the figure server when ZENTORIA_FIGURES_DB is set),
# measures each page alone (one connection, wrk's latency), then 50 connections for 30 s
# mixing the grid, chain and report pages, and writes bench/RESULTS-web.md.
#
#   bash bench/web_load.sh [path to zentoria, default build/src/app/zentoria]
#
# Needs wrk (Debian package wrk). Not a test: nothing here is run by CTest or CI.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/src/app/zentoria}
out=bench/RESULTS-web.md
command -v wrk > /dev/null || { echo "web_load.sh: wrk is missing (apt-get install wrk)" >&2; exit 1; }
tmp=$(mktemp -d)
server=
trap '[ -n "$server" ] && kill "$server" 2>/dev/null; rm -rf "$tmp"' EXIT
dir=${ZT_WEB_DIR:-$tmp/demo}
[ -n "${ZT_WEB_DIR:-}" ] || "$bin" demo "$dir" > /dev/null
year=${ZT_WEB_YEAR:-$(( $(date +%Y) - 1 ))}
QT_QPA_PLATFORM=offscreen "$bin" --dir "$dir" serve --listen 127.0.0.1:0 > "$tmp/serve.out" 2> "$tmp/serve.err" &
server=$!
for _ in $(seq 100); do grep -q "In ascolto" "$tmp/serve.out" 2>/dev/null && break; sleep 0.1; done
base=$(sed -n 's/^In ascolto su \(.*\)\/$/\1/p' "$tmp/serve.out")
[ -n "$base" ] || { cat "$tmp/serve.err"; exit 1; }
hotels=$(sqlite3 "$dir/AnagraficaHotels.mdb" "SELECT count(*) FROM AnagraficaHotels WHERE Numero > 0" 2>/dev/null || echo "?")
grid="/grid?hotel=1&statistica=Produzione&dettaglio=1&anno=$year"
chain="/chain?statistica=Presenze&dettaglio=Generale&anno=$year"
report="/report?hotel=1&statistica=Presenze&dettaglio=Generale&anno=$year"
cat > "$tmp/mix.lua" <<LUA
local paths = { "$grid", "$chain", "$report" }
local i = 0
request = function() i = i + 1; return wrk.format("GET", paths[(i % #paths) + 1]) end
done = function(summary, latency, requests)
  io.write(string.format("mix %d %d %d %.2f %.2f %.2f\n", summary.requests,
    summary.errors.connect + summary.errors.read + summary.errors.write + summary.errors.status + summary.errors.timeout,
    summary.duration, latency:percentile(50) / 1000, latency:percentile(99) / 1000, latency.max / 1000))
end
LUA
# One page alone: the client's latency (HTTP included), and the server's own time for the
# same answers, from their Server-Timing header (the page made by the program's functions,
# from the request read to the answer made, without the HTTP around it).
cat > "$tmp/one.lua" <<'LUA'
local threads = {}
setup = function(thread) table.insert(threads, thread) end
init = function(args) durs = {} end
response = function(status, headers, body)
  local d = tonumber(string.match(headers["Server-Timing"] or "", "dur=([%d.]+)"))
  if d then durs[#durs + 1] = d end
end
done = function(summary, latency, requests)
  local all = {}
  for _, t in ipairs(threads) do for _, v in ipairs(t:get("durs")) do all[#all + 1] = v end end
  table.sort(all)
  local server = #all > 0 and all[math.floor(#all / 2) + 1] or 0
  io.write(string.format("one %d %.2f %.2f %.2f\n", summary.requests, latency:percentile(50) / 1000,
    latency:percentile(99) / 1000, server))
end
LUA
{
  echo "# The web pages under load"
  echo
  echo "Written by \`bash bench/web_load.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'); $(nproc) processors, load average"
  echo "$(cut -d' ' -f1-3 /proc/loadavg) at the start. Working folder: ${ZT_WEB_DIR:-a fresh demo folder} ($hotels hotels),"
  echo "figures ${ZENTORIA_FIGURES_DB:+on the figure server}${ZENTORIA_FIGURES_DB:-in the files}; year $year."
  echo
  echo "| page, one connection for 10 s | requests | median | p99 | server's own time, median | ratio | target |"
  echo "|---|---:|---:|---:|---:|---:|---|"
  for p in "$grid" "/api/grid?hotel=1&statistica=Produzione&dettaglio=1&anno=$year" "$chain" "$report" "$report&format=pdf"; do
    read -r _ n p50 p99 own < <(wrk -t1 -c1 -d10s -s "$tmp/one.lua" "$base$p" | grep '^one ')
    ratio=$(awk -v a="$p50" -v b="$own" 'BEGIN { if (b > 0) printf "%.2f x", a / b }')
    target=; [[ $p == /grid* ]] && target="server's time < 20 ms"
    echo "| \`${p//|/\\|}\` | $n | $p50 ms | $p99 ms | $own ms | $ratio | $target |"
  done
  echo
  echo "The server's own time is the floor of each page: the same figures made by the program's"
  echo "functions, from the request read to the answer made, without HTTP (its Server-Timing header)."
  echo
  read -r _ n errors duration p50 p99 max < <(wrk -t2 -c50 -d30s --timeout 10s -s "$tmp/mix.lua" "$base" | grep '^mix ')
  echo "50 connections for 30 s, grid, chain and report in turn: $n requests, $errors errors (connect, read,"
  echo "write, status other than 2xx/3xx, timeouts), median $p50 ms, p99 $p99 ms, longest $max ms."
  echo "Targets: no errors, p99 under 250 ms."
} > "$out"
cat "$out"
