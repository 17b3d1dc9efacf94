#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the desktop entry and its icon land
# where a desktop looks for them, under one application id.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
id=org.velbrowser.VelBrowser
test -x "$prefix/bin/vel-browser"
desktop="$prefix/share/applications/$id.desktop"
grep -qx "Icon=$id" "$desktop"
grep -q "^Exec=vel-browser" "$desktop"
for size in 16 32 48 128 256; do
  test -s "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
done
test -s "$prefix/share/icons/hicolor/scalable/apps/$id.svg"
echo "installed layout ok"
