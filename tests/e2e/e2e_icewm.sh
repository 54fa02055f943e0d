#!/usr/bin/env bash
# The journey under icewm, whose task bar lists every window that does not ask to stay off it.
source "$QRBL_E2E_LIB" || exit 1
e2e_start_x 1024x768
e2e_start_wm icewm
e2e_journey "$1"
