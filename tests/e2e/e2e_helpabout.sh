#!/usr/bin/env bash
# The description panel under a resting pointer, and Help and About opened from the menus by keyboard.
source "$QRBL_E2E_LIB"
QUORBEL=$1
OUT=${QRBL_BUILD_DIR:-/tmp}

e2e_start_x 1280x1024
e2e_start_app "$QUORBEL"

# Inside of the description box (client twips 5280, 360, 2295 x 4815), clear of its border.
BOX_X=$((E2E_X + $(e2e_px 5280) + 4))
BOX_Y=$((E2E_Y + $(e2e_px 360) + 4))
BOX_W=$(($(e2e_px 2295) - 8))
BOX_H=$(($(e2e_px 4815) - 8))

# Pixels in the box that are not its background: text.
box_ink() {
    e2e_screenshot "$E2E_TMP/box.png"
    convert "$E2E_TMP/box.png" -crop "${BOX_W}x${BOX_H}+${BOX_X}+${BOX_Y}" +repage "$E2E_TMP/crop.png"
    local bg
    bg=$(convert "$E2E_TMP/crop.png" -format "%[fx:int(255*p{2,2}.r)],%[fx:int(255*p{2,2}.g)],%[fx:int(255*p{2,2}.b)]" info:)
    e2e_count_not "$E2E_TMP/crop.png" "$bg"
}

# point_twips X Y: rests the pointer at a point of the client area.
point_twips() {
    xdotool mousemove $((E2E_X + $(e2e_px $1))) $((E2E_Y + $(e2e_px $2)))
    sleep 0.4
}

focused_is_main() {
    [ "$(xdotool getwindowfocus)" = "$E2E_MAIN" ]
}

[ "$(box_ink)" -eq 0 ] || e2e_fail "the description box is not empty at start"

point_twips 967 727 # Boxes
boxes=$(box_ink)
[ "$boxes" -gt 50 ] || e2e_fail "no description under Boxes ($boxes)"
point_twips 4087 727 # Colors
colors=$(box_ink)
[ "$colors" -gt $((boxes * 2)) ] || e2e_fail "Colors' longer description not shown ($colors vs $boxes)"
e2e_screenshot "$OUT/e2e-helpabout-panel.png"

# The menu bar leaves the box alone; the window's background empties it.
xdotool mousemove $((E2E_X + 300)) $((E2E_MENU_Y + 2))
sleep 0.4
[ "$(box_ink)" -eq "$colors" ] || e2e_fail "moving over the menu bar changed the box"
point_twips 5040 1500
[ "$(box_ink)" -eq 0 ] || e2e_fail "the window's background did not empty the box"
point_twips 967 4807 # Greys
[ "$(box_ink)" -gt 50 ] || e2e_fail "no description under Greys"

# Help, "Quorbel! Help": the first item of the Help menu.
focused_is_main || e2e_fail "main window not focused at start"
e2e_key alt+h
sleep 0.3
e2e_key Return
HELP=$(e2e_wait_window 'Quorbel! Help' 1) || e2e_fail "help window did not open"
sleep 0.3
e2e_screenshot "$OUT/e2e-helpabout-help.png"
e2e_key Escape
sleep 0.4
[ "$(e2e_visible_count 'Quorbel! Help')" -eq 1 ] || e2e_fail "Esc closed the help window"
e2e_key Return # OK has the focus
e2e_wait_gone 'Quorbel! Help' 1 || e2e_fail "OK did not close the help window"
sleep 0.3
focused_is_main || e2e_fail "main window not active after the help window"

# Help, About: the last item; Esc closes it.
e2e_key alt+h
sleep 0.3
e2e_key Up Return
ABOUT=$(e2e_wait_window 'About Quorbel!' 1) || e2e_fail "about box did not open"
sleep 0.3
e2e_screenshot "$OUT/e2e-helpabout-about.png"
eval "$(xdotool getwindowgeometry --shell "$ABOUT")"
# The web-page link (twips 1080, 2040 of the box's 5730 wide, which grows with the font): blue ink on screen.
convert "$OUT/e2e-helpabout-about.png" -crop "100x17+$((X + 1080 * WIDTH / 5730))+$((Y + 2040 * WIDTH / 5730))" \
    +repage "$E2E_TMP/link.png"
blue=$(( 100 * 17 - $(e2e_count_not "$E2E_TMP/link.png" 0,0,255) ))
[ "$blue" -gt 30 ] || e2e_fail "the web-page link is not blue ($blue)"
e2e_key Escape
e2e_wait_gone 'About Quorbel!' 1 || e2e_fail "Esc did not close the about box"
sleep 0.3
focused_is_main || e2e_fail "main window not active after Esc in the about box"

# Again (the menu opens on its first item), closed with Enter.
e2e_key alt+h
sleep 0.3
e2e_key Down Return
e2e_wait_window 'About Quorbel!' 1 >/dev/null || e2e_fail "about box did not open"
sleep 0.3
e2e_key Return
e2e_wait_gone 'About Quorbel!' 1 || e2e_fail "Enter did not close the about box"
sleep 0.3
focused_is_main || e2e_fail "main window not active after Enter in the about box"
[ "$(box_ink)" -gt 50 ] || e2e_fail "the description did not stay"

e2e_key alt+f
sleep 0.3
e2e_key x
e2e_wait_exit
[ "$E2E_STATUS" = 0 ] || e2e_fail "the program did not end after File, Exit ($E2E_STATUS)"
echo "PASS"
