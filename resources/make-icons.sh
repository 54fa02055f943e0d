#!/bin/sh
# Renders the application icon (a monitor showing colour bars) at the sizes the program ships.
# Run by hand after changing the artwork; the PNGs and raw pixel files are committed.
set -e
cd "$(dirname "$0")/icons"
convert -size 288x288 xc:none \
  -fill '#2b2f36' -draw 'roundrectangle 16,28 272,220 18,18' \
  -fill '#ff0000' -draw 'rectangle 36,48 104,200' \
  -fill '#00ff00' -draw 'rectangle 104,48 184,200' \
  -fill '#0000ff' -draw 'rectangle 184,48 252,200' \
  -fill '#ffffff' -draw 'rectangle 36,168 144,200' \
  -fill '#000000' -draw 'rectangle 144,168 252,200' \
  -fill '#ff00ff' -draw 'rectangle 36,96 62,152' -draw 'rectangle 226,96 252,152' \
  -fill '#2b2f36' -draw 'polygon 120,220 168,220 180,252 108,252' \
  -draw 'roundrectangle 72,248 216,268 8,8' \
  master.png
for s in 16 24 32 48 64 72; do
  convert master.png -filter Lanczos -resize ${s}x${s} -strip PNG32:quorbel-$s.png
  # The same pixels raw (R, G, B, A bytes), as the program loads them: no decoder needed at start.
  convert quorbel-$s.png -depth 8 RGBA:quorbel-$s.rgba
done
rm master.png
