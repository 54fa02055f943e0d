#!/usr/bin/env bash
# The journey as a Wayland client of weston (desktop shell with its panel).
source "$QRBL_E2E_LIB" || exit 1
e2e_start_x 1024x768
e2e_start_weston wayland
e2e_journey "$1"
