#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, running and testing Vel need, and any others named
# by a command that needs them (scripts/deps.sh [PACKAGE...]).
# Idempotent and quiet when everything is already there.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtkmm-4.0-dev libwebkitgtk-6.0-dev libegl-dev libsoup-3.0-dev libglib2.0-dev-bin
  libgtest-dev googletest
  xvfb xauth dbus dbus-x11 libxtst-dev x11-utils
  fonts-liberation fonts-dejavu-core locales
  clang libclang-rt-dev
  weston at-spi2-core libatspi2.0-dev
  desktop-file-utils appstream
  hunspell-en-us gstreamer1.0-plugins-good
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=()
[ "$(id -u)" -eq 0 ] || SUDO=(sudo)
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# apt's notes on how it configures packages are no news; its output is shown when it fails.
if ! { "${SUDO[@]}" apt-get update -qq &&
  "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
