#!/usr/bin/env bash
# Draws the programs' artwork with ImageMagick: the wizard's side picture and
# the setup icon (setup/res/), and the uninstaller's side picture
# (uninstaller/res/; the uninstaller shares the setup's program icon). Side
# pictures are 119 x 258 pixels, icons 32 x 32, both in 16 colours. The
# outputs are committed; run this again only to change the artwork.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
mkdir -p "$root/setup/res" "$root/uninstaller/res"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# side_picture OUT TOP BOTTOM SUBTITLE DRAW...
# A vertical gradient from TOP to BOTTOM, the drawing steps DRAW (the tiles),
# then the light band and the product's name with SUBTITLE below it, reduced
# to a 16-colour bitmap.
side_picture() {
  local out=$1 top=$2 bottom=$3 subtitle=$4
  shift 4
  convert -size 119x258 gradient:"$top"-"$bottom" "$tmp/bg.png"
  convert "$tmp/bg.png" "$@" \
    -stroke none -fill '#ffffff' -draw "rectangle 0,196 119,199" \
    -fill '#ffd24a' -draw "rectangle 0,200 119,201" \
    -fill '#ffffff' -font DejaVu-Sans-Bold -pointsize 17 -draw "text 8,226 'Tessel'" \
    -fill '#cfe6ff' -font DejaVu-Sans -pointsize 11 -draw "text 9,244 '$subtitle'" \
    "$tmp/side.png"
  convert "$tmp/side.png" -dither None -colors 16 -type palette BMP3:"$out"
}

# The wizard: a deep blue gradient with a tiling of hexagonal "tessels".
side_picture "$root/setup/res/wizard.bmp" '#0b2a6b' '#3f86c9' 'library 4.09' \
  -stroke '#9fd0ff' -strokewidth 2 -fill '#1d4f9a' \
  -draw "polygon 30,40 50,28 70,40 70,64 50,76 30,64" \
  -fill '#2f6fb8' -draw "polygon 70,64 90,52 110,64 110,88 90,100 70,88" \
  -fill '#ffd24a' -stroke '#fff3c0' -draw "polygon 30,88 50,76 70,88 70,112 50,124 30,112" \
  -fill '#1d4f9a' -stroke '#9fd0ff' -draw "polygon -10,64 10,52 30,64 30,88 10,100 -10,88" \
  -fill '#2f6fb8' -draw "polygon 70,112 90,100 110,112 110,136 90,148 70,136" \
  -fill '#12397e' -draw "polygon 30,136 50,124 70,136 70,160 50,172 30,160"

# The uninstaller: a slate-to-blue gradient; the upper tiles solid, the lower
# ones drawn as outlines only, as if being taken away.
side_picture "$root/uninstaller/res/side.bmp" '#1b2b44' '#3a6ea5' 'uninstall 4.09' \
  -strokewidth 2 \
  -stroke '#9fd0ff' -fill '#2f6fb8' -draw "polygon 10,22 30,10 50,22 50,46 30,58 10,46" \
  -fill '#ffd24a' -stroke '#fff3c0' -draw "polygon 50,46 70,34 90,46 90,70 70,82 50,70" \
  -fill '#1d4f9a' -stroke '#9fd0ff' -draw "polygon 90,22 110,10 130,22 130,46 110,58 90,46" \
  -fill none -stroke '#9fd0ff' -draw "polygon 10,70 30,58 50,70 50,94 30,106 10,94" \
  -stroke '#6f9fd0' -draw "polygon 50,94 70,82 90,94 90,118 70,130 50,118" \
  -stroke '#4f7fb0' -draw "polygon 10,118 30,106 50,118 50,142 30,154 10,142" \
  -stroke '#4f7fb0' -draw "polygon 90,118 110,106 130,118 130,142 110,154 90,142"

# Icon: one yellow hexagon on a blue one.
convert -size 32x32 xc:none \
  -fill '#1d4f9a' -stroke '#0b2a6b' -strokewidth 1 \
  -draw "polygon 16,1 29,8 29,23 16,30 3,23 3,8" \
  -fill '#ffd24a' -stroke '#fff3c0' \
  -draw "polygon 16,8 23,12 23,20 16,24 9,20 9,12" \
  -dither None -colors 16 "$tmp/icon.png"
# A 16-colour icon image: the colour bitmap (4 bits per pixel, bottom-up) and
# the transparency mask taken from the alpha channel.
convert "$tmp/icon.png" -background '#000000' -alpha remove -dither None -colors 16 \
  -type palette BMP3:"$tmp/icon.bmp"
convert "$tmp/icon.png" -alpha extract -threshold 50% -negate -depth 8 gray:"$tmp/mask.raw"
python3 - "$tmp/icon.bmp" "$tmp/mask.raw" "$root/setup/res/setup.ico" <<'PY'
import struct, sys
bmp = open(sys.argv[1], 'rb').read()
mask = open(sys.argv[2], 'rb').read()
off = struct.unpack_from('<I', bmp, 10)[0]
hsize, w, h, planes, bpp = struct.unpack_from('<IiiHH', bmp, 14)
assert (w, h, bpp) == (32, 32, 4), (w, h, bpp)
ncolors = struct.unpack_from('<I', bmp, 46)[0] or 16
palette = bmp[14 + hsize:14 + hsize + 4 * ncolors].ljust(64, b'\0')
pixels = bmp[off:off + 16 * 32]
rows = []
for y in range(31, -1, -1):           # AND mask, bottom-up, 1 bit per pixel
    bits = 0
    for x in range(32):
        bits = (bits << 1) | (1 if mask[y * 32 + x] else 0)
    rows.append(struct.pack('>I', bits))
andmask = b''.join(rows)
header = struct.pack('<IiiHHIIiiII', 40, 32, 64, 1, 4, 0, len(pixels) + len(andmask), 0, 0, 16, 0)
image = header + palette + pixels + andmask
entry = struct.pack('<BBBBHHII', 32, 32, 16, 0, 1, 4, len(image), 22)
open(sys.argv[3], 'wb').write(struct.pack('<HHH', 0, 1, 1) + entry + image)
PY
