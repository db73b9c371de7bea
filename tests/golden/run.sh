#!/usr/bin/env bash
# The "nothing changed" check: 50 seeded bot games at each of the five difficulties, played
# headless, compared with recorded digests of each run's trace of host calls, its settings file
# and its screenshot at exit. A few short runs are also kept whole, so that a difference can be
# read line by line. When the game or the shell is changed on purpose, record them anew with
# --update and commit the result with the reason.
# Usage: tests/golden/run.sh PROGRAM [--update]
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
program="${1:?program}"
update="${2:-}"
seeds="${GOLDEN_SEEDS:-50}"
digests="$here/digests.txt"
kept=("1 0" "2 4" "3 2")  # seed and difficulty of the runs kept whole

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# One run: seed, difficulty -> "seed difficulty trace settings screenshot" digests.
run_one() {
  local seed=$1 difficulty=$2 dir="$work/$1-$2"
  mkdir -p "$dir"
  "$program" --headless --seed "$seed" --autoplay --autoplay-difficulty "$difficulty" \
    --autoplay-games 1 --trace --settings "$dir/settings.txt" --screenshot "$dir/shot.png" \
    >"$dir/out.txt" 2>"$dir/err.txt"
  local status=$?
  # The start-up timings are the only lines that change from run to run.
  grep -a -v '^trace: start-up: ' "$dir/err.txt" >"$dir/trace.txt"
  printf '%s %s %s %s %s %s\n' "$seed" "$difficulty" "$status" \
    "$(sha256sum <"$dir/trace.txt" | cut -c1-16)" \
    "$(sha256sum <"$dir/settings.txt" | cut -c1-16)" \
    "$(sha256sum <"$dir/shot.png" | cut -c1-16)"
}
export -f run_one
export program work

for s in $(seq 1 "$seeds"); do for d in 0 1 2 3 4; do echo "$s $d"; done; done |
  xargs -P "$(nproc)" -n 2 bash -c 'run_one "$0" "$1"' | sort -n -k1,1 -k2,2 >"$work/now.txt"

if [[ "$update" == "--update" ]]; then
  {
    echo "# seed difficulty exit-status trace settings screenshot (sha256, first 16 digits)"
    cat "$work/now.txt"
  } >"$digests"
  for k in "${kept[@]}"; do
    set -- $k
    gzip -9n <"$work/$1-$2/trace.txt" >"$here/trace-$1-$2.txt.gz"
  done
  echo "golden: recorded $(wc -l <"$work/now.txt") runs in $digests"
  exit 0
fi

[[ -f "$digests" ]] || { echo "golden: no recorded digests (run with --update)" >&2; exit 1; }
if diff <(grep -v '^#' "$digests") "$work/now.txt" >"$work/diff.txt"; then
  echo "golden: $(wc -l <"$work/now.txt") runs identical to the recorded ones"
  exit 0
fi
echo "golden: runs differ from the recorded ones (< recorded, > now):" >&2
head -n 20 "$work/diff.txt" >&2
for k in "${kept[@]}"; do
  set -- $k
  [[ -f "$here/trace-$1-$2.txt.gz" ]] || continue
  if ! cmp -s <(gunzip -c "$here/trace-$1-$2.txt.gz") "$work/$1-$2/trace.txt"; then
    echo "golden: seed $1 difficulty $2, first difference in the trace:" >&2
    diff <(gunzip -c "$here/trace-$1-$2.txt.gz") "$work/$1-$2/trace.txt" | head -n 12 >&2
  fi
done
exit 1
