#!/usr/bin/env bash
# Start-up time (exec to main window mapped), processor time used by then, and peak memory of quorbel
# beside a minimal Qt window with the same widgets, alternating runs in one private Xvfb server.
# Usage: startup.sh BUILD_DIR [RUNS]
#
# On a machine shared with other work the wall time of single runs scatters widely: the ratio line
# also gives the median of the per-pair ratios (each quorbel run against the minimal run right after
# it), and the processor time, which other work does not inflate.
set -euo pipefail
build=$1
runs=${2:-9}
tmp=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1920x1080x24 -noreset -nolisten tcp 3>"$tmp/display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$tmp"' EXIT
for _ in $(seq 1 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
export DISPLAY=":$(head -n1 "$tmp/display")" XDG_CONFIG_HOME="$tmp/config" XDG_RUNTIME_DIR="$tmp/run"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
# One warm-up run each, so both find the libraries in the page cache.
"$build/bench/maptimer" "$build/quorbel" >/dev/null 2>&1
"$build/bench/maptimer" "$build/bench/minimal_window" >/dev/null 2>&1
for _ in $(seq 1 "$runs"); do
    "$build/bench/maptimer" "$build/quorbel" >>"$tmp/quorbel" 2>/dev/null
    "$build/bench/maptimer" "$build/bench/minimal_window" >>"$tmp/minimal" 2>/dev/null
done
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
qt=$(cut -d' ' -f1 "$tmp/quorbel" | median); mt=$(cut -d' ' -f1 "$tmp/minimal" | median)
qm=$(cut -d' ' -f2 "$tmp/quorbel" | median); mm=$(cut -d' ' -f2 "$tmp/minimal" | median)
qc=$(cut -d' ' -f3 "$tmp/quorbel" | median); mc=$(cut -d' ' -f3 "$tmp/minimal" | median)
paired=$(paste -d' ' "$tmp/quorbel" "$tmp/minimal" | awk '{ print $1 / $4 }' | median)
printf '%-16s %12s %12s %14s\n' program "start (ms)" "CPU (ms)" "peak RSS (KiB)"
printf '%-16s %12.1f %12.1f %14d\n' quorbel "$qt" "$qc" "$qm" minimal_window "$mt" "$mc" "$mm"
awk -v a="$qt" -v b="$mt" -v c="$qm" -v d="$mm" -v e="$qc" -v f="$mc" -v p="$paired" -v n="$runs" \
    'BEGIN { printf "ratio            %12.2f %12.2f %14.2f   (medians of %d runs each)\n", a / b, e / f, c / d, n;
             printf "paired ratio     %12.2f                               (median of each run against the next)\n", p }'
