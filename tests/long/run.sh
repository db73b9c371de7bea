#!/usr/bin/env bash
# The longer checks: fuzzing, and (when present) the end-to-end window test and the soak.
# Usage: tests/long/run.sh BUILD_DIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?build directory}"
status=0
"$here/fuzz.sh" "${SPHEROLETTE_FUZZ_SECONDS:-45}" || status=1
for check in e2e soak package; do  # each takes the build directory
  if [[ -x "$here/$check.sh" ]]; then
    echo "--- $check"
    "$here/$check.sh" "$build" || status=1
  fi
done
exit $status
