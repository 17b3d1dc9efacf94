#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command on its own Xvfb screen inside its own D-Bus session, with the settings that make
# GTK and the web engine render in software. Exits with the command's status.
set -uo pipefail

dir=$(mktemp -d)
mkfifo "$dir/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dir/display" \
  >"$dir/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$dir"' EXIT

# Xvfb writes its display number once it accepts connections.
if ! read -r -t 30 number <"$dir/display"; then
  { echo "with-xvfb: Xvfb did not start"; cat "$dir/xvfb.log"; } >&2
  exit 1
fi

export DISPLAY=":$number" GDK_BACKEND=x11 GSK_RENDERER=cairo WEBKIT_DISABLE_COMPOSITING_MODE=1
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 GTK_A11Y=test
# A home of its own: caches, settings and downloads of one run never meet another's.
export XDG_RUNTIME_DIR="$dir/runtime" XDG_CONFIG_HOME="$dir/config" XDG_DATA_HOME="$dir/data" \
  XDG_CACHE_HOME="$dir/cache" XDG_STATE_HOME="$dir/state"
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_STATE_HOME" "$dir/downloads"
echo "XDG_DOWNLOAD_DIR=\"$dir/downloads\"" >"$XDG_CONFIG_HOME/user-dirs.dirs"
dbus-run-session -- "$@"
