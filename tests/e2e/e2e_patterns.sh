#!/usr/bin/env bash
# Every test opened from its button at desktop scale 1 and 2: the screen is exactly the program's own
# picture of it (drawn in device pixels, covering the screen) and Esc brings the main window back. Then a
# resolution change while a pattern is up. In Xephyr, whose sizes xrandr switches.
source "$QRBL_E2E_LIB" || exit 1
e2e_no_message
e2e_start_x 1280x1024
e2e_start_x 1280x1024 Xephyr
for scale in 1 2; do
    QT_SCALE_FACTOR=$scale e2e_start_app "$1"
    for name in $(tr ' ' '\n' <<<"$E2E_BUTTONS" | cut -d: -f1); do
        e2e_click_button "$name"
        e2e_until 10 e2e_pattern_shown "$name" || e2e_fail "$name at scale $scale is not the whole screen"
        e2e_key Escape
        e2e_wait_gone 'Quorbel!' 2 || e2e_fail "Esc did not end $name at scale $scale"
    done
    [ "$scale" = 2 ] || e2e_exit_by_menu
done
xrandr -s 1024x768
e2e_click_button red
e2e_until 10 e2e_pattern_shown red || e2e_fail "red did not open"
xrandr -s 1280x1024
e2e_until 10 e2e_pattern_shown red || e2e_fail "red does not cover the screen after a resolution change"
e2e_key Escape
e2e_exit_by_menu
