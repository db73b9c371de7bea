#!/usr/bin/env bash
# End to end in a real window: installs the build into a temporary prefix, starts the
# installed program under its own Xvfb and plays it with xdotool as a person would: choose
# "Medium", drag a bubble onto an empty cell, drag one off the board (it snaps back), open
# the help page with F1, quit during the game (No, then Yes to the question), start again,
# type "credits" on the title screen and go back with "Return to Game", then close the window.
# What the window shows is read from screenshots at chosen pixels. On failure the screenshots
# and logs are kept and named.
# Usage: tests/long/e2e.sh BUILD_DIR
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?build directory}"
seed="${E2E_SEED:-42}"
started=$(date +%s.%N)

work="$(mktemp -d)"
prefix="$work/prefix"
shots="$work/shots"
mkdir -p "$shots" "$work/home"
xvfb_pid=""
game_pid=""
failed=0

cleanup() {
  [[ -n "$game_pid" ]] && kill "$game_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  if [[ $failed == 0 && -z "${E2E_KEEP:-}" ]]; then rm -rf "$work"; else echo "e2e: files in $work"; fi
}
trap cleanup EXIT

fail() {
  failed=1
  echo "e2e: FAILED: $*" >&2
  echo "e2e: screenshots and logs kept in $work" >&2
  for f in "$work"/game*.err; do [[ -s "$f" ]] && { echo "--- $f" >&2; tail -n 20 "$f" >&2; }; done
  exit 1
}
step() { echo "e2e: $*"; }

for tool in Xvfb xdotool import convert cc; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (packages xvfb, xdotool, imagemagick)"
done

# ---- Install and a helper that closes a window as a window manager's close button does ----
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || fail "cmake --install failed"
program="$prefix/bin/spherolette"
[[ -x "$program" ]] || fail "nothing installed at $program"
cc -O1 -o "$work/close_window" "$here/../e2e/close_window.c" -lX11 2>"$work/cc.log" ||
  fail "cannot build the close_window helper (libx11-dev)"
cc -O1 -o "$work/board_cells" "$here/../e2e/board_cells.c" -lX11 2>>"$work/cc.log" ||
  fail "cannot build the board_cells helper (libx11-dev)"

# ---- A display of our own -----------------------------------------------------------------
display=""
for n in 97 98 99 101 103 107 109 113; do
  if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then display=":$n"; break; fi
done
[[ -n "$display" ]] || fail "no free X display number"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb did not start on $display"

# ---- Looking at the window ----------------------------------------------------------------
wid=""
wx=0
wy=0
shot_count=0
shot=""

start_game() {
  local name="$1"
  HOME="$work/home" XDG_DATA_HOME="$work/home/data" SDL_AUDIODRIVER=dummy \
    "$program" --seed "$seed" --scale 1 >"$work/$name.out" 2>"$work/$name.err" &
  game_pid=$!
  wid="$(timeout 20 xdotool search --sync --onlyvisible --name '^Spherolette$' 2>/dev/null | head -n 1)"
  [[ -n "$wid" ]] || fail "the window did not appear"
  local geometry WIDTH=0 HEIGHT=0 X=0 Y=0
  geometry="$(xdotool getwindowgeometry --shell "$wid")" || fail "no geometry for window $wid"
  eval "$geometry"
  [[ $WIDTH == 530 && $HEIGHT == 420 ]] || fail "the window is ${WIDTH}x$HEIGHT, not 530x420 at --scale 1"
  wx=$X
  wy=$Y
  xdotool windowfocus --sync "$wid" 2>/dev/null || true
}

# Takes a screenshot of the window into $shot (numbered, kept on failure).
take_shot() {
  shot_count=$((shot_count + 1))
  shot="$shots/$(printf '%02d' $shot_count)-$1.png"
  for _ in 1 2 3; do
    import -window root -crop "530x420+$wx+$wy" +repage "$shot" 2>/dev/null && return 0
    sleep 0.2
  done
  fail "cannot take a screenshot"
}

