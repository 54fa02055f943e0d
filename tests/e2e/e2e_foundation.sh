#!/usr/bin/env bash
# The program as a person meets it: first run with the pre-test message, a solid colour, Esc, the
# option switched off from the File menu, File Exit, and a second start that remembers the choice.
source "$QRBL_E2E_LIB"
QUORBEL=$1

e2e_start_x 1280x1024
e2e_start_app "$QUORBEL"

# First run: the message comes before the test.
e2e_click_twips 360 2520 1215 495 # Red
e2e_wait_window 'Quorbel!' 2 >/dev/null || e2e_fail "no pre-test message on the first run"
e2e_screenshot "$E2E_TMP/message.png"
e2e_key Return
sleep 0.5
e2e_screenshot "$E2E_TMP/red.png"
wrong=$(e2e_count_not "$E2E_TMP/red.png" 255,0,0)
[ "$wrong" -eq 0 ] || e2e_fail "red test: $wrong pixels are not red"
grep -q '^ShowInfo=1$' "$XDG_CONFIG_HOME/QRBL/QRBL.conf" || e2e_fail "OK with the box checked did not store 1"

# Esc brings the main window back; other keys did nothing before it.
e2e_key space
e2e_key a
sleep 0.2
[ "$(e2e_count_not_region 640 512 255,0,0)" -eq 0 ] || e2e_fail "a key other than Esc changed the test"
e2e_key Escape
e2e_wait_gone 'Quorbel!' 2 || e2e_fail "Esc did not end the test"
e2e_screenshot "$E2E_TMP/back.png"
[ "$(e2e_pixel_of "$E2E_TMP/back.png" 1200 1000)" = "0,0,0" ] || e2e_fail "the red screen stayed after Esc"

# File, Show Pre-Test Message: unchecked and stored as 0.
e2e_key alt+f
sleep 0.3
e2e_key Down Return
sleep 0.3
grep -q '^ShowInfo=0$' "$XDG_CONFIG_HOME/QRBL/QRBL.conf" || e2e_fail "unchecking the menu item did not store 0"

# File, Exit ends the process with status 0.
e2e_key alt+f
sleep 0.3
e2e_key x
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "File, Exit ended with status $E2E_STATUS"

# The next start remembers: the test starts directly.
e2e_start_app "$QUORBEL"
e2e_click_twips 3480 2520 1215 495 # Blue
sleep 0.6
[ "$(e2e_visible_count 'Quorbel!')" -eq 2 ] || e2e_fail "the blue test did not open"
e2e_screenshot "$E2E_TMP/blue.png"
wrong=$(e2e_count_not "$E2E_TMP/blue.png" 0,0,255)
[ "$wrong" -eq 0 ] || e2e_fail "blue test started with the message or not blue: $wrong pixels"
e2e_key Escape
e2e_wait_gone 'Quorbel!' 2 || e2e_fail "Esc did not end the blue test"
e2e_key alt+f
sleep 0.3
e2e_key x
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "second File, Exit ended with status $E2E_STATUS"
if grep -q . "$E2E_TMP/app.err"; then
    e2e_fail "the program wrote to stderr: $(cat "$E2E_TMP/app.err")"
fi
echo "e2e_foundation: passed"
