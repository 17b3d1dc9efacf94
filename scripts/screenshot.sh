#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Saves a PNG screenshot of the browser window, started under its own Xvfb, so the window can be
# looked at without a desktop.
#   scripts/screenshot.sh [OUTPUT.png] [ADDRESS] [KEY...]
# Each KEY is pressed in the window before the picture is taken: a key as xdotool names it
# ("ctrl+f", "ctrl+plus", "Escape"), "type:TEXT" to type a text, "click:X,Y" for a click at
# that point of the window, or "wait:SECONDS" to let something under way (a download) go on.
# Builds the program first when needed. Waits until the window is on screen (and, with an ADDRESS,
# until the caption shows that the page has loaded).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-vel-browser.png}")
address=${2:-}

if [ -z "${VEL_IN_XVFB:-}" ]; then
  "$here/scripts/deps.sh" imagemagick xdotool  # for `import`, and the keys
  "$here/dev" build >/dev/null
  # The display's D-Bus session and the services it starts talk about themselves: that goes to a
  # log, shown when something failed. Our own output goes to fds 3 and 4.
  log=$(mktemp)
  trap 'rm -f "$log"' EXIT
  VEL_IN_XVFB=1 "$here/tests/support/with-xvfb.sh" "$0" "$out" "$address" "${@:3}" 3>&2 4>&1 \
    >"$log" 2>&1 || {
    status=$?
    tail -n 20 "$log" >&2
    exit "$status"
  }
  exit 0
fi
exec 1>&4 2>&3 3>&- 4>&-

"$here/build/vel-browser" ${address:+"$address"} >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

# The window's title tells where it is: "Vel" at start, "<title> - Vel " once a page is shown.
want='"Vel"'
[ -n "$address" ] && want=' - Vel "'
for _ in $(seq 1 300); do
  if xwininfo -root -tree 2>/dev/null | grep -q -- "$want"; then break; fi
  sleep 0.1
done
id=$(xwininfo -root -tree | grep -- "$want" | head -n1 | awk '{print $1}')
[ -n "$id" ] || { echo "screenshot: no browser window within 30 s" >&2; exit 1; }
# Give the first frame a moment to reach the screen after the window is mapped.
sleep 1
for key in "${@:3}"; do
  case "$key" in
    type:*) xdotool type --window "$id" --delay 30 "${key#type:}" ;;
    click:*)
      point=${key#click:}
      xdotool mousemove --window "$id" "${point%,*}" "${point#*,}" click 1
      ;;
    wait:*) sleep "${key#wait:}" ;;
    *) xdotool key --window "$id" "$key" ;;
  esac
  sleep 0.3
done
[ $# -gt 2 ] && sleep 1  # what the keys asked for is drawn
import -window "$id" "$out"
echo "$out"
