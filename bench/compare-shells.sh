#!/usr/bin/env bash
# Measures two builds of the shell against each other, run by run interleaved so both see the
# same machine: start-up (exec to the first frame, on the probe's clock) and peak memory,
# headless and in a window under Xvfb. Prints medians and the ratios AFTER / BEFORE.
# Usage: bench/compare-shells.sh BEFORE AFTER [RUNS]   (two spherolette programs; RUNS: 30)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
before="$(realpath "$1")" after="$(realpath "$2")" runs="${3:-30}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
c++ -O2 -std=c++20 -o "$work/probe" "$root/bench/Probe.cpp"

# One warm-up run of each (the shell remembers its font lookups), then the pairs.
cat >"$work/pairs.sh" <<SCRIPT
#!/usr/bin/env bash
mode=\$1; shift
for program in "$before" "$after"; do "$work/probe" -- "\$program" "\$@" >/dev/null || true; done
for ((i = 0; i < $runs; i++)); do
  "$work/probe" -- "$before" "\$@" >>"$work/\$mode.before"
  "$work/probe" -- "$after" "\$@" >>"$work/\$mode.after"
done
SCRIPT
chmod +x "$work/pairs.sh"
"$work/pairs.sh" headless --headless --report-first-frame
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1024x768x24" "$work/pairs.sh" window --scale 1 \
    --settings "$work/settings.txt" --report-first-frame 2>/dev/null || true
fi

value() { sed -n "s/.*\\b$1=\\([^ ]*\\).*/\\1/p"; }
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
printf '%-9s %-28s %10s %10s %7s\n' mode "measure (median of $runs)" before after ratio
for mode in headless window; do
  [[ -s "$work/$mode.before" ]] || continue
  for key in launch_ms maxrss_kb; do
    b=$(value "$key" <"$work/$mode.before" | median)
    a=$(value "$key" <"$work/$mode.after" | median)
    printf '%-9s %-28s %10s %10s %7.3f\n' "$mode" "$key" "$b" "$a" "$(echo "$a / $b" | bc -l)"
  done
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
