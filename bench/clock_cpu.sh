#!/usr/bin/env bash
# CPU time of the browser over a while with the clock window shown, and with it hidden after Back,
# as a share of one core. Runs the program on its own Xvfb screen and clicks like a user (XTest).
#   bench/clock_cpu.sh [BUILD_DIR] [SECONDS]
# Prints figures; asserts nothing.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$here/build}")
seconds=${2:-10}

if [ -z "${VEL_IN_XVFB:-}" ]; then
  VEL_IN_XVFB=1 exec "$here/tests/support/with-xvfb.sh" "$0" "$build" "$seconds"
fi

"$build/vel-browser" >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

wait_for_window() {  # a caption, quoted as xwininfo prints it
  for _ in $(seq 1 300); do
    if xwininfo -root -tree 2>/dev/null | grep -q -- "$1"; then return 0; fi
    sleep 0.1
  done
  echo "clock_cpu: no window $1" >&2
  exit 1
}

# A pointer click at a screen position. With no window manager every window opens at (0, 0).
click() {
  python3 - "$1" "$2" <<'EOF'
import ctypes, ctypes.util, sys, time
x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
xtst = ctypes.CDLL(ctypes.util.find_library("Xtst"))
x11.XOpenDisplay.restype = ctypes.c_void_p
dpy = ctypes.c_void_p(x11.XOpenDisplay(None))
xtst.XTestFakeMotionEvent(dpy, -1, int(sys.argv[1]), int(sys.argv[2]), 0)
x11.XSync(dpy, 0)
time.sleep(0.1)
xtst.XTestFakeButtonEvent(dpy, 1, 1, 0)
xtst.XTestFakeButtonEvent(dpy, 1, 0, 0)
x11.XSync(dpy, 0)
x11.XCloseDisplay(dpy)
EOF
}

ticks() {  # user + system time of the program, in clock ticks
  awk '{print $14 + $15}' "/proc/$pid/stat"
}

measure() {  # label
  sleep 2  # let the change settle
  local before after hz
  hz=$(getconf CLK_TCK)
  before=$(ticks)
  sleep "$seconds"
  after=$(ticks)
  awk -v d=$((after - before)) -v hz="$hz" -v s="$seconds" -v what="$1" \
    'BEGIN { printf "%-36s %6.2f%% of one core (%d ticks of 1/%d s in %d s)\n",
             what, 100 * d / hz / s, d, hz, s }'
}

wait_for_window '"Vel"'
measure "browser window alone"

# The Time Zone hot-spot (twips 5400,840,375,255), then Back (twips 3720,120,855,375).
click $(((5400 + 375 / 2) / 15)) $(((840 + 255 / 2) / 15))
wait_for_window '"Time Zone"'
measure "clock window shown"

click $(((3720 + 855 / 2) / 15)) $(((120 + 375 / 2) / 15))
sleep 0.5
if xwininfo -root -tree | grep -- '"Time Zone"' | grep -q '312x213'; then
  state=$(xwininfo -id "$(xwininfo -root -tree | grep -- '"Time Zone"' | awk '{print $1}' |
    head -n1)" | awk '/Map State/ {print $3}')
  [ "$state" = IsViewable ] && echo "clock_cpu: Back did not hide the clock window" >&2
fi
measure "clock window hidden (after Back)"
