#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package vel-browser_<version>_<arch>.deb from a clean clone of HEAD, installing
# what the build needs first, and puts it in build-package/ with lintian's report beside it.
# DEB_BUILD_OPTIONS=nocheck leaves the tests out.
#   scripts/package.sh [smoke]   smoke: then installs it with apt, runs its autopkgtest
#                                (debian/tests/smoke) against the installed program, checks the
#                                desktop files with their validators, purges it and checks that
#                                none of its files is left. Needs root.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh dpkg-dev debhelper lintian fakeroot git xvfb xauth dbus x11-utils \
  desktop-file-utils appstream man-db
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
[ "${1:-}" = smoke ] || exit 0

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$deb" >"$work/install.log" 2>&1 || { cat "$work/install.log" >&2; exit 1; }
files=$(dpkg -L vel-browser)
desktop-file-validate /usr/share/applications/org.velbrowser.VelBrowser.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.velbrowser.VelBrowser.metainfo.xml >/dev/null
man -w vel-browser >/dev/null
debian/tests/smoke 2>"$work/smoke.log" || { cat "$work/smoke.log" >&2; exit 1; }
apt-get purge -y -qq vel-browser >"$work/purge.log" 2>&1 || { cat "$work/purge.log" >&2; exit 1; }
left=0
while read -r path; do
  if [ -f "$path" ] || [ -L "$path" ]; then echo "left behind: $path" >&2; left=1; fi
done <<<"$files"
[ "$left" -eq 0 ]
echo "package: installed, ran, purged; nothing left behind"
