#!/usr/bin/env bash
# File, Check For Update in the built program, against a loopback server: the update dialog for a
# newer version, the "latest version" message for the published version file, the "not responding"
# message once the server is gone, and File, Exit in the middle of a download.
#
# The program is the one built, with its built-in version file address. It reaches the loopback
# server as its HTTP proxy, through the system proxy setting (http_proxy), which the update check
# honours like any proxy of the desktop.
source "$QRBL_E2E_LIB"
QUORBEL=$1
SHOTS=${QRBL_BUILD_DIR:-$E2E_TMP}/e2e-update
mkdir -p "$SHOTS"

address=$(sed -n 's/^QRBL_UPDATE_URL:[A-Z]*=//p' "$QRBL_BUILD_DIR/CMakeCache.txt")
published="$QRBL_BUILD_DIR/server/qrblver.dat"
[ -f "$published" ] || e2e_fail "the build has no server/qrblver.dat"
if [ "${address#http://}" = "$address" ]; then
    # A proxy can only be asked for plain http addresses: build the program once more with one.
    address=http://quorbel-update.invalid/update/qrblver.dat
    cmake -S "$(dirname "$QRBL_E2E_LIB")/../.." -B "$QRBL_BUILD_DIR/e2e-update-build" -G Ninja \
        -DBUILD_TESTING=OFF -DQRBL_UPDATE_URL="$address" >/dev/null || e2e_fail "configure failed"
    cmake --build "$QRBL_BUILD_DIR/e2e-update-build" --target quorbel -j2 >/dev/null || e2e_fail "build failed"
    QUORBEL="$QRBL_BUILD_DIR/e2e-update-build/quorbel"
fi

# The loopback server answers every GET with body.dat ("SLOW:text": the text 5 seconds late).
SERVER_PID=""
trap 'if [ -n "$SERVER_PID" ]; then kill "$SERVER_PID" 2>/dev/null || true; fi; e2e_cleanup' EXIT
# start_server PORT: 0 picks a free port; the port is then in $E2E_TMP/port.
start_server() {
    rm -f "$E2E_TMP/port"
    python3 "$(dirname "$0")/update_server.py" "$E2E_TMP/body.dat" "$E2E_TMP/requests.log" "$E2E_TMP/port" "$1" &
    SERVER_PID=$!
    for _ in $(seq 1 100); do
        [ -s "$E2E_TMP/port" ] && return 0
        sleep 0.05
    done
    e2e_fail "the loopback server did not start"
}
stop_server() {
    kill "$SERVER_PID"
    wait "$SERVER_PID" 2>/dev/null || true
    SERVER_PID=""
}
start_server 0
export http_proxy="http://127.0.0.1:$(cat "$E2E_TMP/port")"
unset HTTP_PROXY no_proxy NO_PROXY all_proxy ALL_PROXY XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION

e2e_start_x 1024x768
e2e_start_app "$QUORBEL"

# No window manager hands the focus back to the main window: open its File menu with the mouse.
open_file_menu() {
    xdotool mousemove $((E2E_X + 20)) $((E2E_MENU_Y + 4)) click 1
    sleep 0.3
}

check_for_update() {
    open_file_menu
    e2e_key Down Return
    e2e_wait_window 'Update Check' 1 || e2e_fail "no Update Check window after $1"
}

# A window's picture, cut from a screenshot of the whole screen.
window_shot() {
    local id=$1 file=$2
    eval "$(xdotool getwindowgeometry --shell "$id")"
    e2e_screenshot "$E2E_TMP/screen.png"
    convert "$E2E_TMP/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$file"
    echo "${WIDTH}x${HEIGHT}"
}

# Pixels of a colour family in a picture: blue (the link, the information sign), yellow (the warning sign).
count_blue() {
    convert "$1" -fx '(b>0.7 && r<0.3 && g<0.3) ? 1 : 0' -format '%[fx:int(mean*w*h+0.5)]' info:
}
count_yellow() {
    convert "$1" -fx '(r>0.7 && g>0.5 && b<0.3) ? 1 : 0' -format '%[fx:int(mean*w*h+0.5)]' info:
}

close_with_enter() {
    e2e_key Return
    e2e_wait_gone 'Update Check' 1 || e2e_fail "the Update Check window did not close: $1"
}

# The update dialog's size: 313 x 162 pixels, grown evenly with the desktop's font.
is_update_dialog() {
    local w=${1%x*} h=${1#*x}
    [ "$w" -ge 313 ] && [ $(((w * 162 - h * 313) / 313)) -eq 0 ]
}

# 1. A newer version: the update dialog, with its blue link.
printf '4.0.1' >"$E2E_TMP/body.dat"
dialog=$(check_for_update "4.0.1")
sleep 0.3
size=$(window_shot "$dialog" "$SHOTS/dialog-4.0.1.png")
is_update_dialog "$size" || e2e_fail "the update dialog is $size, not 313x162 grown evenly"
[ "$(count_blue "$SHOTS/dialog-4.0.1.png")" -gt 50 ] || e2e_fail "the update dialog shows no link"
grep -q "^GET $address HTTP/1.1 | vb wininet | no-cache\$" "$E2E_TMP/requests.log" ||
    e2e_fail "unexpected request: $(cat "$E2E_TMP/requests.log")"
# Esc leaves it open; Enter presses the focused OK.
e2e_key Escape
sleep 0.3
[ "$(e2e_visible_count 'Update Check')" -eq 1 ] || e2e_fail "Esc closed the update dialog"
close_with_enter "update dialog"

# 2. The published version file: the "latest version" message with the information sign (blue).
cp "$published" "$E2E_TMP/body.dat"
box=$(check_for_update "4.0.0")
sleep 0.3
size=$(window_shot "$box" "$SHOTS/box-latest.png")
! is_update_dialog "$size" || e2e_fail "the update dialog opened for the published version"
[ "$(count_blue "$SHOTS/box-latest.png")" -gt 20 ] || e2e_fail "the latest-version message shows no information sign"
[ "$(count_yellow "$SHOTS/box-latest.png")" -eq 0 ] || e2e_fail "the latest-version message shows a warning"
[ "$(grep -c . "$E2E_TMP/requests.log")" -eq 2 ] || e2e_fail "the second check did not ask the server again"
close_with_enter "latest-version message"

# 3. The server is gone: the "not responding" message with its warning sign.
stop_server
box=$(check_for_update "the server went away")
sleep 0.3
size=$(window_shot "$box" "$SHOTS/box-not-responding.png")
[ "$(count_yellow "$SHOTS/box-not-responding.png")" -gt 20 ] || e2e_fail "the not-responding message shows no warning sign"
[ "$(count_blue "$SHOTS/box-not-responding.png")" -eq 0 ] || e2e_fail "the not-responding message shows a blue sign"
close_with_enter "not-responding message"

# 4. File, Exit while a check is still downloading: the program ends, and shows nothing more.
printf 'SLOW:4.0.1' >"$E2E_TMP/body.dat"
start_server "${http_proxy##*:}"
open_file_menu
e2e_key Down Return
for _ in $(seq 1 100); do
    [ "$(grep -c . "$E2E_TMP/requests.log")" -eq 3 ] && break
    sleep 0.05
done
[ "$(grep -c . "$E2E_TMP/requests.log")" -eq 3 ] || e2e_fail "the last check did not reach the server"
sleep 0.3
open_file_menu
e2e_key x
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "the program did not end after File, Exit during a download ($E2E_STATUS)"
if grep -q . "$E2E_TMP/app.err"; then cat "$E2E_TMP/app.err" >&2; fi
echo "ok: screenshots in $SHOTS"
