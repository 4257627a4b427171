#!/usr/bin/env bash
# `cpack -G DEB` makes zentoria_<version>_amd64.deb with the dependencies dpkg-shlibdeps
# reads from the program; unpacked with dpkg-deb -x, its program shows its version and
# writes the demo folder.
# Usage: check_package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps file; do
  command -v "$tool" >/dev/null || fail "$tool is missing (bash scripts/setup.sh installs it)"
done
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
version=$("$build/src/app/zentoria" --version | sed 's/^zentoria //')
(cd "$tmp" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out") > "$tmp/cpack.log" 2>&1 \
  || { tail -n 30 "$tmp/cpack.log"; fail "cpack -G DEB failed"; }
deb=$tmp/out/zentoria_${version}_amd64.deb
[ -f "$deb" ] || { ls "$tmp/out"; fail "no zentoria_${version}_amd64.deb"; }

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libc6 libqt6widgets6 libqt6printsupport6 libsqlite3-0; do
  grep -q "$lib (>=" <<< "$depends" || fail "the dependencies do not name $lib with its version: $depends"
done
grep -q "qt6-translations-l10n" <<< "$(dpkg-deb -f "$deb" Recommends) $depends" \
  || fail "the package neither depends on nor recommends qt6-translations-l10n"
[ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "the package is not for amd64"

dpkg-deb -x "$deb" "$tmp/root"
bin=$tmp/root/usr/bin/zentoria
[ -x "$bin" ] || fail "the package holds no usr/bin/zentoria"
[ -f "$tmp/root/usr/share/applications/zentoria.desktop" ] || fail "the package holds no menu entry"
[ -f "$tmp/root/usr/share/man/man1/zentoria.1" ] || fail "the package holds no manual page"
[ -f "$tmp/root/usr/lib/systemd/system/zentoria-serve.service" ] || fail "the package holds no service unit"
[ -f "$tmp/root/etc/zentoria/serve.conf" ] || fail "the package holds no /etc/zentoria/serve.conf"
dpkg-deb -e "$deb" "$tmp/control"
grep -qx /etc/zentoria/serve.conf "$tmp/control/conffiles" || fail "serve.conf is not a conffile"
grep -q 'adduser --system' "$tmp/control/postinst" || fail "the package makes no user for the service"
grep -q 'systemctl enable' "$tmp/control/postinst" && fail "the package enables the service"
[ "$("$bin" --version)" = "zentoria $version" ] || fail "the unpacked program's --version: $("$bin" --version)"
"$bin" demo "$tmp/demo" > "$tmp/demo.log" 2>&1 || { cat "$tmp/demo.log"; fail "the unpacked program's demo failed"; }
[ -f "$tmp/demo/AnagraficaHotels.mdb" ] || fail "the demo folder has no hotel registry"
grid=$(cd "$tmp/demo" && "$bin" grid --hotel 1 --year 2025 --stat Presenze --detail Generale) \
  || fail "the unpacked program cannot read its demo folder"
[ "$(wc -l <<< "$grid")" -eq 12 ] || fail "the grid of the demo has not twelve months: $grid"
echo "package $(basename "$deb") unpacked and run"
