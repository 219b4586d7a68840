#!/usr/bin/env bash
# Draws the wizard's side picture (119 x 258, 16 colours) and the setup icon
# (32 x 32, 16 colours) with ImageMagick. The outputs are committed in
# setup/res/; run this again only to change the artwork.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out="$root/setup/res"
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# Side picture: a deep blue gradient with a tiling of hexagonal "tessels",
# a light band and the product's name written upwards.
convert -size 119x258 gradient:'#0b2a6b'-'#3f86c9' "$tmp/bg.png"
convert "$tmp/bg.png" \
  -stroke '#9fd0ff' -strokewidth 2 -fill '#1d4f9a' \
  -draw "polygon 30,40 50,28 70,40 70,64 50,76 30,64" \
  -fill '#2f6fb8' -draw "polygon 70,64 90,52 110,64 110,88 90,100 70,88" \
  -fill '#ffd24a' -stroke '#fff3c0' -draw "polygon 30,88 50,76 70,88 70,112 50,124 30,112" \
  -fill '#1d4f9a' -stroke '#9fd0ff' -draw "polygon -10,64 10,52 30,64 30,88 10,100 -10,88" \
  -fill '#2f6fb8' -draw "polygon 70,112 90,100 110,112 110,136 90,148 70,136" \
  -fill '#12397e' -draw "polygon 30,136 50,124 70,136 70,160 50,172 30,160" \
  -stroke none -fill '#ffffff' -draw "rectangle 0,196 119,199" \
  -fill '#ffd24a' -draw "rectangle 0,200 119,201" \
  -fill '#ffffff' -font DejaVu-Sans-Bold -pointsize 17 -draw "text 8,226 'Tessel'" \
  -fill '#cfe6ff' -font DejaVu-Sans -pointsize 11 -draw "text 9,244 'library 4.09'" \
  "$tmp/side.png"
convert "$tmp/side.png" -dither None -colors 16 -type palette BMP3:"$out/wizard.bmp"

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
python3 - "$tmp/icon.bmp" "$tmp/mask.raw" "$out/setup.ico" <<'PY'
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
