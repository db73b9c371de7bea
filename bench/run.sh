#!/usr/bin/env bash
# Measures the game against a bare SDL2 program on this machine and prints one table, which is
# also put on top of bench/RESULTS.md (earlier results stay below it).
#
# Usage: bench/run.sh [--runs N] [--sample S] [--no-write]
#   --runs N     start-up runs of each program (default 15; the median is reported)
#   --sample S   seconds over which CPU use is sampled (default 10)
#   --no-write   print the table only
#
# Needs what scripts/install-deps.sh --tests installs (Xvfb, xdotool, Google Benchmark) and,
# for the profile of headless games, valgrind.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BENCH_BUILD_DIR:-$root/build-bench}"
runs=15
sample=10
write=1
while [[ $# -gt 0 ]]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --sample) sample="$2"; shift 2 ;;
    --no-write) write=0; shift ;;
    *) echo "usage: bench/run.sh [--runs N] [--sample S] [--no-write]" >&2; exit 2 ;;
  esac
done
command_line="bench/run.sh${*:+ $*}"

exec 3>&2
log() { printf '%s\n' "$*" >&3; }

# ---- Build ----------------------------------------------------------------------------------
log "building in $build"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSPHEROLETTE_BUILD_BENCH=ON -DSPHEROLETTE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target spherolette_shell spherolette bench_bare_window bench_probe \
  bench_bare_ticking bench_games bench_hot_paths bench_memory >/dev/null

game="$build/shell/spherolette"
bare="$build/bench/bare-window"
ticking="$build/bench/bare-ticking"
probe="$build/bench/spherolette-probe"
games="$build/bench/spherolette-games"
hotpaths="$build/bench/spherolette-hotpaths"
memory="$build/bench/spherolette-memory"

