#!/usr/bin/env bash
# Boxes, Circles, Colors and Crosshairs opened from their buttons in a real X server: each picture is
# checked in regions clear of its edges, and Esc brings the main window back.
# QRBL_E2E_SCREEN (default 1280x1024) picks another screen size; QRBL_E2E_KEEP keeps the screenshots there.
source "$QRBL_E2E_LIB"
QUORBEL=$1
SCREEN=${QRBL_E2E_SCREEN:-1280x1024}
W=${SCREEN%x*}
H=${SCREEN#*x}

mkdir -p "$XDG_CONFIG_HOME/QRBL"
printf '[Options]\nShowInfo=0\n' >"$XDG_CONFIG_HOME/QRBL/QRBL.conf"
e2e_start_x "$SCREEN"
e2e_start_app "$QUORBEL"

WHITE=255,255,255
BLACK=0,0,0
SHOT="$E2E_TMP/pattern.mpc" # decoded once, cropped many times
FAILURES=0

# expect NAME X0 Y0 X1 Y1 R,G,B: every pixel of the rectangle [X0, X1) x [Y0, Y1) has the colour.
expect() {
    local name=$1 x0=$2 y0=$3 x1=$4 y1=$5 colour=$6 wrong
    convert "$SHOT" -crop "$((x1 - x0))x$((y1 - y0))+${x0}+${y0}" +repage "$E2E_TMP/region.png"
    wrong=$(e2e_count_not "$E2E_TMP/region.png" "$colour")
    if [ "$wrong" -ne 0 ]; then
        echo "  $PATTERN, $name ($x0,$y0)-($x1,$y1): $wrong of $(((x1 - x0) * (y1 - y0))) pixels are not rgb($colour)" >&2
        FAILURES=$((FAILURES + 1))
    fi
}

# open_pattern NAME LEFT TOP X Y R,G,B: clicks the button at those twips and takes the screenshot once the
# pattern is on screen: the pixel at X,Y has the colour and the picture no longer changes.
open_pattern() {
    PATTERN=$1
    e2e_click_twips "$2" "$3" 1215 495
    e2e_wait_window 'Quorbel!' 2 >/dev/null || e2e_fail "$PATTERN did not open"
    rm -f "$E2E_TMP/previous.png"
    for _ in $(seq 1 50); do
        e2e_screenshot "$E2E_TMP/pattern.png"
        if [ "$(e2e_pixel_of "$E2E_TMP/pattern.png" "$4" "$5")" = "$6" ] \
            && cmp -s "$E2E_TMP/pattern.png" "$E2E_TMP/previous.png"; then
            break
        fi
        cp "$E2E_TMP/pattern.png" "$E2E_TMP/previous.png"
        sleep 0.1
    done
    convert "$E2E_TMP/pattern.png" "$SHOT"
    [ -n "${QRBL_E2E_KEEP:-}" ] && cp "$E2E_TMP/pattern.png" "$QRBL_E2E_KEEP/$PATTERN-$W-$H.png"
    return 0
}

close_pattern() {
    e2e_key Escape
    e2e_wait_gone 'Quorbel!' 2 || e2e_fail "Esc did not end $PATTERN"
    [ "$(e2e_visible_count 'Quorbel!')" -eq 1 ] || e2e_fail "the main window is not back after $PATTERN"
}

# Boxes: bands a twentieth of the screen wide, white at the edge, then black, ..., the centre black.
bx=$((W / 20)) by=$((H / 20))
open_pattern Boxes 360 480 $((W / 40)) $((H / 2)) "$WHITE"
for k in 0 1 2 3 4 5 6 7 8 9; do
    colour=$WHITE
    [ $((k % 2)) -eq 1 ] && colour=$BLACK
    reach=$((k == 9 ? 2 : 1)) # the centre box spans two bands
    expect "left band $k" $((k * W / 20 + 2)) $((H / 2 - by / 2)) $(((k + reach) * W / 20 - 2)) $((H / 2 + by / 2)) $colour
    expect "right band $k" $((W - (k + 1) * W / 20 + 2)) $((H / 2 - by / 2)) $((W - k * W / 20 - 2)) $((H / 2 + by / 2)) $colour
    expect "top band $k" $((W / 2 - bx / 2)) $((k * H / 20 + 2)) $((W / 2 + bx / 2)) $(((k + 1) * H / 20 - 2)) $colour
    expect "bottom band $k" $((W / 2 - bx / 2)) $((H - (k + 1) * H / 20 + 2)) $((W / 2 + bx / 2)) $((H - k * H / 20 - 2)) $colour
done
close_pattern

# Circles: rings a twentieth of the smaller side wide, black outermost, on a white background.
D=$((W < H ? W : H))
cx=$((W / 2)) cy=$((H / 2)) s=$((D / 80))
open_pattern Circles 1920 480 2 2 "$WHITE"
for k in 0 1 2 3 4 5 6 7 8 9; do
    colour=$BLACK
    [ $((k % 2)) -eq 1 ] && colour=$WHITE
    r=$(((2 * (10 - k) - 1) * D / 40)) # the middle of ring k
    [ $k -eq 9 ] && r=0
    expect "ring $k left" $((cx - r - s)) $((cy - s)) $((cx - r + s)) $((cy + s)) $colour
    expect "ring $k right" $((cx + r - s)) $((cy - s)) $((cx + r + s)) $((cy + s)) $colour
    expect "ring $k top" $((cx - s)) $((cy - r - s)) $((cx + s)) $((cy - r + s)) $colour
    expect "ring $k bottom" $((cx - s)) $((cy + r - s)) $((cx + s)) $((cy + r + s)) $colour
done
expect "top left corner" 0 0 $((D / 10)) $((D / 10)) "$WHITE"
expect "bottom right corner" $((W - D / 10)) $((H - D / 10)) "$W" "$H" "$WHITE"
close_pattern

# Colors: three bars, four blocks from three tenths of the height for a third of it, two strips below.
m=4 top=$((3 * H / 10)) bottom=$((3 * H / 10 + H / 3)) strip=$((4 * H / 5))
open_pattern Colors 3480 480 $((W / 6)) $((H / 10)) 255,0,0
expect red $m $m $((W / 3 - m)) $((top - m)) 255,0,0
expect green $((W / 3 + m)) $m $((2 * W / 3 - m)) $((top - m)) 0,255,0
expect blue $((2 * W / 3 + m)) $m $((W - m)) $((top - m)) 0,0,255
expect "red below the blocks" $((W / 10 + m)) $((bottom + m)) $((W / 4 - m)) $((strip - m)) 255,0,0
expect "magenta left" 0 $((top + m)) $((W / 10 - m)) $((bottom - m)) 255,0,255
expect "magenta right" $((W - W / 10 + m)) $((top + m)) "$W" $((bottom - m)) 255,0,255
expect yellow $((W / 4 + m)) $((top + m)) $((W / 3 + W / 12 - m)) $((bottom - m)) 255,255,0
expect cyan $((2 * W / 3 - W / 12 + m)) $((top + m)) $((3 * W / 4 - m)) $((bottom - m)) 0,255,255
expect "green between the blocks" $((W / 3 + W / 12 + m)) $((top + m)) $((2 * W / 3 - W / 12 - m)) $((bottom - m)) 0,255,0
expect "white strip" 0 $((strip + m)) $((W / 2 - m)) "$H" "$WHITE"
expect "black strip" $((W / 2 + m)) $((strip + m)) "$W" "$H" "$BLACK"
close_pattern

# Crosshairs: white on the outermost rows and columns and through the centre, black everywhere else.
open_pattern Crosshairs 360 1200 $((W / 2)) $((H / 4)) "$WHITE"
expect "top row" 0 0 "$W" 1 "$WHITE"
expect "bottom row" 0 $((H - 1)) "$W" "$H" "$WHITE"
expect "left column" 0 0 1 "$H" "$WHITE"
expect "right column" $((W - 1)) 0 "$W" "$H" "$WHITE"
expect "centre column" $((W / 2)) 0 $((W / 2 + 1)) "$H" "$WHITE"
expect "centre row" 0 $((H / 2)) "$W" $((H / 2 + 1)) "$WHITE"
expect "top left quarter" 1 1 $((W / 2)) $((H / 2)) "$BLACK"
expect "top right quarter" $((W / 2 + 1)) 1 $((W - 1)) $((H / 2)) "$BLACK"
expect "bottom left quarter" 1 $((H / 2 + 1)) $((W / 2)) $((H - 1)) "$BLACK"
expect "bottom right quarter" $((W / 2 + 1)) $((H / 2 + 1)) $((W - 1)) $((H - 1)) "$BLACK"
lit=$(e2e_count_not "$SHOT" "$BLACK")
if [ "$lit" -ne $((3 * W + 3 * H - 9)) ]; then
    echo "  Crosshairs: $lit pixels are not black, not the $((3 * W + 3 * H - 9)) of six lines" >&2
    FAILURES=$((FAILURES + 1))
fi
close_pattern

[ "$FAILURES" -eq 0 ] || e2e_fail "$FAILURES regions wrong"
if grep -v -e 'XDG_RUNTIME_DIR' "$E2E_TMP/app.err" | grep -q .; then
    e2e_fail "the program wrote to stderr: $(cat "$E2E_TMP/app.err")"
fi
echo "e2e_shapes: passed"
