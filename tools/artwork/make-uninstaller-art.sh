#!/usr/bin/env bash
# Draws the uninstaller's side picture (bitmap resource 1: 119 x 258 pixels,
# 16 colours) with ImageMagick. The output is committed in uninstaller/res/;
# run this again only to change the artwork. The uninstaller shares the
# setup's program icon.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out="$root/uninstaller/res"
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# A slate-to-blue gradient; the library's hexagonal tiles, the upper ones
# solid and the lower ones drawn as outlines only, as if being taken away;
# a light band and the product's name.
convert -size 119x258 gradient:'#1b2b44'-'#3a6ea5' "$tmp/bg.png"
convert "$tmp/bg.png" \
  -strokewidth 2 \
  -stroke '#9fd0ff' -fill '#2f6fb8' -draw "polygon 10,22 30,10 50,22 50,46 30,58 10,46" \
  -fill '#ffd24a' -stroke '#fff3c0' -draw "polygon 50,46 70,34 90,46 90,70 70,82 50,70" \
  -fill '#1d4f9a' -stroke '#9fd0ff' -draw "polygon 90,22 110,10 130,22 130,46 110,58 90,46" \
  -fill none -stroke '#9fd0ff' -draw "polygon 10,70 30,58 50,70 50,94 30,106 10,94" \
  -stroke '#6f9fd0' -draw "polygon 50,94 70,82 90,94 90,118 70,130 50,118" \
  -stroke '#4f7fb0' -draw "polygon 10,118 30,106 50,118 50,142 30,154 10,142" \
  -stroke '#4f7fb0' -draw "polygon 90,118 110,106 130,118 130,142 110,154 90,142" \
  -stroke none -fill '#ffffff' -draw "rectangle 0,196 119,199" \
  -fill '#ffd24a' -draw "rectangle 0,200 119,201" \
  -fill '#ffffff' -font DejaVu-Sans-Bold -pointsize 17 -draw "text 8,226 'Tessel'" \
  -fill '#cfe6ff' -font DejaVu-Sans -pointsize 11 -draw "text 9,244 'uninstall 4.09'" \
  "$tmp/side.png"
convert "$tmp/side.png" -dither None -colors 16 -type palette BMP3:"$out/side.bmp"
