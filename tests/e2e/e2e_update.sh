#!/usr/bin/env bash
# File, Check For Update in the built program, with its built-in address, against a loopback server reached
# as the desktop's proxy (http_proxy), so that no name is looked up and nothing leaves the machine.
source "$QRBL_E2E_LIB"
QUORBEL=$1
address=$(sed -n 's/^QRBL_UPDATE_URL:[A-Z]*=//p' "$QRBL_BUILD_DIR/CMakeCache.txt")
if [ "${address#http://}" = "$address" ]; then # a proxy is asked for plain http only: build one that asks so
    address=http://quorbel-update.invalid/update/qrblver.dat QUORBEL=$QRBL_BUILD_DIR/e2e-update-build/quorbel
    cmake -S "$(dirname "$QRBL_E2E_LIB")/../.." -B "${QUORBEL%/*}" -G Ninja -DBUILD_TESTING=OFF -DQRBL_UPDATE_URL="$address" \
        >/dev/null && cmake --build "${QUORBEL%/*}" -j2 --target quorbel >/dev/null || e2e_fail "no build with an http address"
fi
body=$E2E_TMP/body.dat log=$E2E_TMP/requests.log
python3 "$(dirname "$0")/update_server.py" "$body" "$log" "$E2E_TMP/port" 0 2>/dev/null &
trap "kill $!; e2e_cleanup" EXIT
for _ in $(seq 1 200); do [ -s "$E2E_TMP/port" ] && break || sleep 0.05; done
export http_proxy="http://127.0.0.1:$(cat "$E2E_TMP/port")"
unset HTTP_PROXY no_proxy NO_PROXY all_proxy ALL_PROXY XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION
e2e_start_x 1024x768
e2e_start_app "$QUORBEL"

# File, then keys; with the mouse, since no window manager hands the focus back to the main window.
file_menu() {
    xdotool mousemove $((E2E_X + 20)) $((E2E_MENU_Y + 4)) click 1 && sleep 0.3 && e2e_key "$@"
}
# check NAME DIALOG: the answer is the update dialog (1: Esc leaves it open, keypad Enter presses OK) or a message
# box (0: Esc closes it).
check() {
    file_menu Down Return
    e2e_wait_window 'Update Check' 1 >/dev/null || e2e_fail "no answer to $1"
    sleep 0.3 && e2e_key Escape && sleep 0.3
    [ "$(e2e_visible_count 'Update Check')" = "$2" ] || e2e_fail "the wrong kind of window for $1"
    { [ "$2" = 0 ] || e2e_key KP_Enter; } && e2e_wait_gone 'Update Check' 1 || e2e_fail "the answer to $1 did not close"
}
printf '4.0.1' >"$body" && check "a newer version" 1
grep -qx "GET $address HTTP/1.1 | vb wininet | no-cache | identity" "$log" || e2e_fail "asked: $(cat "$log")"
{ cat "$QRBL_BUILD_DIR/server/qrblver.dat" && echo; } >"$body" && check "the published version and a line break" 0
rm "$body" && check "a missing file" 0
# File, Exit while the server has not answered yet ends the program cleanly, showing nothing more.
mkfifo "$body" && file_menu Down Return && sleep 1
[ "$(e2e_visible_count 'Update Check')" = 0 ] || e2e_fail "the check did not wait for the server"
file_menu x && e2e_wait_exit
[ "$E2E_STATUS" = 0 ] && ! grep . "$E2E_TMP/app.err" || e2e_fail "File, Exit during a check: $E2E_STATUS"
