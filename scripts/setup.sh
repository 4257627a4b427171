#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need; skips those present.
# Run as root on Debian 12 (or with sudo available). Says what it does; apt's own output
# goes to setup.log, whose last lines are shown when a step fails.
set -euo pipefail
cd "$(dirname "$0")/.."
log="$PWD/setup.log"

packages=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev libxkbcommon-dev
  qt6-translations-l10n
  # the program's own translation: lupdate/lrelease and their CMake functions
  qt6-l10n-tools qt6-tools-dev
  libsqlite3-dev sqlite3 mdbtools-dev
  # the tests read the Access files the Jet 4 writer makes with mdb-ver, mdb-tables, mdb-schema, mdb-export
  mdbtools
  libpq-dev postgresql
  fonts-liberation poppler-utils
  libgtest-dev libgmock-dev libcrypt-dev
  libbenchmark-dev
  # zentoria serve: the HTTP(S) server library; the browser tests drive chromium
  libcpp-httplib-dev libssl-dev chromium chromium-driver python3-selenium
  clang libclang-rt-14-dev
  # installing and packaging: the validators, the manual, dpkg-shlibdeps
  desktop-file-utils appstream man-db dpkg-dev file
  # printing through a private CUPS server with a PDF queue, and reading its PDF files
  cups printer-driver-cups-pdf poppler-utils
  # the window's screenshot under a virtual display (scripts/screenshot.sh), the icon's PNG
  xvfb xauth xdotool imagemagick librsvg2-bin
)

fail() {
  echo "setup: FAILED: $1" >&2
  echo "setup: last lines of $log:" >&2
  tail -n 30 "$log" >&2
  echo "setup: the whole log is $log" >&2
  exit 1
}

echo "setup: checking ${#packages[@]} Debian packages"
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
: > "$log"
echo "setup: [1/2] reading the package lists (apt-get update)"
$SUDO apt-get update >> "$log" 2>&1 || fail "apt-get update"

total=$(apt-get -s install "${missing[@]}" 2>>"$log" | grep -c '^Inst ' || true)
[ "$total" -gt 0 ] || total=${#missing[@]}
echo "setup: [2/2] installing ${missing[*]} ($total packages with what they need)"
# Each package is downloaded, unpacked and set up: progress in steps of 10%.
set +o pipefail
$SUDO apt-get install -y "${missing[@]}" 2>&1 | tee -a "$log" | awk -v total="$total" '
  /^Get:[0-9]/ || /^Unpacking / || /^Setting up / {
    done++
    pct = int(100 * done / (3 * total)); if (pct > 100) pct = 100
    if (pct >= shown + 10) { shown = pct - pct % 10; printf "setup: %3d%% (%s)\n", shown, $0; fflush() }
  }'
status=${PIPESTATUS[0]}
set -o pipefail
[ "$status" -eq 0 ] || fail "apt-get install ${missing[*]}"
echo "setup: done"
