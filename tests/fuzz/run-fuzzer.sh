#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a libFuzzer program for a bounded time from the committed seeds; new inputs go to a scratch
# directory, so the seeds never change. A failing input is kept in ARTIFACTS and the run fails.
# usage: run-fuzzer.sh FUZZER SECONDS MAX_LEN SEEDS ARTIFACTS
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$5"
"$1" -max_total_time="$2" -max_len="$3" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$5/$(basename "$1")-" "$work" "$4" 2>&1 | tail -n 60
