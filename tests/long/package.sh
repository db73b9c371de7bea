#!/usr/bin/env bash
# Builds the Debian package from a release build, installs it with apt, plays one scripted game
# with the installed program headless, checks the desktop files, and removes the package again.
# Needs root (CI runs as root); skipped with a message otherwise.
# Usage: tests/long/package.sh [BUILD]   (a build configured with CMAKE_INSTALL_PREFIX=/usr;
#        without one, a release build is made in build-package/)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
if [[ $(id -u) -ne 0 ]]; then echo "package: skipped (needs root)"; exit 0; fi
if dpkg-query -W -f='${Status}' spherolette 2>/dev/null | grep -q "install ok installed"; then
  echo "package: a spherolette package is already installed here; not touching it"; exit 1
fi
build="${1:-$root/build-package}"
work="$(mktemp -d)"
cleanup() {
  apt-get remove -y spherolette >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

if [[ -z "${1:-}" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DSPHEROLETTE_BUILD_TESTS=OFF >/dev/null
fi
if [[ "$(grep -E '^CMAKE_INSTALL_PREFIX:' "$build/CMakeCache.txt" | cut -d= -f2)" != /usr ]]; then
  echo "package: $build is not configured for /usr"; exit 1
fi
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/spherolette_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/spherolette_*.deb | head -1)"
echo "package: built $(basename "$deb")"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "$depends"
# Text is drawn by the game's own engine; fontconfig is loaded at run time, and stays a declared
# dependency because the first run needs it to find the font.
for gone in libsdl2-ttf libharfbuzz libfreetype; do
  if grep -q "$gone" <<<"$depends"; then echo "package: still depends on $gone"; exit 1; fi
done
grep -q "libfontconfig1" <<<"$depends" || { echo "package: libfontconfig1 is not a dependency"; exit 1; }

DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" >/dev/null
test -x /usr/bin/spherolette
# Nor does the program itself link any of them.
if readelf -d /usr/bin/spherolette | grep NEEDED | grep -E "SDL2_ttf|harfbuzz|freetype|fontconfig"; then
  echo "package: the program links a library it should not"; exit 1
fi
desktop-file-validate /usr/share/applications/net.spherolette.Spherolette.desktop
appstreamcli validate --no-net /usr/share/metainfo/net.spherolette.Spherolette.metainfo.xml >/dev/null
man -w spherolette >/dev/null
/usr/bin/spherolette --version

cat > "$work/game.txt" <<'SCRIPT'
click 130 300
wait 1000
drag 30 150 270 400
wait 30000
screenshot GAME
quit
SCRIPT
sed -i "s#GAME#$work/game.png#" "$work/game.txt"
(cd "$work" && /usr/bin/spherolette --headless --seed 11 --settings "$work/settings.txt" \
  --script "$work/game.txt")
test -s "$work/game.png"
echo "package: the installed game ran a scripted game headless"

apt-get remove -y spherolette >/dev/null
test ! -e /usr/bin/spherolette
echo "package: removed"
