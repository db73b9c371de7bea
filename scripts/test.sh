#!/usr/bin/env bash
# Installs what is missing, builds Spherolette and runs every test: the unit and host tests,
# the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, and the longer checks
# (end-to-end in a real window, fuzzing, soak) that live in tests/long/, and the browser build
# with its tests (scripts/web.sh).
# Usage: scripts/test.sh [--quick]   (--quick: the plain build's tests only)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc)"
"$root/scripts/install-deps.sh" --tests

step() { printf '\n=== %s ===\n' "$*"; }

step "build"
# Configured for /usr so that the long checks can package this very build.
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_INSTALL_PREFIX=/usr -DSPHEROLETTE_BUILD_BENCH=ON -DSPHEROLETTE_WERROR=ON >/dev/null
cmake --build "$root/build" -j "$jobs"

if [[ "${1:-}" != "--quick" ]]; then
  step "build with AddressSanitizer and UndefinedBehaviorSanitizer"
  cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DSPHEROLETTE_SANITIZE=ON -DSPHEROLETTE_WERROR=ON >/dev/null
  cmake --build "$root/build-asan" -j "$jobs"
  step "tests under the sanitizers"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$root/build-asan" -j "$jobs" --output-on-failure --timeout 300

  step "browser build and its tests"
  "$root/scripts/web.sh" --test --no-serve

  if [[ -x "$root/tests/long/run.sh" ]]; then
    step "long checks"
    "$root/tests/long/run.sh" "$root/build"
  fi
fi

step "tests"
ctest --test-dir "$root/build" -j "$jobs" --output-on-failure --timeout 300
