#!/usr/bin/env bash
# `cmake --install` into a temporary prefix, then the installed files as the desktop,
# the software centre and man read them: desktop-file-validate, appstreamcli, man -l.
# The manual page must name every command and environment variable of the README.
# Usage: check_install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1; source=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in desktop-file-validate appstreamcli man file; do
  command -v "$tool" >/dev/null || fail "$tool is missing (bash scripts/setup.sh installs it)"
done
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/usr
cmake --install "$build" --prefix "$prefix" > "$tmp/install.log" 2>&1 || { cat "$tmp/install.log"; fail "cmake --install failed"; }

share=$prefix/share
desktop=$share/applications/zentoria.desktop
metainfo=$(ls "$share"/metainfo/*.metainfo.xml)
manpage=$share/man/man1/zentoria.1
for f in "$prefix/bin/zentoria" "$desktop" "$share/icons/hicolor/scalable/apps/zentoria.svg" \
         "$share/icons/hicolor/128x128/apps/zentoria.png" "$metainfo" \
         "$share/zentoria/screenshots/zentoria-window.png" "$manpage"; do
  [ -f "$f" ] || fail "not installed: ${f#$tmp/}"
done
[ -x "$prefix/bin/zentoria" ] || fail "bin/zentoria is not executable"
unit=$prefix/lib/systemd/system/zentoria-serve.service
[ -f "$unit" ] && [ -f "$tmp/etc/zentoria/serve.conf" ] || fail "the service unit or its serve.conf is not installed"
for line in User=zentoria NoNewPrivileges=yes ProtectSystem=strict EnvironmentFile=/etc/zentoria/serve.conf; do
  grep -qx "$line" "$unit" || fail "the service unit lacks $line"
done
if command -v systemd-analyze > /dev/null; then
  sed "s#/usr/bin/zentoria#$prefix/bin/zentoria#; s#^EnvironmentFile=.*#EnvironmentFile=$tmp/etc/zentoria/serve.conf#" \
    "$unit" > "$tmp/zentoria-serve.service"
  # The manual page is not installed on this machine's man path; everything else must pass.
  out=$(systemd-analyze verify "$tmp/zentoria-serve.service" 2>&1 | grep 'zentoria-serve.service' \
        | grep -v "Command 'man zentoria(1)'" || true)
  [ -z "$out" ] || fail "systemd-analyze verify: $out"
fi

# The menu entry.
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
grep -qx 'Name=Zentoria' "$desktop" || fail "the menu entry is not named Zentoria"
grep -qx 'Icon=zentoria' "$desktop" || fail "the menu entry does not show the program's icon"
grep -q '^Categories=.*Office;' "$desktop" && grep -q '^Categories=.*Finance;' "$desktop" \
  || fail "the menu entry is not in Office and Finance"
grep -q '^Comment=.* dell' "$desktop" || fail "the menu entry has no Italian comment"

# The icon: SVG, and a PNG of 128 x 128 pixels.
file "$share/icons/hicolor/128x128/apps/zentoria.png" | grep -q 'PNG image data, 128 x 128' \
  || fail "the PNG icon is not 128 x 128"
grep -q '<svg' "$share/icons/hicolor/scalable/apps/zentoria.svg" || fail "the scalable icon is no SVG"

# The metainfo, with the screenshot.
appstreamcli validate --no-net "$metainfo" > "$tmp/appstream.log" 2>&1 \
  || { cat "$tmp/appstream.log"; fail "appstreamcli validate --no-net $(basename "$metainfo")"; }
grep -q '<screenshot' "$metainfo" || fail "the metainfo shows no screenshot"
grep -q '<launchable type="desktop-id">zentoria.desktop</launchable>' "$metainfo" \
  || fail "the metainfo does not launch zentoria.desktop"

# The manual page: formats without warnings and names every command and variable.
LC_ALL=C.UTF-8 MANWIDTH=100 man --warnings -l "$manpage" > "$tmp/man.txt" 2> "$tmp/man.err" \
  || { cat "$tmp/man.err"; fail "man -l $manpage"; }
[ -s "$tmp/man.err" ] && { cat "$tmp/man.err"; fail "man -l warns"; }
commands=$(sed -n '/^## Command line/,/^## /p' "$source/README.md" | grep -o '^| `[a-z-]*' | sed 's/^| `//')
variables=$(sed -n '/^## Environment/,/^## /p' "$source/README.md" | grep -o '^| [^|]*|' | grep -o '`[A-Za-z_]*`' | tr -d '`')
[ -n "$commands" ] && [ -n "$variables" ] || fail "no commands or variables found in the README"
# The page's text with its hyphenation undone.
text=$(tr -d '\n' < "$tmp/man.txt" | sed 's/‐ *//g; s/- \+//g')
for word in $commands $variables; do
  grep -qF -- "$word" <<< "$text" || fail "the manual page does not mention $word"
done
echo "installed files valid; manual page names: $(echo $commands $variables)"
