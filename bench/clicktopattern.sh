#!/usr/bin/env bash
# Click to pattern, per test: from the input that confirms it (Enter in the pre-test message, or the
# button's release with the message off) to the pattern whole on screen, in a private Xvfb server; and
# how much of that the program slept (the drawn patterns' deliberate 0.1 s wait). Medians of RUNS runs
# after one untimed run per test.
# Usage: clicktopattern.sh BUILD_DIR [RUNS] [SCREEN...]   (screens default to 1920x1080 3840x2160)
set -euo pipefail
build=$1
runs=${2:-5}
shift $(($# > 1 ? 2 : 1))
screens=("$@")
[ ${#screens[@]} -gt 0 ] || screens=(1920x1080 3840x2160)

tmp=$(mktemp -d)
xvfb=""
app=""
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$tmp/config" XDG_RUNTIME_DIR="$tmp/run"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
mkdir -p "$XDG_CONFIG_HOME/QRBL"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

# Test, its window, and its button's left and top in the main window (twips; buttons are 1215 x 495).
tests=(
    "Boxes frmBoxesFS 360 480" "Circles frmCirclesFS 1920 480" "Colors frmColorFS 3480 480"
    "Crosshairs frmCrosshairsFS 360 1200" "Vertical_Lines frmVerticalLines 1920 1200"
    "Diagonal_Lines frmDiagonalLines 3480 1200" "Red frmOneColor 360 2520" "Green frmOneColor 1920 2520"
    "Blue frmOneColor 3480 2520" "Black frmOneColor 360 3840" "White frmOneColor 1920 3840"
    "50%_Grey frmOneColor 3480 3840" "Greys frmGreysFS 360 4560"
)

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

start_app() {
    printf '[Options]\nShowInfo=%s\n' "$1" >"$XDG_CONFIG_HOME/QRBL/QRBL.conf"
    : >"$tmp/sleep.log"
    QRBL_SLEEP_LOG="$tmp/sleep.log" LD_PRELOAD="$(realpath "$build/bench/libsleeplog.so")" "$build/quorbel" \
        >"$tmp/app.out" 2>"$tmp/app.err" &
    app=$!
    local id=""
    for _ in $(seq 1 200); do
        id=$(xdotool search --onlyvisible --name '^Quorbel!$' 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && break
        sleep 0.05
    done
    [ -n "$id" ] || { echo "the main window did not appear" >&2; exit 1; }
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$id")"
    origin_x=$X
    # The client area, under the menu bar: 7830 x 5415 twips times the window's scale factor.
    client_width=$WIDTH
    origin_y=$((Y + HEIGHT - 5415 * WIDTH / 7830))
}

stop_app() {
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    app=""
}

for screen in "${screens[@]}"; do
    Xvfb -displayfd 3 -screen 0 "${screen}x24" -noreset -nolisten tcp 3>"$tmp/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 1 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
    export DISPLAY=":$(head -n1 "$tmp/display")"

    declare -A total slept
    grab=""
    for mode in enter click; do
        start_app "$([ $mode = enter ] && echo 1 || echo 0)"
        for t in "${tests[@]}"; do
            read -r name window left top <<<"$t"
            x=$((origin_x + (left + 607) * client_width / 7830))
            y=$((origin_y + (top + 247) * client_width / 7830))
            "$build/bench/clicktimer" "$x" "$y" "$runs" "$mode" "$tmp/sleep.log" >"$tmp/runs"
            total[$name,$mode]=$(grep -v '^#' "$tmp/runs" | cut -d' ' -f1 | median)
            slept[$name,$mode]=$(grep -v '^#' "$tmp/runs" | cut -d' ' -f2 | median)
            grab=$(grep '^# grab_ms' "$tmp/runs" | cut -d' ' -f3)
        done
        stop_app
    done
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    xvfb=""
    rm -f "$tmp/display"

    echo
    echo "Click to pattern on a $screen Xvfb screen (median of $runs runs, ms; one screen grab takes ${grab} ms)"
    printf '%-15s %-17s %27s %27s\n' "" "" "confirmed with Enter" "button click, no message"
    printf '%-15s %-17s %9s %8s %8s %9s %8s %8s\n' test window total wait rest total wait rest
    for t in "${tests[@]}"; do
        read -r name window _ _ <<<"$t"
        row=$(printf '%-15s %-17s' "${name//_/ }" "$window")
        for mode in enter click; do
            row+=$(awk -v a="${total[$name,$mode]}" -v b="${slept[$name,$mode]}" \
                'BEGIN { printf " %9.1f %8.1f %8.1f", a, b, a - b }')
        done
        echo "$row"
    done
    unset total slept
done
echo
echo "wait: time the program's main thread slept (the drawn patterns' deliberate 0.1 s wait); rest: total - wait"
