#!/usr/bin/env bash
# sway with outputs at scales 2 and 1: the main window moved to each, a test opened there by keyboard fills
# it with the program's own picture in its device pixels, with no pointer over it, and Esc alone ends it.
# sway refuses root, so as root (CI) the script runs again as nobody, on copies that nobody can read.
if [ "$(id -u)" = 0 ]; then
    copy=$(mktemp -d) && mkdir "$copy/tools" && chmod 755 "$copy" && trap 'rm -rf "$copy"' EXIT
    cp "$0" "$QRBL_E2E_LIB" "$1" "$copy" && cp "$QRBL_BUILD_DIR/tools/quorbel-render" "$copy/tools"
    QRBL_E2E_LIB=$copy/lib.sh QRBL_BUILD_DIR=$copy setpriv --reuid=nobody --regid=nogroup --clear-groups \
        bash "$copy/${0##*/}" "$copy/${1##*/}"
    exit
fi
source "$QRBL_E2E_LIB" || exit 1
e2e_no_message
e2e_start_sway 'output HEADLESS-1 mode 1024x768 position 0 0 scale 1' 'output HEADLESS-2 mode 2048x1536 position 1024 0 scale 2'
swaymsg 'seat seat0 cursor set 1030 10' >/dev/null # where patterns open on HEADLESS-2, never over our windows
e2e_start_app "$1"
# Output, its device size, the test, and the keys to its button from the focused one (Boxes at first,
# then the test last opened), in the main window's tab order.
for row in "HEADLESS-2 2048x1536 vertical-lines Tab Tab Tab Tab" "HEADLESS-2 2048x1536 red Tab Tab" \
    "HEADLESS-1 1024x768 red" "HEADLESS-1 1024x768 vertical-lines ISO_Left_Tab ISO_Left_Tab"; do
    read -r E2E_OUTPUT size name keys <<<"$row"
    swaymsg "[app_id=org.example.quorbel] move to output $E2E_OUTPUT, focus" >/dev/null
    e2e_key $keys Return
    e2e_until 10 e2e_pattern_shown "$name" "$size+0+0" || e2e_fail "$E2E_OUTPUT does not show $name alone"
    e2e_key Escape
    e2e_until 5 eval '[ "$(swaymsg -t get_tree | grep -c "\"name\": \"Quorbel!\"")" = 1 ]' || e2e_fail "Esc left $name up"
done
# Vertical Lines (the focused button) on the other output as chosen, then on both: exact there, and Esc
# ends it wherever the compositor left the keyboard.
for choice in HEADLESS-2 all; do
    printf '[Options]\nShowInfo=0\nMonitor=%s\n' $choice >"$XDG_CONFIG_HOME/QRBL/QRBL.conf"
    e2e_key Return
    E2E_OUTPUT=HEADLESS-2 e2e_until 10 e2e_pattern_shown vertical-lines 2048x1536+0+0 || e2e_fail "not on HEADLESS-2 for $choice"
    [ $choice != all ] || E2E_OUTPUT=HEADLESS-1 e2e_until 10 e2e_pattern_shown vertical-lines 1024x768+0+0 || e2e_fail "not on both"
    e2e_key Escape
    e2e_until 5 eval '[ "$(swaymsg -t get_tree | grep -c "\"name\": \"Quorbel!\"")" = 1 ]' || e2e_fail "Esc left the test on $choice up"
done
