#!/usr/bin/env bash
# Soak: the player bot plays many whole games headless on the virtual clock, from different
# seeds, at every difficulty, with play-again, back-to-title, credits and help on the way.
# Every run must end with a clean ledger (exit 3 otherwise) and pass the bot's own checks
# after each game (exit 5: the settings file parses, the top five are whole and in order,
# the game holds no more objects on a title screen than on the first). Each worker keeps one
# settings file across its runs, so scores carry over as they do for a player; the file is
# checked again here after every run.
# Usage: tests/long/soak.sh BUILD_DIR   (SOAK_GAMES, default 1000; SOAK_JOBS, default nproc)
set -uo pipefail
build="${1:?build directory}"
program="$build/shell/spherolette"
games="${SOAK_GAMES:-1000}"
jobs="${SOAK_JOBS:-$(nproc)}"
per_run=50
[[ -x "$program" ]] || { echo "soak: no program at $program" >&2; exit 1; }

# Settings writes reach the disk with fsync; on tmpfs the soak measures the game, not the disk.
work="$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)"
keep=0
cleanup() { [[ $keep == 1 ]] || rm -rf "$work"; }
trap cleanup EXIT

# The ten table keys are there and the scores do not increase from rank 1 to rank 5.
check_table() {
  awk -F= '
    NR == 1 { if ($0 != "# spherolette settings 1") { print "bad header: " $0; bad = 1 } next }
    { key = $1; sub(/^[^.]*\./, "", key); value = substr($0, length($1) + 2); v[key] = value }
    END {
      if (bad) exit 1
      prev = ""
      for (r = 1; r <= 5; r++) {
        if (!(("Score" r "Name") in v)) { print "Score" r "Name missing"; exit 1 }
        s = v["Score" r "Score"]
        if (s !~ /^-?[0-9]+$/) { print "Score" r "Score is not a number: " s; exit 1 }
        if (prev != "" && s + 0 > prev + 0) { print "Score" r "Score " s " above rank " r - 1; exit 1 }
        prev = s
      }
    }' "$1"
}

# One worker: runs for seeds start, start + jobs, ... until its share of games is played.
worker() {
  local id="$1" runs="$2" seed difficulty code settings="$work/settings-$1.txt"
  for ((n = 0; n < runs; n++)); do
    seed=$((1000 + id + n * jobs))
    # Every difficulty in turn, and every sixth run a random one at each title screen.
    local args=(--headless --autoplay --autoplay-games "$per_run" --seed "$seed" --settings "$settings")
    difficulty=$(((id + n) % 6))
    [[ $difficulty -lt 5 ]] && args+=(--autoplay-difficulty "$difficulty")
    "$program" "${args[@]}" >"$work/run-$seed.out" 2>"$work/run-$seed.err"
    code=$?
    if [[ $code != 0 ]]; then
      echo "soak: seed $seed (${args[*]}) ended with status $code:" >&2
      tail -n 20 "$work/run-$seed.err" >&2
      return 1
    fi
    if ! problem="$(check_table "$settings")"; then
      echo "soak: after seed $seed the settings file is wrong: $problem" >&2
      cp "$settings" "$work/bad-settings-$seed.txt"
      return 1
    fi
    cat "$work/run-$seed.out" >>"$work/worker-$id.log"
  done
}

runs_total=$(((games + per_run - 1) / per_run))
start=$(date +%s.%N)
pids=()
for ((id = 0; id < jobs; id++)); do
  share=$(((runs_total - id + jobs - 1) / jobs))
  worker "$id" "$share" &
  pids+=($!)
done
status=0
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
end=$(date +%s.%N)

played=$(cat "$work"/worker-*.log 2>/dev/null | awk '/^autoplay:/ { n += $2 } END { print n + 0 }')
again=$(cat "$work"/worker-*.log 2>/dev/null | sed -n 's/.*(\([0-9]*\) played again.*/\1/p' | awk '{ n += $1 } END { print n + 0 }')
title=$(cat "$work"/worker-*.log 2>/dev/null | sed -n 's/.*, \([0-9]*\) back to the title.*/\1/p' | awk '{ n += $1 } END { print n + 0 }')
moves=$(cat "$work"/worker-*.log 2>/dev/null | sed -n 's/.*, \([0-9]*\) moves,.*/\1/p' | awk '{ n += $1 } END { print n + 0 }')
cpu=$(cat "$work"/worker-*.log 2>/dev/null | sed -n 's/.*; \([0-9.]*\) s of CPU/\1/p' | awk '{ n += $1 } END { printf "%.1f", n }')
seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.1f", b - a }')
echo "soak: $played games, $seconds seconds ($again played again, $title back to the title," \
     "$moves moves, $cpu s of bot CPU, $jobs workers)"
if [[ $status != 0 ]]; then
  keep=1
  echo "soak: FAILED; logs kept in $work" >&2
  exit 1
fi
if [[ $played -lt $games ]]; then
  keep=1
  echo "soak: FAILED; only $played of $games games were played; logs kept in $work" >&2
  exit 1
fi
