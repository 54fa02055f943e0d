#!/usr/bin/env bash
# The journey under a window manager (openbox), which decides full screen and keeps dialogs with their owner.
source "$QRBL_E2E_LIB" || exit 1
e2e_start_x 1024x768
e2e_start_wm openbox
e2e_journey "$1"
