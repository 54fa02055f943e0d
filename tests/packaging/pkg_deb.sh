#!/usr/bin/env bash
# The Debian package: its name and dependencies, lintian-clean, and installed then removed without a
# trace (no maintainer scripts that would keep it in the "rc" state), in a private dpkg root.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work" >/dev/null)
deb=$(ls "$work"/quorbel_4.0.0_*.deb)
[ "$(basename "$deb")" = "quorbel_4.0.0_$(dpkg --print-architecture).deb" ] || { echo "FAIL: file name $deb"; exit 1; }
for lib in libqt6widgets6 libqt6network6; do
    dpkg-deb -f "$deb" Depends | grep -q $lib || { echo "FAIL: no dependency on $lib"; exit 1; }
done
[ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ] || { echo "FAIL: does not recommend qt6-wayland"; exit 1; }
lintian --tag-display-limit 0 "$deb" | tee "$work/lintian.log"
! grep -qE '^[EW]: ' "$work/lintian.log" || { echo "FAIL: lintian errors or warnings"; exit 1; }
root=$work/root
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" && touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --force-depends -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; exit 1; }
[ -x "$root/usr/bin/quorbel" ] || { echo "FAIL: the program was not installed"; exit 1; }
dpkg --root="$root" -r quorbel >/dev/null
state=$(dpkg-query --root="$root" -W -f='${db:Status-Abbrev}' quorbel 2>/dev/null || true)
[ -z "${state// /}" ] || [ "${state:0:2}" = un ] || { echo "FAIL: removed package left in state '$state'"; exit 1; }
left=$(find "$root" -path "$root/var" -prune -o -type f -print)
[ -z "$left" ] || { echo "FAIL: files left after removal: $left"; exit 1; }
