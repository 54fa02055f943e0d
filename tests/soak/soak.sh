#!/usr/bin/env bash
# Soak: the real program opens and closes every test ROUNDS times, and help, about and the update
# check every DIALOG_EVERY-th round, toggling the pre-test option between rounds and changing the
# screen size while a pattern is up. It must say nothing on stderr, end cleanly with File, Exit, and
# hold its resident memory within LIMIT_KIB of what it had after the first round.
#
# The screen is a nested X server (Xephyr inside Xvfb) because only it offers xrandr sizes to switch
# between. Updates come from a loopback server reached through http_proxy.
#
# Usage: soak.sh QUORBEL SOAKDRIVER [ROUNDS [DIALOG_EVERY [LIMIT_KIB]]]
set -euo pipefail
QUORBEL=$1
DRIVER=$2
ROUNDS=${3:-100}
DIALOG_EVERY=${4:-2}
LIMIT_KIB=${5:-2048}
SIZES=1024x768,800x600
HERE=$(cd "$(dirname "$0")" && pwd)

TMP=$(mktemp -d)
PIDS=()
cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$TMP"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# start_display VAR COMMAND...: an X server announcing its display number on fd 3.
start_display() {
    local var=$1
    shift
    rm -f "$TMP/display"
    "$@" 3>"$TMP/display" 2>>"$TMP/xserver.log" &
    PIDS+=($!)
    for _ in $(seq 1 200); do
        [ -s "$TMP/display" ] && break
        sleep 0.05
    done
    [ -s "$TMP/display" ] || fail "$1 did not start: $(cat "$TMP/xserver.log")"
    printf -v "$var" ':%s' "$(head -n1 "$TMP/display")"
}

command -v Xephyr >/dev/null || fail "Xephyr is missing (make deps installs it)"
command -v xrandr >/dev/null || fail "xrandr is missing (make deps installs it)"
start_display HOST Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset
DISPLAY=$HOST start_display NESTED Xephyr -displayfd 3 -screen 1024x768x24 -nolisten tcp -noreset
export DISPLAY=$NESTED
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
xrandr -s 1024x768 2>/dev/null || fail "the nested X server has no xrandr sizes"

# The update server answers every GET with body.dat, whatever the address.
python3 "$HERE/../e2e/update_server.py" "$TMP/body.dat" "$TMP/requests.log" "$TMP/port" 0 &
PIDS+=($!)
for _ in $(seq 1 100); do
    [ -s "$TMP/port" ] && break
    sleep 0.05
done
[ -s "$TMP/port" ] || fail "the loopback update server did not start"
export http_proxy="http://127.0.0.1:$(cat "$TMP/port")"
unset HTTP_PROXY no_proxy NO_PROXY all_proxy ALL_PROXY XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION

export XDG_CONFIG_HOME="$TMP/config" XDG_RUNTIME_DIR="$TMP/runtime"
mkdir -p "$XDG_CONFIG_HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"

status=0
"$DRIVER" "$ROUNDS" "$DIALOG_EVERY" "$TMP/body.dat" "$SIZES" "$QUORBEL" >"$TMP/figures" 2>"$TMP/stderr" ||
    status=$?
cat "$TMP/figures"
if [ "$status" != 0 ]; then
    cat "$TMP/stderr" >&2
    fail "the run did not complete"
fi
# Everything on stderr is the program's: the driver's own complaints end the run above.
if grep -q . "$TMP/stderr"; then
    cat "$TMP/stderr" >&2
    fail "the program wrote to stderr"
fi
grep -qx 'exit_status 0' "$TMP/figures" || fail "the program did not end with status 0"
[ "$(grep -c 'vb wininet' "$TMP/requests.log" || true)" -ge 1 ] || fail "no update check reached the server"

first=$(sed -n 's/^rss_after_first_round_kib //p' "$TMP/figures")
end=$(sed -n 's/^rss_at_end_kib //p' "$TMP/figures")
growth=$((end - first))
echo "resident memory: ${first} KiB after the first round, ${end} KiB at the end, growth ${growth} KiB"
if ldd "$QUORBEL" | grep -q libasan; then
    echo "memory growth not judged: a sanitizer build keeps freed memory in quarantine"
elif [ "$growth" -gt "$LIMIT_KIB" ]; then
    fail "resident memory grew by ${growth} KiB (limit ${LIMIT_KIB} KiB)"
fi
echo PASS
