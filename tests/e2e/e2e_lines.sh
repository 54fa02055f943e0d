#!/usr/bin/env bash
# Vertical Lines, Diagonal Lines and Greys opened from their buttons in a real X server, at desktop scale
# 1 and then 2: every pixel of each screenshot is compared with the pattern built independently here,
# the drawing survives a window passing over it, and Esc brings the main window back.
# QRBL_E2E_SCREEN (default 1920x1080) picks another landscape screen; QRBL_E2E_KEEP keeps the screenshots there.
source "$QRBL_E2E_LIB"
QUORBEL=$1
SCREEN=${QRBL_E2E_SCREEN:-1920x1080}
W=${SCREEN%x*}
H=${SCREEN#*x}

mkdir -p "$XDG_CONFIG_HOME/QRBL"
printf '[Options]\nShowInfo=0\n' >"$XDG_CONFIG_HOME/QRBL/QRBL.conf"
e2e_start_x "$SCREEN"

# wrong_pixels PATTERN FILE: how many pixels of the screenshot differ from the pattern, built here
# independently, one device pixel per screen pixel.
wrong_pixels() {
    convert "$2" -depth 8 rgb:- | python3 -c '
import sys
pattern, w, h = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
black, white = b"\0\0\0", b"\xff\xff\xff"
if pattern == "vertical":  # even columns black
    rows = [(black + white) * (w // 2) + black * (w % 2)] * h
elif pattern == "diagonal":  # black where column plus row is a multiple of three
    period = [black + white + white, white + white + black, white + black + white]
    rows = [(period[r % 3] * (w // 3 + 1))[: 3 * w] for r in range(h)]
else:  # greys: n columns per level, n the width over 255 rounded; white beyond level 255
    n = round(w / 255)
    rows = [b"".join(bytes([c // n] * 3) if c // n <= 255 else white for c in range(w))] * h
expected = b"".join(rows)
shot = sys.stdin.buffer.read()
if len(shot) != len(expected):
    print(w * h)
elif shot == expected:
    print(0)
else:
    print(sum(shot[i : i + 3] != expected[i : i + 3] for i in range(0, len(shot), 3)))
' "$1" "$W" "$H"
}

SCALE=1
FAILURES=0

# click_button LEFT TOP: the middle of a 1215 x 495 twips button of the main window.
click_button() {
    eval "$(xdotool getwindowgeometry --shell "$E2E_MAIN")"
    # The client area: 7830 x 5415 twips at the desktop scale and the window's own scale factor.
    local left=$((X)) top=$((Y + HEIGHT - 5415 * WIDTH / 7830))
    xdotool mousemove $((left + WIDTH * ($1 + 607) / 7830)) $((top + WIDTH * ($2 + 247) / 7830)) click 1
}

# settle: waits until two screenshots in a row are the same and the first pixel is the colour; leaves the
# picture in $E2E_TMP/shot.ppm.
settle() {
    local colour=$1
    rm -f "$E2E_TMP/previous.ppm"
    for _ in $(seq 1 60); do
        e2e_screenshot "$E2E_TMP/shot.ppm"
        if [ "$(convert "$E2E_TMP/shot.ppm" -format '%[fx:int(255*p{0,0}.r)],%[fx:int(255*p{0,0}.g)],%[fx:int(255*p{0,0}.b)]' info:)" = "$colour" ] \
            && cmp -s "$E2E_TMP/shot.ppm" "$E2E_TMP/previous.ppm"; then
            return 0
        fi
        cp "$E2E_TMP/shot.ppm" "$E2E_TMP/previous.ppm"
        sleep 0.1
    done
    return 1
}

# check NAME WHEN: every pixel of the screenshot against the expected picture.
check() {
    local wrong
    wrong=$(wrong_pixels "$1" "$E2E_TMP/shot.ppm")
    [ -n "${QRBL_E2E_KEEP:-}" ] && convert "$E2E_TMP/shot.ppm" "$QRBL_E2E_KEEP/$1-$W-$H-scale$SCALE-$2.png"
    if [ "$wrong" != 0 ]; then
        echo "  $1 at scale $SCALE, $2: $wrong of $((W * H)) pixels differ" >&2
        FAILURES=$((FAILURES + 1))
    fi
}

# run_pattern NAME LEFT TOP: opens it from its button, checks it, covers part of it, checks again, Esc.
run_pattern() {
    click_button "$2" "$3"
    local window
    for _ in $(seq 1 100); do
        window=$(e2e_wait_window 'Quorbel!' 2) || e2e_fail "$1 did not open at scale $SCALE"
        eval "$(xdotool getwindowgeometry --shell "$window")"
        [ "$WIDTH" -eq "$W" ] && [ "$HEIGHT" -eq "$H" ] && break
        # Not the full-screen pattern: the pre-test message, if the stored option did not switch it off.
        e2e_key Return
        sleep 0.1
    done
    settle 0,0,0 || e2e_fail "$1 did not settle at scale $SCALE"
    check "$1" shown

    # Another window over part of it, then gone: the uncovered part shows the pattern again.
    display -geometry +200+150 -title cover -size 300x200 xc:red &
    local cover=$!
    for _ in $(seq 1 100); do
        xdotool search --onlyvisible --name '^cover$' >/dev/null 2>&1 && break
        sleep 0.05
    done
    e2e_screenshot "$E2E_TMP/covered.ppm"
    kill "$cover"
    wait "$cover" 2>/dev/null || true
    settle 0,0,0 || e2e_fail "$1 did not settle after being covered"
    check "$1" uncovered
    compare -metric AE "$E2E_TMP/shot.ppm" "$E2E_TMP/covered.ppm" null: 2>/dev/null \
        && e2e_fail "the covering window never showed over $1"

    e2e_key Escape
    e2e_wait_gone 'Quorbel!' 2 || e2e_fail "Esc did not end $1"
    [ "$(e2e_visible_count 'Quorbel!')" -eq 1 ] || e2e_fail "the main window is not back after $1"
}

for SCALE in 1 2; do
    export QT_SCALE_FACTOR=$SCALE
    e2e_start_app "$QUORBEL"
    run_pattern vertical 1920 1200
    run_pattern diagonal 3480 1200
    run_pattern greys 360 4560
    kill "$E2E_APP_PID"
    wait "$E2E_APP_PID" 2>/dev/null || true
    E2E_APP_PID=""
    e2e_wait_gone 'Quorbel!' 1 || e2e_fail "the program did not end"
done

[ "$FAILURES" -eq 0 ] || e2e_fail "$FAILURES pattern checks failed"
echo "PASS: lines"
