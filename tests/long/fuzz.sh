#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time on its corpus.
# New inputs found are added to the corpus folder given to the fuzzer; any crash is written to
# tests/fuzz/crashes/<target>-* and fails the run.
# Usage: tests/long/fuzz.sh [seconds-per-target]   (default 60)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
seconds="${1:-60}"
build="$root/build-fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSPHEROLETTE_BUILD_FUZZ=ON -DSPHEROLETTE_BUILD_TESTS=ON >/dev/null
targets=(markup help_reader settings gif kept_game)
cmake --build "$build" -j "$(nproc)" --target "${targets[@]/%/_fuzz}"

mkdir -p "$root/tests/fuzz/crashes"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
for t in "${targets[@]}"; do
  corpus_src="$root/tests/fuzz/corpus/${t%_reader}"
  corpus="$work/$t"
  mkdir -p "$corpus"
  cp -r "$corpus_src/." "$corpus/"
  # Known crash reproducers must stay fixed.
  for repro in "$root"/tests/fuzz/crashes/"$t"-*; do
    [[ -e "$repro" ]] || continue
    "$build/tests/fuzz/${t}_fuzz" "$repro" >/dev/null 2>&1 || { echo "$t: reproducer $repro fails again"; status=1; }
  done
  log="$work/$t.log"
  if ! ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
      "$build/tests/fuzz/${t}_fuzz" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
      -rss_limit_mb=2048 -artifact_prefix="$root/tests/fuzz/crashes/$t-" "$corpus" >"$log" 2>&1; then
    echo "$t: the fuzzer found a fault:"; tail -40 "$log"; status=1
  fi
  runs="$(grep -Eo 'Done [0-9]+ runs' "$log" | tail -1 | grep -Eo '[0-9]+' || echo 0)"
  echo "fuzz $t: $runs executions in ${seconds}s, corpus $(ls "$corpus" | wc -l) inputs"
done
exit $status
