#!/usr/bin/env bash
# Takes the screenshot of the window that the AppStream metainfo shows
# (data/screenshots/zentoria-window.png): the demo folder opened under a virtual X
# display (Xvfb), guest nights of hotel 1 chosen, the window captured with ImageMagick.
# Needs the build (scripts/build.sh) and the packages of scripts/setup.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/src/app/zentoria
out=data/screenshots/zentoria-window.png
[ -x "$bin" ] || { echo "screenshot: $bin is missing; run bash scripts/build.sh first" >&2; exit 1; }
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing; run bash scripts/setup.sh" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb_pid=""; app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

echo "screenshot: writing the demo folder"
"$bin" demo "$work/demo" > /dev/null
display=":$(( 90 + RANDOM % 400 ))"
echo "screenshot: starting Xvfb on $display"
Xvfb "$display" -screen 0 1280x960x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 1 100); do xdotool getdisplaygeometry > /dev/null 2>&1 && break; sleep 0.1; done

echo "screenshot: opening the window on the demo folder"
XDG_CONFIG_HOME="$work/config" LANG=it_IT.UTF-8 "$bin" --dir "$work/demo" > "$work/app.log" 2>&1 &
app_pid=$!
# The access gate "Direzione" (no password in the demo): Enter.
gate=$(xdotool search --sync --name "^Direzione$" | head -n 1)
xdotool windowfocus --sync "$gate" key Return
window=$(xdotool search --sync --name "Zentorio Mensile" | head -n 1)
sleep 1
xdotool windowfocus --sync "$window"
# Year 2025, statistic "Presenze", its first detail: clicks and keys as a user gives them.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.4; }
click 67 28; xdotool key ctrl+a; xdotool type 2025; xdotool key Return; sleep 0.4
click 136 60; xdotool type Presenze; xdotool key Return; sleep 0.4
click 136 91; xdotool key Return; sleep 1
import -window "$window" "$work/shot.png"
mkdir -p "$(dirname "$out")"
cp "$work/shot.png" "$out"
echo "screenshot: wrote $out"
