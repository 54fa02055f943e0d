# Shared by the end-to-end scripts: a private X server, the program, clicks, keys and screenshots.
# Usage: source "$QRBL_E2E_LIB"; e2e_start_x 1280x1024; e2e_start_app "$QUORBEL"; ...
set -euo pipefail

E2E_TMP=$(mktemp -d)
export XDG_CONFIG_HOME="$E2E_TMP/config"
export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME"
E2E_XVFB_PID=""
E2E_APP_PID=""

e2e_cleanup() {
    [ -n "$E2E_APP_PID" ] && kill "$E2E_APP_PID" 2>/dev/null || true
    [ -n "$E2E_XVFB_PID" ] && kill "$E2E_XVFB_PID" 2>/dev/null || true
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

e2e_fail() {
    echo "FAIL: $*" >&2
    if [ -n "${DISPLAY:-}" ]; then
        local shot="${QRBL_BUILD_DIR:-/tmp}/e2e-failure-$(basename "$0" .sh).png"
        import -window root "$shot" 2>/dev/null && echo "screenshot: $shot" >&2
    fi
    exit 1
}

# e2e_start_x WIDTHxHEIGHT: a new X server on a free display, without a window manager.
e2e_start_x() {
    local size=$1
    Xvfb -displayfd 3 -screen 0 "${size}x24" -noreset -nolisten tcp 3>"$E2E_TMP/display" 2>"$E2E_TMP/xvfb.log" &
    E2E_XVFB_PID=$!
    for _ in $(seq 1 100); do
        [ -s "$E2E_TMP/display" ] && break
        sleep 0.05
    done
    [ -s "$E2E_TMP/display" ] || e2e_fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
}

# e2e_start_app BINARY: starts the program and waits for its main window; sets E2E_MAIN.
e2e_start_app() {
    "$1" >"$E2E_TMP/app.out" 2>"$E2E_TMP/app.err" &
    E2E_APP_PID=$!
    E2E_MAIN=$(e2e_wait_window 'Quorbel!' 1) || e2e_fail "main window did not appear"
    e2e_main_geometry
}

# e2e_wait_window NAME COUNT: waits until COUNT visible windows have the name; prints the newest.
e2e_wait_window() {
    local name=$1 count=$2 ids
    for _ in $(seq 1 600); do
        ids=$(xdotool search --onlyvisible --name "^${name}\$" 2>/dev/null || true)
        if [ "$(printf '%s\n' "$ids" | grep -c .)" -ge "$count" ]; then
            printf '%s\n' "$ids" | tail -n1
            return 0
        fi
        sleep 0.05
    done
    return 1
}

e2e_visible_count() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | grep -c . || true
}

# Client-area origin of the main window (below the menu bar): E2E_X, E2E_Y; its width E2E_W.
e2e_main_geometry() {
    eval "$(xdotool getwindowgeometry --shell "$E2E_MAIN")"
    # The client area is 522 x 361 pixels (7830 x 5415 twips) times the window's scale factor, which
    # grows with the desktop's font, at the bottom of the window, under the menu bar.
    E2E_X=$X
    E2E_W=$WIDTH
    E2E_Y=$((Y + HEIGHT - 361 * WIDTH / 522))
    E2E_MENU_Y=$((Y + 5))
}

# e2e_px TWIPS: a length of the main window's design, in pixels at the window's scale factor.
e2e_px() {
    echo $(($1 * E2E_W / 7830))
}

# e2e_click_twips LEFT TOP WIDTH HEIGHT: clicks the middle of a control given in twips.
e2e_click_twips() {
    local x=$((E2E_X + $(e2e_px $(($1 + $3 / 2))))) y=$((E2E_Y + $(e2e_px $(($2 + $4 / 2)))))
    xdotool mousemove "$x" "$y" click 1
}

e2e_key() {
    xdotool key --clearmodifiers "$@"
}

# e2e_pixel X Y: prints the colour at a screen position as "r,g,b".
e2e_pixel() {
    import -window root "$E2E_TMP/shot.png" 2>/dev/null
    e2e_pixel_of "$E2E_TMP/shot.png" "$1" "$2"
}

# e2e_pixel_of FILE X Y: the colour of one pixel of a picture as "r,g,b".
e2e_pixel_of() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}

# e2e_count_not_region X Y R,G,B: a fresh screenshot; pixels differing from the colour in a 64x64 square at X,Y.
e2e_count_not_region() {
    import -window root "$E2E_TMP/shot.png" 2>/dev/null
    convert "$E2E_TMP/shot.png" -crop "64x64+$1+$2" +repage "$E2E_TMP/region.png"
    e2e_count_not "$E2E_TMP/region.png" "$3"
}

# e2e_screenshot FILE: the whole screen.
e2e_screenshot() {
    import -window root "$1" 2>/dev/null
}

# e2e_count_not FILE R,G,B: how many pixels of the picture differ from the colour. Exact: compared with a
# plain picture of that colour (marking matches by recolouring missed every pixel when the colour was
# black, and a mean times the area drifts by a pixel on large pictures).
e2e_count_not() {
    local size
    size=$(identify -format '%wx%h' "$1")
    convert -precision 16 "$1" -size "$size" "xc:rgb($2)" -alpha off -metric AE -compare \
        -format '%[distortion]\n' info:
}

e2e_wait_gone() {
    for _ in $(seq 1 600); do
        [ "$(e2e_visible_count "$1")" -lt "$2" ] && return 0
        sleep 0.05
    done
    return 1
}

# Waits for the program to end and sets E2E_STATUS to its exit status ("timeout" if it goes on).
# Call it directly, not in $(...): only this shell can collect its child's status.
e2e_wait_exit() {
    E2E_STATUS=timeout
    for _ in $(seq 1 400); do
        if ! kill -0 "$E2E_APP_PID" 2>/dev/null; then
            E2E_STATUS=0
            wait "$E2E_APP_PID" || E2E_STATUS=$?
            E2E_APP_PID=""
            return 0
        fi
        sleep 0.05
    done
}

e2e_settings() {
    cat "$XDG_CONFIG_HOME/QRBL/QRBL.conf" 2>/dev/null || true
}
