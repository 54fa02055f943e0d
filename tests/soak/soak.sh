#!/usr/bin/env bash
# Soak: the real program opens and closes every test ROUNDS times, help and about every round, toggles
# the pre-test option and changes the screen size while a pattern is up. It must say nothing on stderr,
# end cleanly with File, Exit, and hold its resident memory within LIMIT_KIB of the first round's.
# Usage: soak.sh QUORBEL [ROUNDS [LIMIT_KIB]]
QRBL_E2E_LIB=${QRBL_E2E_LIB:-$(dirname "$0")/../e2e/lib.sh}
source "$QRBL_E2E_LIB"
ROUNDS=${2:-100}
LIMIT_KIB=${3:-2048}
e2e_no_message
e2e_start_x 1024x768
e2e_start_x 1024x768 Xephyr # its sizes xrandr switches
e2e_start_app "$1"
rss() { awk '/^VmRSS/ {print $2}' "/proc/$E2E_APP_PID/status"; }
for round in $(seq 1 "$ROUNDS"); do
    for name in $(tr ' ' '\n' <<<"$E2E_BUTTONS" | cut -d: -f1); do
        e2e_click_button "$name"
        e2e_wait_window 'Quorbel!' 2 >/dev/null || e2e_fail "round $round: $name did not open"
        [ "$name" = red ] && xrandr -s "$([ $((round % 2)) = 1 ] && echo 800x600 || echo 1024x768)"
        e2e_key Escape
        e2e_wait_gone 'Quorbel!' 2 || e2e_fail "round $round: Esc did not end $name"
    done
    for keys in "alt+h" "Return" "Return" "alt+h" "Up Return" "Return" "alt+f" "Down Return" "alt+f" "Down Return"; do
        e2e_key $keys # help, about, the option on and off again
    done
    [ "$(e2e_visible_count 'Quorbel!')" = 1 ] && grep -q '^ShowInfo=0$' "$XDG_CONFIG_HOME/QRBL/QRBL.conf" ||
        e2e_fail "round $round: the dialogs or the option did not come back as they were"
    [ "$round" = 1 ] && first=$(rss)
done
end=$(rss)
e2e_exit_by_menu
echo "$ROUNDS rounds in $SECONDS s (with start-up); resident memory ${first} KiB after the first round, ${end} KiB at the end"
[ $((end - first)) -le "$LIMIT_KIB" ] || e2e_fail "resident memory grew by $((end - first)) KiB (limit $LIMIT_KIB KiB)"
echo "soak: passed"