work="$(mktemp -d)"
xpid=""
cleanup() {
  local code=$?
  if [[ $code -ne 0 && -s "$work/programs.log" ]]; then
    log "failed; the programs' last messages:"; tail -n 20 "$work/programs.log" >&3
  fi
  if [[ -n "$xpid" ]]; then kill "$xpid" 2>/dev/null || true; wait "$xpid" 2>/dev/null || true; fi
  if [[ -n "${BENCH_KEEP:-}" ]]; then log "kept $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
# What the programs say (ALSA finding no sound card, the game's own notes) goes to a log.
exec 2>>"$work/programs.log"

# ---- A private X server --------------------------------------------------------------------
display=""
for n in $(seq 91 140); do
  if [[ ! -e "/tmp/.X11-unix/X$n" && ! -e "/tmp/.X$n-lock" ]]; then display=":$n"; break; fi
done
[[ -n "$display" ]] || { log "no free X display number"; exit 1; }
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xpid=$!
for _ in $(seq 100); do
  [[ -e "/tmp/.X11-unix/X${display#:}" ]] && break
  sleep 0.05
done
export DISPLAY="$display"
log "Xvfb on $DISPLAY (pid $xpid)"

settings="$work/settings.txt"
seed=12345
difficulty=2
# Field of a probe line: value KEY LINE
field() { sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" <<<"$2"; }
median() { sort -g | awk '{v[NR]=$1} END {if (NR==0) print "n/a"; else if (NR%2) print v[(NR+1)/2]; else printf "%.2f\n", (v[NR/2]+v[NR/2+1])/2}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }
verdict() { awk -v v="$1" -v t="$2" 'BEGIN { print (v != "n/a" && v <= t) ? "met" : "MISSED" }'; }
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

# ---- Start-up ------------------------------------------------------------------------------
log "start-up: $runs runs each, interleaved (one warm-up run each first)"
"$probe" -- "$bare" --report-first-frame >/dev/null || true
"$probe" -- "$game" --scale 1 --settings "$settings" --report-first-frame >/dev/null || true
"$probe" -- "$game" --headless --report-first-frame >/dev/null || true
# The bare program again with the game's own shared libraries loaded into it (and nothing of
# them used): how much of the difference is only loading libraries.
game_libs=$(readelf -d "$game" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p' |
  grep -v -e '^libc\.so' -e '^ld-linux' | tr '\n' ':' | sed 's/:$//')
: >"$work/bare.start"; : >"$work/game.start"; : >"$work/headless.start"; : >"$work/barelibs.start"
for _ in $(seq "$runs"); do
  "$probe" -- "$bare" --report-first-frame >>"$work/bare.start"
  LD_PRELOAD="$game_libs" "$probe" --settle 500 --sample 100 -- "$bare" --report-first-frame \
    >>"$work/barelibs.start"
  "$probe" -- "$game" --scale 1 --settings "$settings" --report-first-frame >>"$work/game.start"
  "$probe" -- "$game" --headless --report-first-frame >>"$work/headless.start"
done
col() { sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p" "$2"; }
bare_rep=$(col reported_ms "$work/bare.start" | median)
game_rep=$(col reported_ms "$work/game.start" | median)
head_rep=$(col reported_ms "$work/headless.start" | median)
bare_exec=$(col launch_ms "$work/bare.start" | median)
game_exec=$(col launch_ms "$work/game.start" | median)
head_exec=$(col launch_ms "$work/headless.start" | median)
head_peak=$(col maxrss_kb "$work/headless.start" | median)
libs_exec=$(col launch_ms "$work/barelibs.start" | median)
libs_peak=$(col peak_kb "$work/barelibs.start" | median)
start_ratio=$(ratio "$game_exec" "$bare_exec")

# ---- Memory and CPU ------------------------------------------------------------------------
log "idle: bare waiting loop, ${sample} s"
bare_idle=$("$probe" --settle 2000 --sample "$((sample * 1000))" --xserver "$xpid" \
  --smaps "$work/bare.smaps" -- "$bare" --report-first-frame)
log "idle: bare program woken every 20 ms, as by the game's clock, ${sample} s"
bare_ticking=$("$probe" --settle 2000 --sample "$((sample * 1000))" --xserver "$xpid" -- \
  "$ticking" --report-first-frame --wake-ms 20)
log "idle: bare program woken every 20 ms, showing a changed square 20 times a second, ${sample} s"
bare_showing=$("$probe" --settle 2000 --sample "$((sample * 1000))" --xserver "$xpid" -- \
  "$ticking" --report-first-frame --wake-ms 20 --presents-per-s 20)
log "idle: title screen, ${sample} s"
title=$("$probe" --settle 2000 --sample "$((sample * 1000))" --xserver "$xpid" -- \
  "$game" --scale 1 --settings "$settings" --seed "$seed" --report-first-frame)

# Where the first move of a game at this seed can be made: the same seed gives the same
# opening wave in a window, since only waves draw random numbers.
read -r bx by fx fy tx ty < <("$games" --plan --seed "$seed" --difficulty "$difficulty")
cat >"$work/start-game.sh" <<SCRIPT
#!/usr/bin/env bash
set -e
w=\$(xdotool search --sync --onlyvisible --pid "\$PROBE_PID" | head -n 1)
xdotool mousemove --window "\$w" $bx $by click 1
sleep 0.5
xdotool mousemove --window "\$w" $fx $fy mousedown 1
for i in 1 2 3 4 5 6 7 8; do
  xdotool mousemove --window "\$w" \$(( $fx + ($tx - $fx) * i / 8 )) \$(( $fy + ($ty - $fy) * i / 8 ))
  sleep 0.02
done
xdotool mouseup 1
xdotool mousemove --window "\$w" 520 410
SCRIPT
chmod +x "$work/start-game.sh"
log "playing: a game with the move clock running, ${sample} s"
ingame=$("$probe" --then "$work/start-game.sh" --settle 2000 --sample "$((sample * 1000))" \
  --xserver "$xpid" --smaps "$work/game.smaps" -- "$game" --scale 1 --settings "$settings" --seed "$seed" --report-first-frame)

# ---- Where the memory goes ------------------------------------------------------------------
log "memory, step by step (headless)"
"$memory" >"$work/memory.md" 2>>"$work/programs.log" || echo "(spherolette-memory failed)" >"$work/memory.md"
# Resident memory of the windowed game in a game and of the bare program, by what is mapped:
# each file (a library, a font, the game library) by its name, anonymous memory by kind.
# Rows are the game's excess over the bare program, largest first; small ones are added up.
by_mapping() {
  awk '
    /^[0-9a-f]+-[0-9a-f]+ / {
      name = (NF >= 6) ? $6 : "anonymous"
      if (name ~ /^\//) { sub(/.*\//, "", name) } else if (name !~ /^\[(heap|stack)\]$/) { name = "anonymous (" (NF >= 6 ? $6 : "mmap") ")" }
      if (name == "anonymous (mmap)") name = "anonymous mappings (malloc arenas, thread stacks, buffers)"
      next }
    /^Rss:/ { kb[name] += $2 }
    END { for (n in kb) printf "%s\t%d\n", n, kb[n] }
  ' "$1"
}
mapping_table() {
  [[ -s "$work/game.smaps" && -s "$work/bare.smaps" ]] || { echo "(no smaps read)"; return; }
  by_mapping "$work/game.smaps" >"$work/game.maps"
  by_mapping "$work/bare.smaps" >"$work/bare.maps"
  awk -F '\t' '
    FNR == NR { game[$1] = $2; next }
    { bare[$1] = $2 }
    END {
      for (n in game) names[n] = 1
      for (n in bare) names[n] = 1
      for (n in names) { d = game[n] - bare[n]; tg += game[n]; tb += bare[n]
        if (d >= 100 || d <= -100) printf "%d\t%s\t%d\t%d\n", d, n, game[n], bare[n]
        else { og += game[n]; ob += bare[n] } }
      printf "%d\t%s\t%d\t%d\n", og - ob, "everything else (under 0.1 MB each)", og, ob
      printf "%d\t%s\t%d\t%d\n", -1e9, "total resident (smaps)", tg, tb
    }
  ' "$work/game.maps" "$work/bare.maps" | sort -t "$(printf '\t')" -k1,1 -rn |
    awk -F '\t' '{ printf "| %s | %.2f MB | %.2f MB | %+.2f MB |\n", $2, $3 / 1024, $4 / 1024, ($3 - $4) / 1024 }'
}
maps=$(mapping_table)

# ---- Hot paths -----------------------------------------------------------------------------
log "hot paths (Google Benchmark)"
"$hotpaths" --benchmark_format=json --benchmark_min_time=0.5 2>>"$work/programs.log" >"$work/hot.json"
# One line per benchmark from the JSON report: name, CPU time per call in microseconds, and
# its counters.
awk '
  /"name":/ { gsub(/[",]/, "", $2); name = $2 }
  /"cpu_time":/ { gsub(/,/, "", $2); cpu = $2 }
  /"time_unit":/ { gsub(/[",]/, "", $2); u = $2
    t = cpu; if (u == "ns") t /= 1000; else if (u == "ms") t *= 1000
    us[name] = t; order[++n] = name }
  /"px_per_tick":/ { gsub(/,/, "", $2); px[name] = $2 }
  END { for (i = 1; i <= n; i++) printf "%s %.2f %s\n", order[i], us[order[i]], (order[i] in px) ? px[order[i]] : "-" }
' "$work/hot.json" >"$work/hot.txt"
hot() { awk -v n="$1" '$1 == n { print $2 }' "$work/hot.txt"; }
hot_px=$(awk '$1 == "BM_OnClockTickAndCompose" { printf "%.0f", $3 }' "$work/hot.txt")

# ---- Headless games ------------------------------------------------------------------------
# With the shell's player bot, whole played games; without it, games of one move after which
# the clock brings waves until the board is full (the same code paths, fewer moves).
log "headless games"
bot=0
if "$game" --help 2>/dev/null | grep -q -- '--autoplay-games'; then bot=1; fi
bot_games=20
bot_run() {  # games difficulty -> games per second of wall time
  local start end
  start=$(date +%s%N)
  "$game" --headless --autoplay --autoplay-games "$1" --autoplay-difficulty "$2" --seed "$seed" \
    >/dev/null || { echo "failed"; return; }
  end=$(date +%s%N)
  awk -v g="$1" -v ns="$((end - start))" 'BEGIN { printf "%.2f", g / (ns / 1e9) }'
}
if [[ "$bot" == 1 ]]; then
  tp_bot_easy=$(bot_run "$bot_games" 0)
  tp_bot_hard=$(bot_run "$bot_games" 4)
fi
tp_easy=$("$games" --games 10 --difficulty 0 --seed "$seed")
tp_hard=$("$games" --games 30 --difficulty 4 --seed "$seed")
top5="(valgrind not installed)"
profiled="none"
if command -v valgrind >/dev/null; then
  log "profiling headless games with callgrind"
  if [[ "$bot" == 1 ]]; then
    profiled="the player bot, 3 games at Very Hard"
    valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
      "$game" --headless --autoplay --autoplay-games 3 --autoplay-difficulty 4 --seed "$seed" \
      >/dev/null 2>"$work/callgrind.log" || true
  else
    profiled="3 one-move games at Very Hard"
    valgrind --tool=callgrind --callgrind-out-file="$work/callgrind.out" \
      "$games" --games 3 --difficulty 4 --seed "$seed" >/dev/null 2>"$work/callgrind.log" || true
  fi
  callgrind_annotate --inclusive=no --threshold=100 --auto=no "$work/callgrind.out" >"$work/callgrind.txt"
  # Costs are listed per file and function; a function inlined into several files is added
  # up under its own name.
  awk '
    /PROGRAM TOTALS/ { total = $1; gsub(/,/, "", total); next }
    /file:function/ { listing = 1; next }
    listing && /^$/ { listing = 0 }
    listing && /^ *[0-9,]+ \( *[0-9.]+%\)  / {
      line = $0; sub(/^ */, "", line)
      cost = line; sub(/ .*/, "", cost); gsub(/,/, "", cost)
      fn = line; sub(/^[^)]*\)  /, "", fn); sub(/ \[[^]]*\]$/, "", fn); sub(/^[^:]*:/, "", fn)
      sub(/\(.*/, "", fn)
      sum[fn] += cost }
    END { for (f in sum) printf "%.0f %.1f %s\n", sum[f], 100 * sum[f] / total, f }
  ' "$work/callgrind.txt" | sort -rn >"$work/callgrind.top"
  top5=$(head -n 5 "$work/callgrind.top" | awk '{printf "%s%s %s%%", (NR > 1 ? "; " : ""), $3, $2}')
fi

# ---- Table ---------------------------------------------------------------------------------
bare_peak=$(field peak_kb "$bare_idle"); bare_rss=$(field rss_kb "$bare_idle")
title_peak=$(field peak_kb "$title"); title_rss=$(field rss_kb "$title")
game_peak=$(field peak_kb "$ingame"); game_rss=$(field rss_kb "$ingame")
peak_ratio=$(ratio "$(( title_peak > game_peak ? title_peak : game_peak ))" "$bare_peak")
bare_cpu=$(field cpu_pct "$bare_idle"); bare_x=$(field x_cpu_pct "$bare_idle")
title_cpu=$(field cpu_pct "$title"); title_x=$(field x_cpu_pct "$title")
game_cpu=$(field cpu_pct "$ingame"); game_x=$(field x_cpu_pct "$ingame")
ticking_cpu=$(field cpu_pct "$bare_ticking"); showing_cpu=$(field cpu_pct "$bare_showing")
tick_us=$(hot BM_OnClockTick)

table=$(cat <<TABLE
| Measure | Game | Bare SDL2 | Ratio | Target | Verdict |
| --- | --- | --- | --- | --- | --- |
| Start-up, exec to first frame, Xvfb (probe clock, median of $runs) | $game_exec ms | $bare_exec ms | $start_ratio | ≤ 1.4x | $(verdict "$start_ratio" 1.4) |
| Start-up, first-frame-ms as printed, Xvfb (median; 10 ms steps) | $game_rep ms | $bare_rep ms | $(ratio "$game_rep" "$bare_rep") | | |
| Bare SDL2 program with the game's shared libraries loaded (unused): start-up, peak memory | | $libs_exec ms, $(mb "$libs_peak") MB | $(ratio "$libs_exec" "$bare_exec"), $(ratio "$libs_peak" "$bare_peak") | | |
| Start-up headless, exec to first frame (printed) | $head_exec ms ($head_rep) | | | | |
| Peak memory (VmHWM), title / game | $(mb "$title_peak") / $(mb "$game_peak") MB | $(mb "$bare_peak") MB | $peak_ratio | ≤ 1.6x | $(verdict "$peak_ratio" 1.6) |
| Steady memory (VmRSS), title / game | $(mb "$title_rss") / $(mb "$game_rss") MB | $(mb "$bare_rss") MB | $(ratio "$game_rss" "$bare_rss") | | |
| Peak memory headless run | $(mb "$head_peak") MB | | | | |
| CPU on the title screen (animations running), ${sample} s | ${title_cpu}% | ${bare_cpu}% (waiting loop) | | ≤ 0.5% | $(verdict "$title_cpu" 0.5) |
| X server CPU, title screen | ${title_x}% | ${bare_x}% | | | |
| CPU in a game, clock running, ${sample} s | ${game_cpu}% | ${bare_cpu}% | | ≤ 0.5% | $(verdict "$game_cpu" 0.5) |
| The floor of a game's clock: the bare program woken every 20 ms / also showing a changed 32 x 32 square 20 times a second | ${game_cpu}% | ${ticking_cpu}% / ${showing_cpu}% | $(ratio "$game_cpu" "$ticking_cpu") / $(ratio "$game_cpu" "$showing_cpu") | | |
| X server CPU, in a game | ${game_x}% | ${bare_x}% | | < 1% | $(verdict "$game_x" 0.999) |
| OnClockTick, busy board (56 bubbles, 5 pops); CPU time per call here and below | $tick_us µs | | | < 20 µs | $(verdict "$tick_us" 19.999) |
| OnClockTick + compose of what it changed | $(hot BM_OnClockTickAndCompose) µs ($hot_px px) | | | | |
| SpawnBubble, one empty cell left (every colour makes a line) | $(hot BM_SpawnBubbleLastCell) µs | | | | |
| CheckLines probe, busy board without lines | $(hot BM_CheckLinesProbe) µs | | | | |
| CheckLines apply, two crossing runs of five | $(hot BM_CheckLinesApply) µs | | | | |
| DrawMarkup of the help page | $(hot BM_DrawMarkupHelpPage) µs | | | | |
| Full frame composition, game screen | $(hot BM_ComposeFullGameFrame) µs | | | | |
$(if [[ "$bot" == 1 ]]; then
  echo "| Headless games played by the bot, Very Easy / Very Hard ($bot_games each) | $tp_bot_easy / $tp_bot_hard games/s | | | | |"
fi)
| Headless games, Very Easy (one move, then the clock) | $(field games_per_s "$tp_easy") games/s ($(field virtual_s_per_game "$tp_easy") s of game time each) | | | | |
| Headless games, Very Hard | $(field games_per_s "$tp_hard") games/s ($(field virtual_s_per_game "$tp_hard") s each) | | | | |
| Headless games, Very Hard: the most the game's own clock work allows (50 ticks a second of game time × OnClockTick) | $(awk -v v="$(field virtual_s_per_game "$tp_hard")" -v t="$tick_us" 'BEGIN { if (v > 0 && t > 0) printf "%.1f", 1e6 / (v * 50 * t); else print "-" }') games/s | | | | |
| Most time in headless games (callgrind, self cost; $profiled) | $top5 | | | | |
TABLE
)

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
machine="$(lscpu 2>/dev/null | sed -n 's/^Model name: *//p' | head -n 1), $(nproc) cores, $(free -g | awk '/^Mem:/ {print $2}') GiB, $(uname -sr); load average $load_before at the end"
block=$(cat <<BLOCK
## $(date -u '+%Y-%m-%d %H:%M UTC')

Machine: $machine. Command: \`$command_line\` (build: RelWithDebInfo, window scale 1, Xvfb 1280x1024x24, difficulty $difficulty, seed $seed).

$table

Resident memory of the window program in a game against the bare program, by mapping (each
file by name, anonymous memory by kind; \`spherolette-probe --smaps\` at the sample point):

| Mapping | Game | Bare SDL2 | Game beyond bare |
| --- | --- | --- | --- |
$maps

The game step by step, headless with the window's sound bank (\`spherolette-memory\`:
resident set from /proc/self/smaps, heap in use from mallinfo2, and what the shell's own
objects hold):

$(cat "$work/memory.md")
BLOCK
)
printf '%s\n' "$block"

if [[ "$write" == 1 ]]; then
  results="$root/bench/RESULTS.md"
  {
    echo "# Benchmark results"
    echo
    echo "Newest first. Each block is one run of bench/run.sh; ratios compare against the bare"
    echo "SDL2 program measured in the same run. Notes on the figures are in bench/README.md."
    echo
    printf '%s\n' "$block"
    if [[ -f "$results" ]]; then
      echo
      awk 'found {print} /^## / && !found {found=1; print}' "$results"
    fi
  } >"$work/RESULTS.md"
  mv "$work/RESULTS.md" "$results"
  log "written to bench/RESULTS.md"
fi
