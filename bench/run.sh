#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Benchmarks Vel against the floor (the smallest gtkmm + WebKitGTK program) and prints a table.
#   bench/run.sh BUILD_DIR [RUNS]      BUILD_DIR built with -DVEL_BUILD_BENCH=ON; RUNS defaults to 5
#                                      (start-up on the tiny page: at least 20)
#   bench/run.sh BUILD_DIR RUNS start  start to caption and PSS on the tiny page only: Vel, the floor
#                                      and surf, interleaved
# Runs on its own Xvfb, with pages served on 127.0.0.1. Per-process figures of every trial are kept
# in BUILD_DIR/bench-results/ for a closer look.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: bench/run.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-5}
only=${3:-}

if [ -z "${VEL_BENCH_DISPLAY_READY:-}" ]; then
  # The display's D-Bus session and the services it starts are chatty: what they print goes to a
  # log, and our own output to fds 3 and 4.
  export VEL_BENCH_DISPLAY_READY=1
  status=0
  "$here/../tests/support/with-xvfb.sh" "$here/run.sh" "$build" "$runs" $only 3>&2 4>&1 \
    >"$build/bench-session.log" 2>&1 || status=$?
  [ "$status" -eq 0 ] || tail -n 20 "$build/bench-session.log" >&2
  exit "$status"
fi
exec 1>&4 2>&3 3>&- 4>&-

bin=$build/bench
browser=$build/vel-browser
for program in "$browser" "$bin/vel-floor" "$bin/vel-trial" "$bin/vel-pageserver" \
  "$bin/vel-done-delay" "$bin/vel-site-data" "$bin/vel-download"; do
  [ -x "$program" ] || { echo "bench: $program is missing; build with -DVEL_BUILD_BENCH=ON" >&2; exit 1; }
done

out=$build/bench-results
rm -rf "$out" && mkdir -p "$out/figures"
# The programs keep their caches and settings here, not in the user's home.
work=$(mktemp -d)
export XDG_CACHE_HOME=$work/cache XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
export LC_ALL=C.UTF-8

