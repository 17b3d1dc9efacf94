#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The soak run on its own Xvfb screen: many navigations with the clock window open, printing the
# memory of the whole process tree as it goes.
# usage: bench/soak.sh BUILD_DIR [--navigations N] [--report-every N] [--engine-only]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: bench/soak.sh BUILD_DIR [--navigations N] [--report-every N] [--engine-only]}
shift
[ -x "$build/bench/vel-soak" ] || {
  echo "soak: $build/bench/vel-soak is missing; build with -DVEL_BUILD_BENCH=ON" >&2
  exit 1
}

# The engine keeps its caches and settings here, not in the user's home.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CACHE_HOME=$work/cache XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
export LC_ALL=C.UTF-8
"$here/../tests/support/with-xvfb.sh" "$build/bench/vel-soak" "$@" 2>"$work/stderr" || {
  status=$?
  tail -n 40 "$work/stderr" >&2
  exit "$status"
}
