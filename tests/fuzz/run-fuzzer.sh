#!/usr/bin/env bash
# Runs a libFuzzer program for a bounded time from the committed seeds.
# usage: run-fuzzer.sh FUZZER SECONDS MAX_LEN SEEDS ARTIFACTS
# New inputs go to a scratch directory, so the committed seeds never change. A failing input is
# kept in ARTIFACTS and the run fails.
set -euo pipefail
fuzzer=$1 seconds=$2 max_len=$3 seeds=$4 artifacts=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$artifacts"

status=0
"$fuzzer" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$artifacts/$(basename "$fuzzer")-" \
  "$work" "$seeds" >"$work/log" 2>&1 || status=$?

if [ "$status" -ne 0 ]; then
  tail -n 60 "$work/log"
  echo "$(basename "$fuzzer"): failed (status $status); the input is in $artifacts" >&2
  exit 1
fi
# The figures, for whoever reads the log.
grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$work/log" || true
grep -E 'DONE' "$work/log" | tail -n 1 || true
