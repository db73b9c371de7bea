#!/usr/bin/env bash
# Installs the Debian 12 packages Spherolette needs to build, play and test.
# Usage: scripts/install-deps.sh [--tests|--web]   (as root, or with sudo available)
#   --web    adds what the browser build needs; --tests adds the tests' tools and the web list,
#            since the browser tests are part of the test command.
set -euo pipefail

runtime_and_build=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libsdl2-ttf-dev libgif-dev libpng-dev
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
# the fonts down, stb for picture decoding in the browser.
web=(
  emscripten binaryen nodejs chromium python3-fonttools libstb-dev
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
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
