#!/usr/bin/env bash
# Makes the README's screenshots with the headless shell: the title screen and a game in
# progress (a fixed seed and a fixed list of drags, so the pictures only change with the game).
# Usage: scripts/update-screenshots.sh [BUILD]   (default build/)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
out="$root/docs/screenshots"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
shell="$build/shell/spherolette"

{
  echo "screenshot $out/title.png"
  echo "click 130 305"   # Medium
  echo "wait 500"
  for k in $(seq 0 59); do
    echo "drag-cell $(((k * 7 + 3) % 64)) $(((k * 13 + 5) % 64))"
    echo "wait 300"
  done
  echo "screenshot $out/game.png"
} > "$work/script.txt"
"$shell" --headless --seed 20261208 --settings "$work/settings.txt" --script "$work/script.txt"
cp "$build/resources/contact-sheet.png" "$root/docs/contact-sheet.png"
echo "wrote $out/title.png, $out/game.png and docs/contact-sheet.png"
