#!/usr/bin/env bash
# Then the journey in a bare X server, without a window manager: the pattern must cover the screen by itself.
source "$QRBL_E2E_LIB" || exit 1
# The command line answers without a display; without one, it says so in one line and fails.
[ "$("$1" --version)" = "Quorbel! $(cat "$QRBL_BUILD_DIR/server/qrblver.dat")" ] || e2e_fail "--version: $("$1" --version)"
"$1" --help | grep -q -- --version || e2e_fail "--help does not list the options"
status=0 && out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" 2>&1) || status=$?
[ "$status,$(grep -c . <<<"$out")" = 1,1 ] || e2e_fail "without a display: status $status, said: $out"
e2e_start_x 1024x768
e2e_journey "$1"
