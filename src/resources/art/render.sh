#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Regenerate every rendered image in this directory from its SVG source.
# Needs rsvg-convert and ImageMagick 6 (convert). Safe to run repeatedly.
set -eu

cd "$(dirname "$0")"

CONVERT=${CONVERT:-/usr/bin/convert}
[ -x "$CONVERT" ] || CONVERT=convert

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM

png() { # png SOURCE.svg SIZE OUTPUT.png
    rsvg-convert -w "$2" -h "$2" "$1" -o "$3"
}

jpg() { # jpg INPUT.png OUTPUT.jpg  -> progressive, 3-component sRGB
    "$CONVERT" "$1" -background white -alpha remove -colorspace sRGB \
        -type TrueColor -interlace Plane -quality 90 -strip "$2"
}

# Main window banner (640 x 81, progressive JPEG)
rsvg-convert banner.svg -o "$tmp/banner.png"
jpg "$tmp/banner.png" banner.jpg
# ... and at twice the size for screens of scale 2 and more (PNG: sharper, and smaller here)
rsvg-convert -z 2 -b white banner.svg -o banner@2x.png

# Application / browser window icon
for s in 16 32 48 128 256; do
    png vel-browser.svg "$s" "icon-$s.png"
done
cp vel-browser.svg icon-scalable.svg

# Clock window and About window icons
for s in 16 32; do
    png clock.svg "$s" "clock-$s.png"
    png about.svg "$s" "about-$s.png"
done

