#!/usr/bin/env bash
# The program beside plain Qt programs, in pairs of runs interleaved in one private Xvfb server per
# screen size, so that other work on the machine weighs on both alike:
# - key to picture: with the program idle (pre-test message off), from Return on a test's button to
#   the whole screen equal to the pattern, beside the cold launch of minimal_red, whose one window covers
#   the screen in red (exec to the whole screen red);
# - peak memory: the program started afresh and Red opened once, beside minimal_red, both read while
#   the picture is up.
# Ratios are taken pair by pair and shown as min / median / max.
# Usage: references.sh BUILD_DIR [KEY_RUNS] [MEMORY_RUNS]
#        (KEY_SCREENS and MEMORY_SCREENS in the environment choose the screen sizes)
set -euo pipefail
build=$1
key_runs=${2:-5}
memory_runs=${3:-3}
read -r -a key_screens <<<"${KEY_SCREENS:-1920x1080 3840x2160}"
read -r -a memory_screens <<<"${MEMORY_SCREENS:-3840x2160 7680x4320}"
source "$(dirname "$0")/xvfb.sh"
setup_scratch
reference=$(realpath "$build/bench/minimal_red")

# Test and its button's left and top in the main window (twips).
tests=("Red 360 2520" "Circles 1920 480" "Vertical_Lines 1920 1200" "Greys 360 4560")

echo
echo "Key to picture, beside the cold launch of minimal_red ($key_runs interleaved pairs; load average" \
    "$(load_average) at the start)"
printf '%-10s %-15s %9s %8s %10s   %-22s %-22s\n' screen test "key (ms)" "wait" "red (ms)" \
    "ratio min / med / max" "without the wait"
for screen in "${key_screens[@]}"; do
    start_xvfb "$screen"
    start_app 0
    for t in "${tests[@]}"; do
        read -r name left top <<<"$t"
        button_at "$left" "$top"
        "$build/bench/clicktimer" "$x" "$y" "$key_runs" key "$tmp/sleep.log" -- "$reference" >"$tmp/runs"
        grep -v '^#' "$tmp/runs" >"$tmp/pairs"
        printf '%-10s %-15s %9.1f %8.1f %10.1f   %-22s %-22s\n' "$screen" "${name//_/ }" \
            "$(cut -d' ' -f1 "$tmp/pairs" | median)" "$(cut -d' ' -f2 "$tmp/pairs" | median)" \
            "$(cut -d' ' -f3 "$tmp/pairs" | median)" "$(awk '{ print $1 / $3 }' "$tmp/pairs" | spread)" \
            "$(awk '{ print ($1 - $2) / $3 }' "$tmp/pairs" | spread)"
    done
    stop_app
    stop_xvfb
done

echo
echo "Peak memory with Red up, beside minimal_red ($memory_runs pairs, each program started afresh)"
printf '%-10s %14s %14s   %s\n' screen "quorbel (KiB)" "red (KiB)" "ratio min / med / max"
for screen in "${memory_screens[@]}"; do
    start_xvfb "$screen"
    : >"$tmp/peaks"
    for _ in $(seq 1 "$memory_runs"); do
        start_app 0
        button_at 360 2520
        "$build/bench/clicktimer" "$x" "$y" 0 key "$tmp/sleep.log" -- "$reference" >"$tmp/runs"
        echo "$(awk '/^VmHWM:/ { print $2 }' "/proc/$app/status")" \
            "$(awk '/^# reference_peak_kib/ { print $3 }' "$tmp/runs")" >>"$tmp/peaks"
        stop_app
    done
    stop_xvfb
    printf '%-10s %14d %14d   %s\n' "$screen" "$(cut -d' ' -f1 "$tmp/peaks" | median)" \
        "$(cut -d' ' -f2 "$tmp/peaks" | median)" "$(awk '{ print $1 / $2 }' "$tmp/peaks" | spread)"
done

# Two monitors side by side in one screen: with All Monitors each gets its own frame, drawn one after the
# other, so memory should grow by one frame per monitor and the time by about one more monitor.
read -r all_width all_height <<<"${ALL_MONITORS:-3840 2160}"
echo
echo "Two ${all_width}x${all_height} monitors side by side: Red on the main window's monitor, then on both" \
    "($key_runs runs each)"
printf '%-8s %12s %14s\n' monitors "key (ms)" "peak (KiB)"
for choice in window all; do
    start_xvfb "$((2 * all_width))x$all_height"
    xrandr --setmonitor A "$all_width/600x$all_height/340+0+0" screen >/dev/null
    xrandr --setmonitor B "$all_width/600x$all_height/340+$all_width+0" none >/dev/null
    start_app 0 "$choice"
    button_at 360 2520
    "$build/bench/clicktimer" "$x" "$y" "$key_runs" key "$tmp/sleep.log" >"$tmp/runs"
    printf '%-8s %12.1f %14d\n' "$choice" "$(grep -v '^#' "$tmp/runs" | cut -d' ' -f1 | median)" \
        "$(awk '/^VmHWM:/ { print $2 }' "/proc/$app/status")"
    stop_app
    stop_xvfb
done

echo
echo "wait: time the program's main thread slept meanwhile (the drawn patterns' deliberate 0.1 s wait);" \
    "load average $(load_average) at the end"
