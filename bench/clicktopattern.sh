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
source "$(dirname "$0")/xvfb.sh"
setup_scratch

# Test, its window, and its button's left and top in the main window (twips).
tests=(
    "Boxes frmBoxesFS 360 480" "Circles frmCirclesFS 1920 480" "Colors frmColorFS 3480 480"
    "Crosshairs frmCrosshairsFS 360 1200" "Vertical_Lines frmVerticalLines 1920 1200"
    "Diagonal_Lines frmDiagonalLines 3480 1200" "Red frmOneColor 360 2520" "Green frmOneColor 1920 2520"
    "Blue frmOneColor 3480 2520" "Black frmOneColor 360 3840" "White frmOneColor 1920 3840"
    "50%_Grey frmOneColor 3480 3840" "Greys frmGreysFS 360 4560"
)

for screen in "${screens[@]}"; do
    start_xvfb "$screen"
    declare -A total slept
    grab=""
    for mode in enter click; do
        start_app "$([ $mode = enter ] && echo 1 || echo 0)"
        for t in "${tests[@]}"; do
            read -r name window left top <<<"$t"
            button_at "$left" "$top"
            "$build/bench/clicktimer" "$x" "$y" "$runs" "$mode" "$tmp/sleep.log" >"$tmp/runs"
            total[$name,$mode]=$(grep -v '^#' "$tmp/runs" | cut -d' ' -f1 | median)
            slept[$name,$mode]=$(grep -v '^#' "$tmp/runs" | cut -d' ' -f2 | median)
            grab=$(grep '^# grab_ms' "$tmp/runs" | cut -d' ' -f3-)
        done
        stop_app
    done
    stop_xvfb

    echo
    echo "Click to pattern on a $screen Xvfb screen (median of $runs runs, ms; grabs of a row and of the" \
        "screen take ${grab/ / and } ms)"
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
