#!/usr/bin/env bash
# Start-up time (exec to main window mapped) and peak memory of quorbel beside a minimal Qt window with
# the same widgets, alternating runs in one private Xvfb server. Usage: startup.sh BUILD_DIR [RUNS]
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
"$build/bench/maptimer" "$build/quorbel" >/dev/null
"$build/bench/maptimer" "$build/bench/minimal_window" >/dev/null
for _ in $(seq 1 "$runs"); do
    "$build/bench/maptimer" "$build/quorbel" >>"$tmp/quorbel"
    "$build/bench/maptimer" "$build/bench/minimal_window" >>"$tmp/minimal"
done
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
qt=$(cut -d' ' -f1 "$tmp/quorbel" | median); mt=$(cut -d' ' -f1 "$tmp/minimal" | median)
qm=$(cut -d' ' -f2 "$tmp/quorbel" | median); mm=$(cut -d' ' -f2 "$tmp/minimal" | median)
printf '%-16s %12s %14s\n' program "start (ms)" "peak RSS (KiB)"
printf '%-16s %12.1f %14d\n' quorbel "$qt" "$qm" minimal_window "$mt" "$mm"
awk -v a="$qt" -v b="$mt" -v c="$qm" -v d="$mm" \
    'BEGIN { printf "ratio            %12.2f %14.2f   (median of %d runs each)\n", a / b, c / d, '"$runs"' }'
