#!/usr/bin/env bash
# Installs the Debian 12 packages Spherolette needs to build, play and test.
# Usage: scripts/install-deps.sh [--tests|--web]   (as root, or with sudo available)
#   --web    adds what the browser build needs; --tests adds the tests' tools and the web list,
#            since the browser tests are part of the test command.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

# libfontconfig-dev: only its header (fontconfig is loaded at run time); libfreetype-dev: only
# the asset generator draws with it; libstb-dev: the text engine's rasteriser (header only).
runtime_and_build=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libgif-dev libpng-dev libstb-dev
  libfontconfig-dev libfreetype-dev fonts-liberation2
)
test_only=(
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-dev
  xvfb xauth xdotool x11-utils imagemagick
  desktop-file-utils appstream dpkg-dev file
)

# The browser build: Debian's emscripten (with its clang, lld and binaryen), node to run the
# WebAssembly tests and the browser tests' driver, Chromium for those tests, fontTools to cut
# the fonts down, dpkg-dev to unpack giflib's Debian source (compiled into the browser build).
web=(
  emscripten binaryen nodejs chromium python3-fonttools dpkg-dev
)

packages=("${runtime_and_build[@]}")
case "${1:-}" in
  --tests) packages+=("${test_only[@]}" "${web[@]}") ;;
  --web) packages+=("${web[@]}") ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
# npm comes with Debian's nodejs as a package of its own, but inside other builds of nodejs
# (which then refuse the separate package): ask for it only when the command is missing.
if [[ " ${packages[*]} " == *" nodejs "* ]] && ! command -v npm >/dev/null; then
  missing+=(npm)
fi
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
if [[ ${#missing[@]} -gt 0 ]]; then
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update
  "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Debian builds giflib for this machine only: the browser build compiles its source, the same
# version and patches as the library the native shell links.
if [[ " ${packages[*]} " == *" emscripten "* ]]; then
  giflib_dir=/usr/local/src/spherolette/giflib
  wanted="giflib_$(dpkg-query -W -f='${Version}' libgif-dev)"
  if [[ "$(cat "$giflib_dir/.debian-source" 2>/dev/null)" != "$wanted" ]]; then
    "${sudo_cmd[@]}" "$root/scripts/debian-source.sh" "giflib=${wanted#giflib_}" "$giflib_dir"
  fi
fi

# The browser tests' driver, puppeteer-core, exactly as its lock file pins it (it downloads no
# browser: the tests use Debian's Chromium). Installed again only when the lock file changed.
if [[ " ${packages[*]} " == *" chromium "* ]]; then
  web_tests="$root/tests/web"
  if ! cmp -s "$web_tests/package-lock.json" "$web_tests/node_modules/.installed-lock.json"; then
    (cd "$web_tests" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
    cp "$web_tests/package-lock.json" "$web_tests/node_modules/.installed-lock.json"
  fi
fi
