#!/usr/bin/env bash
# The journey as an X client of weston's XWayland: full screen is weston's to grant there. XWayland is
# recognised from the X server itself, whatever the environment says.
source "$QRBL_E2E_LIB" || exit 1
e2e_start_x 1024x768
e2e_start_weston xwayland
unset WAYLAND_DISPLAY
e2e_journey "$1"
