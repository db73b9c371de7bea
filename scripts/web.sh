#!/usr/bin/env bash
# Builds Spherolette for the browser with Debian's emscripten and serves the result at
# http://127.0.0.1:8000/. Nothing is downloaded while building: no SDK, no emscripten ports.
# Usage: scripts/web.sh [--test] [--no-serve]
#   --test      also run the WebAssembly tests (under node) and the browser checks
#   --no-serve  build only
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="$root/build-web"
run_tests=0 serve=1
for argument in "$@"; do
  case "$argument" in
    --test) run_tests=1 ;;
    --no-serve) serve=0 ;;
    *) echo "usage: $0 [--test] [--no-serve]" >&2; exit 2 ;;
  esac
done
"$root/scripts/install-deps.sh" --web

# emscripten 3.1.6's JavaScript optimiser loads acorn, which Debian keeps in its own module folder.
export NODE_PATH=/usr/share/nodejs

step() { printf '\n=== %s ===\n' "$*"; }

# The browser tests compare the page with the native shell: the one scripts/test.sh has just
# built when it is there, else one built here beside the resource generator.
native="${SPHEROLETTE_NATIVE:-}"
if [[ $run_tests -eq 1 && -z "$native" && -x "$root/build/shell/spherolette" ]]; then
  native="$root/build/shell/spherolette"
fi
build_native=OFF
if [[ $run_tests -eq 1 && -z "$native" ]]; then
  build_native=ON
  native="$out/host/shell/spherolette"
fi

step "resource generator (native)"
cmake -S "$root" -B "$out/host" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DSPHEROLETTE_BUILD_SHELL=$build_native -DSPHEROLETTE_BUILD_TESTS=OFF >/dev/null
if [[ $build_native == ON ]]; then
  cmake --build "$out/host" --target spherolette_assetgen spherolette spherolette_shell
else
  cmake --build "$out/host" --target spherolette_assetgen
fi

step "game for the browser (emscripten)"
emcmake cmake -S "$root" -B "$out/wasm" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DSPHEROLETTE_WEB=ON -DSPHEROLETTE_BUILD_SHELL=OFF -DSPHEROLETTE_BUILD_TESTS=OFF \
  -DSPHEROLETTE_RESOURCE_EMBEDDING=c \
  -DSPHEROLETTE_ASSETGEN="$out/host/resources/spherolette_assetgen" \
  -DSPHEROLETTE_NATIVE="$native" >/dev/null
cmake --build "$out/wasm"

if [[ $run_tests -eq 1 ]]; then
  step "tests"
  ctest --test-dir "$out/wasm" -j "$(nproc)" --output-on-failure --timeout 300
fi

if [[ $serve -eq 1 ]]; then
  step "serving $out/wasm/site at http://127.0.0.1:8000/ (Ctrl-C stops)"
  exec python3 -m http.server 8000 --bind 127.0.0.1 --directory "$out/wasm/site"
fi
