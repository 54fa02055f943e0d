# Shell helpers of the bench scripts, sourced: a private Xvfb server, the program in it, and statistics.
# Expects $build (the build folder); setup_scratch makes $tmp, removed with the server and program on exit.
xvfb=""
app=""

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# "min / median / max" of a column of numbers.
spread() {
    sort -g | awk '{ v[NR] = $1 } END { printf "%.2f / %.2f / %.2f", v[1],
        (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2, v[NR] }'
}
load_average() { cut -d' ' -f1 /proc/loadavg; }

# A fresh server with one screen of the given size (WIDTHxHEIGHT); DISPLAY names it.
start_xvfb() {
    rm -f "$tmp/display"
    Xvfb -displayfd 3 -screen 0 "${1}x24" -noreset -nolisten tcp 3>"$tmp/display" 2>/dev/null &
    xvfb=$!
    for _ in $(seq 1 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
    export DISPLAY=":$(head -n1 "$tmp/display")"
}

stop_xvfb() {
    [ -n "$xvfb" ] || return 0
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    xvfb=""
}

# The program with the pre-test message on (1) or off (0), and the monitors tests open on (default: the
# main window's), its sleeps logged to $tmp/sleep.log; sets origin_x, origin_y and client_width: where
# its client area lies, for button_at.
start_app() {
    mkdir -p "$XDG_CONFIG_HOME/QRBL"
    printf '[Options]\nShowInfo=%s\nMonitor=%s\n' "$1" "${2:-window}" >"$XDG_CONFIG_HOME/QRBL/QRBL.conf"
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
    [ -n "$app" ] || return 0
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    app=""
}

# The screen position of the middle of a button at LEFT TOP twips in the client area (buttons are
# 1215 x 495 twips): sets x and y.
button_at() {
    x=$((origin_x + ($1 + 607) * client_width / 7830))
    y=$((origin_y + ($2 + 247) * client_width / 7830))
}

setup_scratch() {
    tmp=$(mktemp -d)
    trap 'stop_app; stop_xvfb; rm -rf "$tmp"' EXIT
    export XDG_CONFIG_HOME="$tmp/config" XDG_RUNTIME_DIR="$tmp/run"
    mkdir -m 700 -p "$XDG_RUNTIME_DIR"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
}
