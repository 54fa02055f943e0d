#!/usr/bin/env bash
# Two monitors side by side, the main window moved to the second: the message keeps its offset from that
# monitor's corner and the pattern fills that monitor. The monitor chosen in the menu or on the command
# line, or all of them. Then the monitors at scales 1 and 2: the main window takes the size of the monitor
# it is on.
source "$QRBL_E2E_LIB" || exit 1
e2e_start_x 2048x768
xrandr --setmonitor A 1024/270x768/203+0+0 screen >/dev/null
xrandr --setmonitor B 1024/270x768/203+1024+0 none
e2e_start_app "$1"
xdotool windowmove "$E2E_MAIN" 1200 100
sleep 0.5
e2e_key KP_Enter
eval "$(xdotool getwindowgeometry --shell "$(e2e_wait_window 'Quorbel!' 2)")"
[ "$X,$Y" = "$((1024 + 2760 / 15)),$((3750 / 15))" ] || e2e_fail "the message is at $X,$Y"
e2e_key KP_Enter
e2e_until 10 e2e_pattern_shown boxes 1024x768+1024+0 || e2e_fail "Boxes does not fill the second monitor"
e2e_screenshot "$E2E_TMP/both.png"
[ "$(e2e_differ "$E2E_TMP/both.png" xc:black 1024x768+0+0)" = 0 ] || e2e_fail "the first monitor changed"
e2e_key Escape
# File, Show Tests On, B: stored, and Boxes opens there though the main window is on A.
xdotool windowmove "$E2E_MAIN" 0 0 && e2e_settle
e2e_menu f Down Down Right Down Down Down Return
e2e_until 5 grep -qx 'Monitor=B' "$XDG_CONFIG_HOME/QRBL/QRBL.conf" || e2e_fail "the monitor chosen was not stored"
e2e_key KP_Enter KP_Enter
e2e_until 10 e2e_pattern_shown boxes 1024x768+1024+0 || e2e_fail "Boxes is not on the monitor chosen"
e2e_key Escape && e2e_settle
e2e_exit_by_menu
[ "$("$1" --list-monitors)" = $'A 1024x768+0+0 scale 1\nB 1024x768+1024+0 scale 1' ] || e2e_fail "--list-monitors: $("$1" --list-monitors)"
for args in "--test nope" "--test red --monitor C" "--monitor A"; do
    status=0 && out=$("$1" $args 2>&1) || status=$?
    [ "$status,$(grep -c . <<<"$out"),$(e2e_visible_count 'Quorbel!')" = 2,1,0 ] || e2e_fail "$args: status $status, said: $out"
done
# A test from the command line on all monitors at once, each exact; one Esc ends both.
e2e_start_app "$1" --test red --monitor all
e2e_until 10 eval 'e2e_pattern_shown red 1024x768+0+0 && e2e_pattern_shown red 1024x768+1024+0' || e2e_fail "Red not on both"
e2e_key Escape
e2e_until 10 eval '[ "$(e2e_visible_count "Quorbel!")" = 1 ]' || e2e_fail "Esc left Red on a monitor"
E2E_MAIN=$(e2e_wait_window 'Quorbel!' 1) && e2e_settle
e2e_exit_by_menu
QT_SCREEN_SCALE_FACTORS="A=1;B=2" e2e_start_app "$1"
width() { xdotool getwindowgeometry --shell "$E2E_MAIN" | sed -n 's/^WIDTH=//p'; }
one=$(width)
xdotool windowmove "$E2E_MAIN" 1100 100
e2e_until 5 eval '[ "$(width)" = $((2 * one)) ]' || e2e_fail "on the 2x monitor the main window is $(width) wide, not $((2 * one))"
xdotool windowmove "$E2E_MAIN" 100 100
e2e_until 5 eval '[ "$(width)" = "$one" ]' || e2e_fail "back on the 1x monitor the main window is $(width) wide, not $one"
e2e_exit_by_menu