# "R G B" of a window pixel in the last screenshot.
pixel() {
  convert "$shot" -format "%[fx:int(255*u.p{$1,$2}.r+0.5)] %[fx:int(255*u.p{$1,$2}.g+0.5)] %[fx:int(255*u.p{$1,$2}.b+0.5)]" info:
}

# True when pixel (x, y) is within 12 of colour "R G B" in every component.
near() {
  local x="$1" y="$2" r g b
  read -r r g b <<<"$(pixel "$x" "$y")"
  local want=($3)
  for i in 0 1 2; do
    local got=$(( i == 0 ? r : (i == 1 ? g : b) ))
    local d=$((got - want[i]))
    ((d < -12 || d > 12)) && return 1
  done
  return 0
}

teal="51 153 153"
tile_edge="74 124 128"    # the edge of a board tile
tile_middle="197 222 223" # an empty cell's middle
frame_dark="0 51 51"      # the frame around the title screen's sample animation
help_orange="255 153 0"

is_title() { near 346 240 "$frame_dark" && near 428 240 "$teal" && ! is_help; }
is_game() { near 8 133 "$tile_edge" && near 253 378 "$tile_edge" && ! is_help; }
is_help() { near 500 400 "$help_orange" && near 11 404 "$help_orange"; }
is_credits() {
  ! is_title && ! is_game && ! is_help && near 11 404 "$teal" &&
    [[ "$(convert "$shot" -crop 330x12+100+11 +repage -colorspace gray -format '%[fx:int(255*minima)]' info:)" -lt 40 ]]
}
# What the window shows of the board's side: the cells, and a dialog's place (board_cells.c).
look() { "$work/board_cells" "$wid"; }
board() { look | head -n 8 | tr -d '\n'; }
dialog_at() { look | sed -n 's/^dialog //p'; }
# The shell's question box, drawn above the board; the name prompt, with its white field.
is_question() { [[ "$(dialog_at)" != none ]] && look | grep -q '^field no'; }
is_prompt() { [[ "$(dialog_at)" != none ]] && look | grep -q '^field yes'; }
# Milliseconds since the epoch, and a wait for the program to end that says how long it took.
now_ms() { date +%s%3N; }
wait_for_exit() {
  local since="$1" what="$2"
  for _ in $(seq 300); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.01; done
  kill -0 "$game_pid" 2>/dev/null && fail "the program did not end $what"
  echo "e2e: the program ended $(($(now_ms) - since)) ms $what"
  wait "$game_pid"
  code=$?
  game_pid=""
}

# Waits up to 10 s for a view, taking screenshots as it goes.
wait_for() {
  local what="$1" label="$2"
  for _ in $(seq 40); do
    take_shot "$label"
    "$what" && return 0
    sleep 0.25
  done
  fail "waited 10 s for $label; the last screenshot is $shot"
}

cell_x() { echo $((9 + 35 * $1 + 16)); }
cell_y() { echo $((134 + 35 * $1 + 16)); }
cell_empty() { near "$(cell_x "$1")" "$(cell_y "$2")" "$tile_middle"; }

# A press, a few moves and a release, in window pixels.
drag() {
  local x1=$1 y1=$2 x2=$3 y2=$4
  xdotool mousemove --window "$wid" "$x1" "$y1" sleep 0.1 mousedown 1 sleep 0.1
  for i in 1 2 3 4 5 6; do
    xdotool mousemove --window "$wid" $((x1 + (x2 - x1) * i / 6)) $((y1 + (y2 - y1) * i / 6)) sleep 0.05
  done
  xdotool sleep 0.1 mouseup 1
}
click() { xdotool mousemove --window "$wid" "$1" "$2" sleep 0.1 mousedown 1 sleep 0.1 mouseup 1; }

# ---- First run: a move, a refused move, help, quitting ---------------------------------------
step "starting the installed program on $display"
start_game game1
wait_for is_title "title"

step "choosing Medium"
click 140 303
wait_for is_game "game"

