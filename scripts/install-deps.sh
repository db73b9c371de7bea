#!/usr/bin/env bash
# Installs the Debian 12 packages Spherolette needs to build, play and test.
# Usage: scripts/install-deps.sh [--tests]   (as root, or with sudo available)
set -euo pipefail

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

packages=("${runtime_and_build[@]}")
if [[ "${1:-}" == "--tests" ]]; then
  packages+=("${test_only[@]}")
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
