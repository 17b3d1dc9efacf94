#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# CPU time of the browser, with no page, over a while: alone, with the clock window shown, and with
# it hidden after Back, in % of one core. Runs it on its own Xvfb screen; vel-trial clicks as a user.
#   bench/clock_cpu.sh [BUILD_DIR] [SECONDS]    BUILD_DIR (build-release) built with the benchmarks
# Prints figures; asserts nothing.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$here/build-release}")
seconds=${2:-10}
[ -x "$build/bench/vel-trial" ] || {
  echo "clock_cpu: $build/bench/vel-trial is missing; build with -DVEL_BUILD_BENCH=ON" >&2
  exit 1
}
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# The display's session is chatty: its output is shown only when the run fails.
"$here/tests/support/with-xvfb.sh" "$build/bench/vel-trial" --title Vel --idle "$seconds" \
  --clock-title "Time Zone" --clock-at 372,64 --back-at 276,20 -- "$build/vel-browser" \
  2>"$log" || { tail -n 20 "$log" >&2; exit 1; }