# Find a bubble and an empty cell on the opening board.
from="" to=""
for row in 0 1 2 3 4 5 6 7; do
  for col in 0 1 2 3 4 5 6 7; do
    if cell_empty "$col" "$row"; then
      [[ -z "$to" ]] && to="$col $row"
    else
      [[ -z "$from" ]] && from="$col $row"
    fi
  done
done
[[ -n "$from" && -n "$to" ]] || fail "no bubble and empty cell on the opening board ($shot)"
read -r fc fr <<<"$from"
read -r tc tr <<<"$to"
step "dragging the bubble at column $fc row $fr to the empty cell at column $tc row $tr"
drag "$(cell_x "$fc")" "$(cell_y "$fr")" "$(cell_x "$tc")" "$(cell_y "$tr")"
moved=0
for _ in $(seq 20); do
  take_shot "moved"
  if ! cell_empty "$tc" "$tr" && cell_empty "$fc" "$fr"; then moved=1; break; fi
  sleep 0.25
done
[[ $moved == 1 ]] || fail "the bubble is not on its new cell, or still on its old one ($shot)"

occupied() {
  local n=0 row col
  for row in 0 1 2 3 4 5 6 7; do for col in 0 1 2 3 4 5 6 7; do cell_empty "$col" "$row" || n=$((n + 1)); done; done
  echo "$n"
}
before="$(occupied)"

step "dragging it off the board: it goes back and nothing else changes"
drag "$(cell_x "$tc")" "$(cell_y "$tr")" 420 230
sleep 0.5
take_shot "snapped-back"
cell_empty "$tc" "$tr" && fail "the bubble dropped off the board did not come back to its cell ($shot)"
is_game || fail "the game screen is not shown after the refused drop ($shot)"
[[ "$(occupied)" == "$before" ]] || fail "a refused drop changed the number of bubbles ($shot)"

step "F1 shows the help page; Escape closes it"
xdotool key --clearmodifiers F1
wait_for is_help "help"
xdotool key --clearmodifiers Escape
wait_for is_game "help-closed"

step "closing the window during a game asks first: No keeps playing"
"$work/close_window" "$wid" || fail "cannot send the close request"
wait_for is_question "asked"
xdotool key --clearmodifiers n
sleep 0.5
kill -0 "$game_pid" 2>/dev/null || fail "the program ended although the question was answered No"
wait_for is_game "still-playing"

step "closing again and answering Yes ends the program"
"$work/close_window" "$wid" || fail "cannot send the close request"
wait_for is_question "asked-again"
xdotool key --clearmodifiers y
wait_for_exit "$(now_ms)" "after Yes"
[[ $code == 0 ]] || fail "the first run ended with status $code"

# ---- Second run: the credits ---------------------------------------------------------------
step "starting again; typing \"credits\" on the title screen"
start_game game2
wait_for is_title "title-again"
xdotool type --delay 60 credits
wait_for is_credits "credits"

step "Return to Game leads back to the title screen"
click 418 407
wait_for is_title "title-after-credits"

step "closing the window on the title screen ends the program at once"
"$work/close_window" "$wid" || fail "cannot send the close request"
wait_for_exit "$(now_ms)" "after its window was closed on the title screen"
[[ $code == 0 ]] || fail "the second run ended with status $code"
settings="$work/home/data/spherolette/settings.txt"
grep -q "Spherolette.Score1Name=" "$settings" 2>/dev/null ||
  fail "the scores were not saved in the user's data directory"

# ---- Third and fourth runs: pause, help, the end of a game and the name -------------------
# A table of five zero scores, so that any game ends with the name prompt.
{
  echo "# spherolette settings 1"
  for r in 1 2 3 4 5; do echo "Spherolette.Score${r}Name=Nobody"; echo "Spherolette.Score${r}Score=0"; done
} >"$settings"

# Moves bubbles to empty cells until a dialog shows (waves fill the board: the game ends).
play_until_dialog() {
  local cells from to i
  for _ in $(seq 200); do
    [[ "$(dialog_at)" != none ]] && return 0
    cells="$(board)"
    from="" to=""
    for ((i = 0; i < 64; i++)); do
      [[ -z "$from" && "${cells:i:1}" == o ]] && from=$i
      [[ -z "$to" && "${cells:i:1}" == . ]] && to=$i
    done
    [[ -z "$from" || -z "$to" ]] && { sleep 0.2; continue; }
    drag "$(cell_x $((from % 8)))" "$(cell_y $((from / 8)))" "$(cell_x $((to % 8)))" "$(cell_y $((to / 8)))"
    sleep 0.2
  done
  fail "the game did not end in 200 moves"
}

