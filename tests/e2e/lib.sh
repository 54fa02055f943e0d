# Shared by the end-to-end scripts: private display servers (Xvfb, a window manager, Xephyr, weston,
# sway), the program, keys, window properties, screenshots, and the journey that every desktop runs.
# Usage: source "$QRBL_E2E_LIB"; e2e_start_x 1280x1024; e2e_start_app "$QUORBEL"; ...
set -euo pipefail

E2E_TMP=$(mktemp -d)
export XDG_CONFIG_HOME="$E2E_TMP/config" XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME"
E2E_PIDS="" E2E_APP_PID=""

e2e_cleanup() {
    # Servers stop in the reverse order of their start; the program first.
    for pid in $E2E_APP_PID $E2E_PIDS; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

e2e_fail() {
    echo "FAIL: $*" >&2
    local shot="${QRBL_BUILD_DIR:-/tmp}/e2e-failure-$(basename "$0" .sh).png"
    [ -n "${E2E_SCREEN_DISPLAY:-}" ] && e2e_screenshot "$shot" && echo "screenshot: $shot" >&2
    exit 1
}

# e2e_bg NAME COMMAND...: a server in the background, its output in $E2E_TMP/NAME.log.
e2e_bg() {
    local name=$1; shift
    "$@" >"$E2E_TMP/$name.log" 2>&1 3>"$E2E_TMP/$name.fd" &
    E2E_PIDS="$! $E2E_PIDS"
    E2E_FD="$E2E_TMP/$name.fd"
}

# e2e_until SECONDS COMMAND...: retries the command until it succeeds.
e2e_until() {
    local end=$((SECONDS + $1)); shift
    until "$@" 2>/dev/null; do [ "$SECONDS" -lt "$end" ] || return 1; sleep 0.1; done
}

# e2e_start_x WIDTHxHEIGHT [SERVER]: a new X server (Xvfb, or Xephyr inside the current one) without a
# window manager. Screenshots and keys go to the newest server.
e2e_start_x() {
    e2e_bg "x$RANDOM" "${2:-Xvfb}" -displayfd 3 -screen $([ -n "${2:-}" ] || echo 0) "$1x24" -noreset -nolisten tcp
    e2e_until 10 test -s "$E2E_FD" || e2e_fail "${2:-Xvfb} did not start"
    export DISPLAY=":$(head -n1 "$E2E_FD")" && E2E_SCREEN_DISPLAY=":$(head -n1 "$E2E_FD")"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY
}

# e2e_start_wm openbox|icewm: a window manager that follows the desktop conventions.
e2e_start_wm() {
    e2e_bg "$1" "$1" $([ "$1" = openbox ] && echo --sm-disable)
    e2e_until 10 eval 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || e2e_fail "$1 did not start"
}

# e2e_start_weston wayland|xwayland: weston with its desktop shell and XWayland, as a window filling the
# current X server (which keeps serving screenshots and keys); the program then runs as that kind of client.
e2e_start_weston() {
    local size; size=$(xdpyinfo | awk '/dimensions:/ {print $2}')
    e2e_bg weston weston --backend=x11-backend.so --use-pixman --width="${size%x*}" --height="${size#*x}" \
        --xwayland --socket=wl-e2e --idle-time=0
    e2e_until 30 grep -q 'launching .*weston-desktop-shell' "$E2E_TMP/weston.log" || e2e_fail "weston did not start"
    sleep 1 # the shell's panel and background
    xdotool mousemove 1 "$((${size#*x} - 1))" # weston's window has the keyboard; the pointer out of the way
    if [ "$1" = wayland ]; then
        e2e_wayland_client wl-e2e
    else
        export E2E_XWAYLAND=1 WAYLAND_DISPLAY=wl-e2e QT_QPA_PLATFORM=xcb DISPLAY=":$(sed -n 's/.*xserver listening on display :\([0-9]*\).*/\1/p' "$E2E_TMP/weston.log")"
    fi
}

# e2e_wayland_client DISPLAY: the program runs as a Wayland client there, its protocol log on stderr.
# (libwayland-client and a plugin unloaded before exit leave blocks behind in sanitizer builds.)
e2e_wayland_client() {
    export QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=$1 WAYLAND_DEBUG=client E2E_WAYLAND=1 \
        ASAN_OPTIONS="${ASAN_OPTIONS:-}:detect_leaks=0"
}

# e2e_start_sway OUTPUT-COMMAND...: sway on one headless output for each line of its configuration given,
# with a pointer (wayvnc's) that stays where swaymsg puts it; keys then come from wtype, screenshots from
# grim (the output E2E_OUTPUT, with the pointer). sway refuses root.
e2e_start_sway() {
    printf '%s\n' "$@" 'default_border none' 'mouse_warping none' >"$E2E_TMP/sway.conf"
    e2e_bg sway env WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=$# WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$E2E_TMP/sway.conf"
    e2e_until 10 eval 'ls "$XDG_RUNTIME_DIR"/sway-ipc.*' >/dev/null || e2e_fail "sway did not start"
    export SWAYSOCK="$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*)" HOME=$E2E_TMP # a home for fontconfig's cache
    e2e_wayland_client "$(ls "$XDG_RUNTIME_DIR" | grep -x 'wayland-[0-9]*')"
    e2e_bg wayvnc wayvnc -u "$E2E_TMP/vnc"
    e2e_until 10 eval 'swaymsg -t get_seats | grep -q "virtual pointer"' || e2e_fail "wayvnc gave sway no pointer"
    # wtype's keyboard is new with every call: keys sent before the program has taken it are lost.
    e2e_key() { wtype -s 200 $(printf -- '-k %s ' "$@") && sleep 0.3; }
    e2e_screenshot() { grim -c -t ppm -o "$E2E_OUTPUT" "$1"; }
}

# e2e_no_message: tests start without the message before them.
e2e_no_message() { mkdir -p "$XDG_CONFIG_HOME/QRBL" && printf '[Options]\nShowInfo=0\n' >"$XDG_CONFIG_HOME/QRBL/QRBL.conf"; }

# e2e_start_app BINARY: starts the program and waits for its main window (on X11: E2E_MAIN, E2E_X, E2E_Y).
e2e_start_app() {
    "$@" >"$E2E_TMP/app.out" 2>"$E2E_TMP/app.err" & E2E_APP_PID=$!
    E2E_MAIN=$(e2e_wait_window 'Quorbel!' 1) || e2e_fail "main window did not appear"
    [ -n "${E2E_WAYLAND:-}" ] || eval "$(xdotool getwindowgeometry --shell "$E2E_MAIN" | sed 's/^/E2E_/')"
    E2E_MENU_Y=$((${E2E_Y:-0} + 5)) && sleep 0.3 # the menu bar, for clicks; and the window settles
}

# e2e_windows NAME: the visible windows with the name, oldest first; on Wayland, the toplevels the program
# has given that title (the protocol log).
e2e_windows() {
    if [ -n "${E2E_WAYLAND:-}" ]; then grep -o "xdg_toplevel@[0-9]*\.set_title(\"$1\")" "$E2E_TMP/app.err" | cut -d. -f1 | awk '!seen[$0]++'
    else xdotool search --onlyvisible --name "^$1\$" 2>/dev/null; fi
}
e2e_visible_count() { e2e_windows "$1" | grep -c . || true; }

# e2e_wait_window NAME COUNT: waits until COUNT windows have the name; prints the newest.
e2e_wait_window() {
    local name=$1 count=$2
    e2e_until 20 eval '[ "$(e2e_visible_count "$name")" -ge "$count" ]' && e2e_windows "$name" | tail -n1
}

e2e_wait_gone() {
    [ -n "${E2E_WAYLAND:-}" ] && { sleep 0.5; return 0; } # the next keys show it
    e2e_until 30 test "$(e2e_visible_count "$1")" -lt "$2"
}

# e2e_owned WINDOW: the window belongs to the main window (transient for it), and stays off the task bar.
e2e_owned() {
    if [ -n "${E2E_WAYLAND:-}" ]; then
        grep -q "$1\.set_parent(xdg_toplevel@" "$E2E_TMP/app.err"
    else
        # (weston's XWayland window manager keeps the window states to itself, and has no task bar)
        xprop -id "$1" WM_TRANSIENT_FOR | grep -q "# $(printf '0x%x' "$E2E_MAIN")\$" && { [ -n "${E2E_XWAYLAND:-}" ] ||
            xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR; }
    fi || e2e_fail "window $1 is not owned by the main window, or is on the task bar"
}

# Keys and screenshots on X (sway has its own).
e2e_key() { DISPLAY=$E2E_SCREEN_DISPLAY xdotool key --clearmodifiers "$@" && sleep 0.3; }
e2e_screenshot() { DISPLAY=$E2E_SCREEN_DISPLAY import -window root "$1" 2>/dev/null; }

# e2e_differ A B [CROP]: how many pixels of picture A (cropped to WxH+X+Y) differ from picture B.
e2e_differ() {
    convert "$1" ${3:+-crop "$3" +repage} -alpha off "$E2E_TMP/a.ppm"
    convert "$2" -alpha off "$E2E_TMP/b.ppm"
    compare -metric AE "$E2E_TMP/a.ppm" "$E2E_TMP/b.ppm" null: 2>&1 || true
}

# e2e_pattern_shown NAME [WxH+X+Y]: the screen (or that part of it) is exactly the program's own
# picture of the test at that size: the pattern covers it all, with nothing else on it.
e2e_pattern_shown() {
    local area=${2:-$(DISPLAY=$E2E_SCREEN_DISPLAY xdpyinfo | awk '/dimensions:/ {print $2}')+0+0}
    local size=${area%%+*} want="$E2E_TMP/r-${area%%+*}/$1.png"
    [ -f "$want" ] || QT_QPA_PLATFORM=offscreen WAYLAND_DEBUG= "${QRBL_BUILD_DIR:-build}/tools/quorbel-render" --size "$size" --out "${want%/*}" "$1" >/dev/null
    e2e_screenshot "$E2E_TMP/shot.ppm"
    [ "$(e2e_differ "$E2E_TMP/shot.ppm" "$want" "$area")" = 0 ]
}

# Waits until the screen stops changing (compositors fade windows out) and the main window has the keyboard.
e2e_settle() {
    e2e_screenshot "$E2E_TMP/settled.ppm"
    for _ in $(seq 1 50); do
        sleep 0.1
        e2e_screenshot "$E2E_TMP/now.ppm"
        cmp -s "$E2E_TMP/now.ppm" "$E2E_TMP/settled.ppm" && break
        mv "$E2E_TMP/now.ppm" "$E2E_TMP/settled.ppm"
    done
    if [ -n "${E2E_WAYLAND:-}" ]; then # the last keyboard event: entering one of ours
        e2e_until 5 eval 'grep -o "wl_keyboard@[0-9]*\.\(enter\|leave\)" "$E2E_TMP/app.err" | tail -n1 | grep -q enter'
    else e2e_until 5 eval '[ "$(xdotool getwindowfocus)" = "$E2E_MAIN" ]'; fi
}

# Waits for the program to end and sets E2E_STATUS to its exit status ("timeout" if it goes on).
e2e_wait_exit() {
    E2E_STATUS=timeout
    e2e_until 20 eval '! kill -0 "$E2E_APP_PID"' || return 0
    E2E_STATUS=0 && wait "$E2E_APP_PID" || E2E_STATUS=$?
    E2E_APP_PID=""
}

# e2e_popups: how many menus are open (X11), or have opened (Wayland: the protocol log).
e2e_popups() {
    if [ -n "${E2E_WAYLAND:-}" ]; then grep -c 'get_popup(' "$E2E_TMP/app.err" || true
    else xdotool search --onlyvisible --classname '^quorbel$' 2>/dev/null | grep -c . || true; fi
}

# e2e_menu LETTER KEYS...: opens a menu of the menu bar with Alt, and only once it shows sends the keys.
e2e_menu() {
    local before; before=$(e2e_popups)
    e2e_key "alt+$1"
    e2e_until 10 eval '[ "$(e2e_popups)" -gt "$before" ]' || e2e_fail "the menu of Alt+$1 did not open"
    shift && e2e_key "$@"
}

e2e_exit_by_menu() {
    e2e_menu f x
    e2e_wait_exit
    [ "$E2E_STATUS" = 0 ] || e2e_fail "File, Exit ended with status $E2E_STATUS"
    # Nothing on stderr but the protocol log.
    ! grep -v '^\[ *[0-9.]*\] ' "$E2E_TMP/app.err" | grep . || e2e_fail "the program wrote to stderr"
}

# The window names its menu entry: the class on X11 (StartupWMClass), the app id on Wayland (file name).
e2e_identity() {
    local desktop; desktop=$(dirname "${BASH_SOURCE[0]}")/../../packaging/org.example.quorbel.desktop
    if [ -n "${E2E_WAYLAND:-}" ]; then
        grep -q "set_app_id(\"$(basename "$desktop" .desktop)\")" "$E2E_TMP/app.err"
    else
        xprop -id "$E2E_MAIN" WM_CLASS | grep -q "\"$(sed -n 's/^StartupWMClass=//p' "$desktop")\"\$"
    fi || e2e_fail "the main window does not name its menu entry"
}

# The journey a new user takes, by keyboard (keypad Enter where it confirms), on any desktop. The test
# opened is Boxes, the main window's default button. AREA: the monitor it must fill (default: the screen).
e2e_journey() {
    local area=${2:-} message row keys title close what
    e2e_start_app "$1"
    e2e_identity
    e2e_key KP_Enter
    message=$(e2e_wait_window 'Quorbel!' 2) || e2e_fail "keypad Enter on the main window: no message"
    e2e_owned "$message"
    e2e_key KP_Enter
    e2e_until 10 e2e_pattern_shown boxes $area || e2e_fail "keypad Enter in the message: Boxes not full screen"
    [ -n "${E2E_WAYLAND:-}" ] || e2e_owned "$(e2e_wait_window 'Quorbel!' 2)"
    [ ! -e "$XDG_CONFIG_HOME/QRBL/QRBL.conf" ] || e2e_fail "OK with the box ticked as it was stored something"
    e2e_key space a
    e2e_pattern_shown boxes $area || e2e_fail "a key other than Esc changed the test"
    e2e_key Escape
    e2e_until 10 eval '! e2e_pattern_shown boxes $area' || e2e_fail "Esc did not end the test"
    e2e_settle
    # The help window, then the about box: each owned by the main window, and closed by its key.
    for row in "Return:Quorbel! Help:Return:the help window" "Up Return:About Quorbel!:KP_Enter:the about box"; do
        IFS=: read -r keys title close what <<<"$row"
        e2e_menu h $keys
        e2e_owned "$(e2e_wait_window "$title" 1 || e2e_fail "no $what")"
        e2e_key $close
        e2e_wait_gone "$title" 1 || e2e_fail "$close did not close $what"
        e2e_settle
    done
    e2e_menu f Down Return
    e2e_until 5 grep -q '^ShowInfo=0$' "$XDG_CONFIG_HOME/QRBL/QRBL.conf" || e2e_fail "the menu item did not store 0"
    e2e_exit_by_menu
    e2e_start_app "$1"
    e2e_key KP_Enter
    e2e_until 10 e2e_pattern_shown boxes $area || e2e_fail "the second start showed the message or no Boxes"
    e2e_key Escape
    e2e_settle
    e2e_exit_by_menu
}

# The tests' buttons: picture name, left and top in twips of the main window's client area.
E2E_BUTTONS="boxes:360:480 circles:1920:480 colors:3480:480 crosshairs:360:1200 vertical-lines:1920:1200
diagonal-lines:3480:1200 red:360:2520 green:1920:2520 blue:3480:2520 black:360:3840 white:1920:3840
grey-50:3480:3840 greys:360:4560"

# e2e_click_button NAME: clicks the middle of the test's button, the window's scale read off its width
# (the client area is 7830 x 5415 twips, at the bottom of the window under the menu bar).
e2e_click_button() {
    local left top; IFS=: read -r _ left top < <(tr ' ' '\n' <<<"$E2E_BUTTONS" | grep "^$1:")
    eval "$(xdotool getwindowgeometry --shell "$E2E_MAIN")"
    xdotool mousemove $((X + WIDTH * (left + 607) / 7830)) $((Y + HEIGHT - WIDTH * (5415 - top - 247) / 7830)) click 1
}
