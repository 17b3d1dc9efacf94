#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks that what a desktop reads lands where it
# looks, under one application id: the desktop entry, the icons, the AppStream data, the manual.
# One version throughout, the changelog's too. The validators and lintian read the same files in
# the package (./dev package smoke).
#   install_test.sh BUILD_DIR CHANGELOG
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
# The desktop matches windows to the entry by their class, which the program sets to its id.
grep -qx "StartupWMClass=$id" "$desktop"
for size in 16 32 48 128 256; do
  test -s "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
done
test -s "$prefix/share/icons/hicolor/scalable/apps/$id.svg"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
grep -q "<id>$id</id>" "$metainfo"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo"
# The manual names every option that --help lists, and the version the program reports.
manual="$prefix/share/man/man1/vel-browser.1"
help=$("$prefix/bin/vel-browser" --help)
grep -q "^Usage: vel-browser \[--private\] \[ADDRESS\]" <<<"$help"
for option in $(grep -o -- '--[a-z-]*' <<<"$help"); do
  grep -q -- "${option//-/\\\\-}" "$manual" || { echo "manual lacks $option" >&2; exit 1; }
done
version=$("$prefix/bin/vel-browser" --version | sed -n 's/^vel-browser \([0-9][0-9.]*\)$/\1/p')
test -n "$version"
grep -q "Vel Browser $version" "$manual"
grep -qF "<release version=\"$version\"" "$metainfo"
head -n 1 "$2" | grep -qF "vel-browser ($version)"
echo "installed layout ok"
