#!/usr/bin/env bash
# The journey in a bare X server, without a window manager: the pattern must cover the screen by itself.
source "$QRBL_E2E_LIB" || exit 1
e2e_start_x 1024x768
e2e_journey "$1"
echo "e2e_xvfb: passed"
