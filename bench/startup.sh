#!/usr/bin/env bash
# Start-up time (exec to main window mapped), processor time used by then, and peak memory of quorbel
# beside minimal_window, a plain Qt window with the same menus and controls, alternating runs in one
# private Xvfb server.
# Usage: startup.sh BUILD_DIR [RUNS]
#
# On a machine shared with other work the wall time of single runs scatters widely: the ratios are
# taken pair by pair (each quorbel run against the minimal run right after it) and shown as
# min / median / max; the processor time is what other work inflates least.
set -euo pipefail
build=$1
runs=${2:-11}
source "$(dirname "$0")/xvfb.sh"
setup_scratch
start_xvfb 1920x1080
load=$(load_average)
# One warm-up run each, so both find the libraries in the page cache.
"$build/bench/maptimer" "$build/quorbel" >/dev/null 2>&1
"$build/bench/maptimer" "$build/bench/minimal_window" >/dev/null 2>&1
for _ in $(seq 1 "$runs"); do
    "$build/bench/maptimer" "$build/quorbel" >>"$tmp/quorbel" 2>/dev/null
    "$build/bench/maptimer" "$build/bench/minimal_window" >>"$tmp/minimal" 2>/dev/null
done
paste -d' ' "$tmp/quorbel" "$tmp/minimal" >"$tmp/pairs"

echo
echo "Start-up, beside minimal_window ($runs interleaved pairs; load average $load at the start," \
    "$(load_average) at the end)"
printf '%-16s %10s %10s   %s\n' "" quorbel minimal "ratio min / med / max"
# maptimer prints: wall ms, peak RSS KiB, CPU ms.
for row in "start (ms):1" "CPU (ms):3" "peak RSS (KiB):2"; do
    f=${row##*:}
    printf '%-16s %10g %10g   %s\n' "${row%:*}" "$(cut -d' ' -f"$f" "$tmp/quorbel" | median)" \
        "$(cut -d' ' -f"$f" "$tmp/minimal" | median)" "$(awk -v f="$f" '{ print $f / $(f + 3) }' "$tmp/pairs" | spread)"
done