step "Escape on the title screen pauses nothing"
start_game game3
wait_for is_title "title-third"
xdotool key --clearmodifiers Escape
sleep 0.3
take_shot "title-after-escape"
is_title || fail "Escape on the title screen changed what it shows ($shot)"

step "choosing Very Hard; a pause hides the board and the next phase"
click 140 347
wait_for is_game "very-hard"
play_until_moved() {
  local cells from="" to="" i
  cells="$(board)"
  for ((i = 0; i < 64; i++)); do
    [[ -z "$from" && "${cells:i:1}" == o ]] && from=$i
    [[ -z "$to" && "${cells:i:1}" == . ]] && to=$i
  done
  drag "$(cell_x $((from % 8)))" "$(cell_y $((from / 8)))" "$(cell_x $((to % 8)))" "$(cell_y $((to / 8)))"
}
play_until_moved  # the first move starts the game's clock
sleep 0.5
xdotool key --clearmodifiers Escape
sleep 0.3
take_shot "paused"
[[ "$(board)" == "$(printf '#%.0s' $(seq 64))" ]] || fail "the pause left board cells in view ($shot)"
near 400 300 "$frame_dark" || fail "the pause left the next phase's score in view ($shot)"
xdotool key --clearmodifiers Escape
sleep 2
take_shot "after-count-in"
is_game || fail "the game did not come back after the count-in ($shot)"

step "the help page holds the game's clock: no wave arrives while it is read"
before_help="$(board)"
xdotool key --clearmodifiers F1
wait_for is_help "help-in-game"
sleep 6  # longer than the clock gives a move at Very Hard
xdotool key --clearmodifiers Escape
sleep 1.6  # the count-in hides the board; the clock runs again after it
[[ "$(board)" == "$before_help" ]] || fail "the board changed while the help page was shown"

step "playing on until the board is full: the name prompt"
play_until_dialog
wait_for is_prompt "name-prompt"
xdotool type --delay 80 'Zoë <3'
xdotool key --clearmodifiers Return
wait_for is_question "final-question"

step "the last picture of the game: a bubble in each of the 64 cells under the final question"
take_shot "final-question-open"
[[ "$(dialog_at)" == above ]] || fail "the final question is not above the board ($shot)"
[[ "$(board)" == "$(printf 'o%.0s' $(seq 64))" ]] ||
  fail "cells of the full board show no bubble under the final question: $(board) ($shot)"
near 490 262 "$teal" && near 380 212 "$teal" ||
  fail "the score panel is covered under the final question ($shot)"
xdotool key --clearmodifiers n
wait_for is_title "title-after-game"
LC_ALL=C grep -a -q $'LastNameEntered=Zo\xeb 3$' "$settings" ||
  fail "the name typed over the proposal was not recorded as typed: $(grep -a LastNameEntered "$settings")"

step "closing the window while the name prompt is open keeps the name and ends the program"
click 140 347
wait_for is_game "very-hard-again"
play_until_dialog
wait_for is_prompt "name-prompt-again"
xdotool type --delay 80 'Quitter'
"$work/close_window" "$wid" || fail "cannot send the close request"
wait_for_exit "$(now_ms)" "after its window was closed at the name prompt"
[[ $code == 0 ]] || fail "the fourth run ended with status $code"
grep -a -q 'Name=Quitter$' "$settings" || fail "the name in the prompt was not recorded when the window closed"
grep -a -q 'ALSA lib' "$work"/game*.err && fail "the sound system's own errors reached the log"

finished=$(date +%s.%N)
echo "e2e: passed in $(awk -v a="$started" -v b="$finished" 'BEGIN { printf "%.1f", b - a }') seconds"
