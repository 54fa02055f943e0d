#!/usr/bin/env bash
# The README's gallery is what the program draws today: the picture tool renders every picture again, and
# each full-screen one (windows follow the installed fonts) matches the committed picture pixel for pixel.
set -euo pipefail
fresh=$(mktemp -d) && trap 'rm -rf "$fresh"' EXIT
gallery=$(dirname "$0")/../../docs/gallery && size=$(identify -format %wx%h "$gallery/boxes.png")
QT_QPA_PLATFORM=offscreen "$QRBL_BUILD_DIR/tools/quorbel-render" --size "$size" --out "$fresh" >/dev/null
[ "$(cd "$fresh" && ls)" = "$(cd "$gallery" && ls)" ] || { echo "FAIL: other pictures than the gallery's"; exit 1; }
for picture in "$gallery"/*.png; do
    [ "$(identify -format %wx%h "$picture")" != "$size" ] ||
        [ "$(compare -metric AE "$picture" "$fresh/${picture##*/}" null: 2>&1)" = 0 ] ||
        { echo "FAIL: ${picture##*/} differs: if the change is meant, make gallery and commit the pictures"; exit 1; }
done
