#!/usr/bin/env bash
# Installs what is missing, builds Spherolette and starts it in a window.
# Usage: scripts/play.sh [shell options, e.g. --scale 2]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSPHEROLETTE_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build"
exec "$root/build/shell/spherolette" "$@"