mkfifo "$work/port"
"$bin/vel-pageserver" >"$work/port" 2>"$out/pageserver.log" &
server=$!
cleanup() {
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
if ! read -r -t 30 port <"$work/port"; then
  echo "bench: the page server did not start" >&2
  exit 1
fi
site=http://127.0.0.1:$port

# The clock window's caption, the browser's "Time Zone" hot-spot and the clock's Back button, in
# client-area pixels of their windows.
clock=(--clock-title "Time Zone" --clock-at 372,64 --back-at 276,20)

# trial NAME [vel-trial options] -- PROGRAM ADDRESS: one trial; its figures go to figures/NAME.*
trial() {
  local name=$1
  shift
  local log=$out/$name.log
  echo "--- $(date +%T) $*" >>"$log"
  if ! "$bin/vel-trial" --details "$@" >"$work/trial" 2>>"$log"; then
    echo "bench: a trial of $name failed; see $log" >&2
  fi
  cat "$work/trial" >>"$log"
  while read -r key value; do
    echo "$value" >>"$out/figures/$name.$key"
  done <"$work/trial"
}

# Start-up on the tiny page differs by tens of milliseconds from run to run: its three programs
# run at least 20 times, for medians that hold.
start_runs=$((runs > 20 ? runs : 20))
[ "$only" = start ] && start_runs=$runs
echo "Benchmarking $runs runs each, $start_runs on the tiny page, on display $DISPLAY" \
  "(pages at $site)..." >&2
# One discarded round first: it pays for cold disk caches and first-time set-up.
"$bin/vel-trial" --title "Tiny Page" -- "$bin/vel-floor" "$site/tiny.html" >/dev/null 2>&1 || true
"$bin/vel-trial" --title "Tiny Page - Vel " -- "$browser" "$site/tiny.html" >/dev/null 2>&1 || true

for run in $(seq "$start_runs"); do
  echo "  run $run of $start_runs" >&2
  # Interleaved, so that whatever else the machine does falls on both alike.
  trial floor-tiny --title "Tiny Page" --pss-after 3 -- "$bin/vel-floor" "$site/tiny.html"
  trial vel-tiny --title "Tiny Page - Vel " --pss-after 3 -- "$browser" "$site/tiny.html"
  # surf (WebKitGTK 4.1 on GTK 3), under the same engine settings: its caption begins with its
  # indicators.
  trial surf-tiny --title-ends " | Tiny Page" --pss-after 3 -- surf "$site/tiny.html"
  [ "$only" = start ] || [ "$run" -gt "$runs" ] && continue
  # On a screen of scale 2 (GDK_SCALE=2, as on most laptops): twice the pixels to draw.
  GDK_SCALE=2 trial floor-tiny-2x --title "Tiny Page" --pss-after 3 -- "$bin/vel-floor" "$site/tiny.html"
  GDK_SCALE=2 trial vel-tiny-2x --title "Tiny Page - Vel " --pss-after 3 -- "$browser" "$site/tiny.html"
  trial floor-article --title "Benchmark Article" --pss-after 3 --idle 10 \
    -- "$bin/vel-floor" "$site/article.html"
  trial vel-article --title "Benchmark Article - Vel " --pss-after 3 --idle 10 "${clock[@]}" \
    -- "$browser" "$site/article.html"
done

if [ "$only" != start ]; then
  echo "  load-finished -> \"Done\"" >&2
  "$bin/vel-done-delay" "$runs" tiny="$site/tiny.html" article="$site/article.html" \
    >"$work/done" 2>>"$out/done-delay.log" || echo "bench: vel-done-delay failed" >&2
  cat "$work/done" >>"$out/done-delay.log"
  while read -r _ page value; do
    echo "$value" >>"$out/figures/done-$page.delay_ms"
  done <"$work/done"

  echo "  a 64 MB download" >&2
  "$bin/vel-download" "$runs" "$site/file.bin" >"$work/download" 2>>"$out/download.log" ||
    echo "bench: vel-download failed" >&2
  cat "$work/download" >>"$out/download.log"
  while read -r _ _ seconds rate cpu updates; do
    [ "$seconds" = n/a ] && continue
    echo "$rate" >>"$out/figures/download.rate"
    echo "$cpu" >>"$out/figures/download.cpu_ms"
    echo "$updates" >>"$out/figures/download.updates"
  done <"$work/download"
fi

# --- The table ---------------------------------------------------------------------------------

# stats FILE: "min median max" of the numbers in FILE, or nothing when it has none.
stats() {
  [ -f "$1" ] || return 0
  grep -E '^-?[0-9.]+$' "$1" | sort -g | awk '
    { v[NR] = $1 }
    END {
      if (NR == 0) exit
      m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
      print v[1], m, v[NR]
    }'
}

# row LABEL UNIT VEL_FILE FLOOR_FILE TARGET_KIND TARGET_VALUE
#   TARGET_KIND: ratio (Vel median <= VALUE x floor median), below (Vel max < VALUE),
#   atmost (Vel max <= VALUE), or none.
row() {
  local label=$1 unit=$2 vel=$3 floor=$4 kind=$5 value=${6:-}
  local v f
  v=$(stats "$out/figures/$vel")
  f=$([ -n "$floor" ] && stats "$out/figures/$floor" || true)
  awk -v label="$label" -v unit="$unit" -v v="$v" -v f="$f" -v kind="$kind" -v value="$value" '
    function fmt(x) {
      if (unit == "MB") return sprintf("%.1f", x / 1024)
      if (unit == "%") return sprintf("%.2f", x)
      return sprintf("%.1f", x)
    }
    function triple(s,   a) {
      if (s == "") return "n/a"
      split(s, a, " ")
      return fmt(a[1]) " / " fmt(a[2]) " / " fmt(a[3])
    }
    BEGIN {
      split(v, V, " "); split(f, F, " ")
      ratio = (v != "" && f != "" && F[2] > 0) ? sprintf("%.2fx", V[2] / F[2]) : "-"
      target = "-"; verdict = ""
      if (kind == "ratio") {
        target = "<= " value "x floor"
        if (ratio != "-") verdict = (V[2] <= value * F[2]) ? "met" : "MISSED"
      } else if (kind == "below") {
        target = "< " value " " unit
        if (v != "") verdict = (V[3] < value) ? "met" : "MISSED"
      } else if (kind == "atmost") {
        target = "<= " value " " unit
        if (v != "") verdict = (V[3] <= value) ? "met" : "MISSED"
      }
      if (v == "" && kind != "none") verdict = "n/a"
      printf "%-37s %-4s %-24s %-24s %-6s %-15s %s\n", label, unit, triple(v), triple(f), ratio,
        target, verdict
    }'
}

echo
echo "Vel against the floor, $runs runs each, $start_runs on the tiny page (min / median / max)"
printf '%-37s %-4s %-24s %-24s %-6s %-15s %s\n' "figure" "unit" "Vel" "floor" "ratio" "target" ""
printf '%.0s-' {1..118}
echo
if [ "$only" = start ]; then
  row "start -> caption (tiny)" ms vel-tiny.title_ms floor-tiny.title_ms ratio 0.9
  row "start -> caption (tiny), against surf" ms vel-tiny.title_ms surf-tiny.title_ms ratio 0.9
  row "PSS of the tree, 3 s after (tiny)" MB vel-tiny.pss_kb floor-tiny.pss_kb ratio 0.95
  row "PSS of the tree (tiny), against surf" MB vel-tiny.pss_kb surf-tiny.pss_kb none
  echo
  echo "surf's figures stand in the floor's column of the rows 'against surf'."
  exit 0
fi
row "start -> window mapped (tiny)" ms vel-tiny.map_ms floor-tiny.map_ms none
row "start -> caption (tiny)" ms vel-tiny.title_ms floor-tiny.title_ms ratio 0.9
row "start -> caption (article)" ms vel-article.title_ms floor-article.title_ms none
row "start -> caption (tiny), against surf" ms vel-tiny.title_ms surf-tiny.title_ms ratio 0.9
row "start -> caption (tiny, scale 2)" ms vel-tiny-2x.title_ms floor-tiny-2x.title_ms none
row "PSS of the tree, 3 s after (tiny)" MB vel-tiny.pss_kb floor-tiny.pss_kb ratio 0.95
row "PSS of the tree, 3 s after (article)" MB vel-article.pss_kb floor-article.pss_kb ratio 0.95
row "PSS of the tree (tiny), against surf" MB vel-tiny.pss_kb surf-tiny.pss_kb none
row "PSS of the tree, 3 s after (tiny, x2)" MB vel-tiny-2x.pss_kb floor-tiny-2x.pss_kb none
row "  its private part (USS), tiny" MB vel-tiny.uss_kb floor-tiny.uss_kb none
row "  its private part (USS), article" MB vel-article.uss_kb floor-article.uss_kb none
row "CPU, 10 s idle after the article" % vel-article.idle_cpu floor-article.idle_cpu below 1
row "CPU, 10 s, clock window shown" % vel-article.clock_shown_cpu "" below 1
row "CPU, 10 s, clock window hidden" % vel-article.clock_hidden_cpu "" below 0.3
row "  the program alone, clock shown" % vel-article.clock_shown_cpu_program "" none
row "  the program alone, clock hidden" % vel-article.clock_hidden_cpu_program "" none
row "load-finished -> \"Done\" (tiny)" ms done-tiny.delay_ms "" atmost 16
row "load-finished -> \"Done\" (article)" ms done-article.delay_ms "" atmost 16
row "64 MB download: rate" MB/s download.rate "" none
row "  the window's CPU time meanwhile" ms download.cpu_ms "" none
row "  status-bar updates meanwhile" n download.updates "" none
read -r check_median check_most session_median session_most < <("$bin/vel-site-data" 20)
echo "Opening the store of sites' data at start, 20 runs (part of start -> caption above):"
echo "  its folders and cookie file checked: median $check_median ms, at most $check_most ms"
echo "  the network session over them: median $session_median ms, at most $session_most ms"
echo
echo "CPU is in % of one core, summed over the program and its engine processes. PSS counts"
echo "shared library pages in part, so it falls when other programs map the same libraries; USS"
echo "does not. The engine checks its page process's memory every 30 s (reading its smaps, some"
echo "15-20 ms here); the first check falls into the clock-hidden window. Per-process figures of"
echo "every trial: $out/"
