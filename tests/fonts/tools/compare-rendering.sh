#!/usr/bin/env bash
# Draws the game's texts (10 to 24 px, regular and bold) with the text engine of an earlier
# revision and with this tree's, side by side and magnified three times, into
# docs/text-rendering.png. The earlier revision is built in a scratch worktree; the default is
# the last one that drew with SDL2_ttf, so it needs libsdl2-ttf-dev, which the game itself no
# longer does.
# Usage: tests/fonts/tools/compare-rendering.sh [BUILD] [REVISION]
#   BUILD: a configured build of this tree (default: build); REVISION: default 29205ac.
set -euo pipefail
root="$(cd "$(dirname "$0")/../../.." && pwd)"
build="${1:-$root/build}"
revision="${2:-29205ac}"
work="$(mktemp -d)"
cleanup() {
  git -C "$root" worktree remove --force "$work/old" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

git -C "$root" worktree add --detach "$work/old" "$revision" >/dev/null 2>&1
# The same drawing program, built against the earlier shell.
mkdir -p "$work/old/tests/fonts/tools"
cp "$root/tests/fonts/tools/TextSheet.cpp" "$work/old/tests/fonts/tools/"
cat >> "$work/old/shell/CMakeLists.txt" <<'CMAKE'
add_executable(text_sheet ${PROJECT_SOURCE_DIR}/tests/fonts/tools/TextSheet.cpp)
target_link_libraries(text_sheet PRIVATE shell_core)
CMAKE
cmake -S "$work/old" -B "$work/old/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSPHEROLETTE_BUILD_TESTS=OFF >/dev/null
cmake --build "$work/old/build" --target text_sheet >/dev/null
cmake --build "$build" --target text_sheet >/dev/null

"$work/old/build/shell/text_sheet" draw "$work/before.png" "Before: SDL2_ttf, HarfBuzz, FreeType"
"$build/tests/fonts/text_sheet" draw "$work/now.png" "Now: stb_truetype"
convert "$work/before.png" "$work/now.png" +append +repage -filter point -resize 300% \
  "$root/docs/text-rendering.png"
echo "compare-rendering: wrote docs/text-rendering.png"
