#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package vel-browser_<version>_<arch>.deb from a clean clone of HEAD, installing
# what the build needs first, and puts it in build-package/ with lintian's report beside it.
# DEB_BUILD_OPTIONS=nocheck leaves the tests out.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh dpkg-dev debhelper lintian fakeroot git
out=$PWD/build-package
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git clone --quiet --no-hardlinks . "$work/vel-browser"
(cd "$work/vel-browser" && dpkg-buildpackage -us -uc -b) >"$work/build.log" 2>&1 ||
  { tail -n 60 "$work/build.log" >&2; exit 1; }
rm -rf "$out" && mkdir -p "$out"
cp "$work"/*.deb "$work"/*.buildinfo "$work"/*.changes "$work/build.log" "$out/"
deb=$(ls "$out"/vel-browser_*.deb)
# Errors and warnings fail the build; the informational tags are shown with them.
lintian --info --display-info --fail-on error,warning "$deb" | tee "$out/lintian.txt"
echo "package: $deb"
