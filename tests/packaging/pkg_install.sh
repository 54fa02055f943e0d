#!/usr/bin/env bash
# An install into a private DESTDIR holds exactly the expected files, and the desktop files validate.
set -euo pipefail
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null
sizes="16 24 32 48 64 72" # of the icons

expected="usr/bin/quorbel
usr/libexec/quorbel/quorbel-fetch
usr/share/applications/org.example.quorbel.desktop
usr/share/bash-completion/completions/quorbel
usr/share/doc/quorbel/changelog.gz
usr/share/doc/quorbel/copyright
$(for size in $sizes; do echo "usr/share/icons/hicolor/${size}x$size/apps/quorbel.png"; done)
usr/share/man/man1/quorbel.1.gz
usr/share/metainfo/org.example.quorbel.metainfo.xml"
actual=$(cd "$dest" && find . -type f -o -type l | sed 's|^\./||' | sort)
[ "$actual" = "$expected" ] || { echo "FAIL: installed files differ:"; diff <(echo "$expected") <(echo "$actual"); exit 1; }

for size in $sizes; do # each icon file holds its own size
    [ "$(identify -format '%wx%h' "$dest/usr/share/icons/hicolor/${size}x${size}/apps/quorbel.png")" = "${size}x${size}" ] || { echo "FAIL: icon ${size}"; exit 1; }
done
desktop-file-validate "$dest/usr/share/applications/org.example.quorbel.desktop"
appstreamcli validate --no-net --pedantic "$dest/usr/share/metainfo/org.example.quorbel.metainfo.xml" | tee "$dest/as.log"
! grep -qE '^(E|W):' "$dest/as.log" || { echo "FAIL: metainfo has errors or warnings"; exit 1; }
grep -q '<release version="4.0.0"' "$dest/usr/share/metainfo/org.example.quorbel.metainfo.xml"
# Completion offers the tests by the names the program takes, each of them.
for name in $(bash -c "source $dest/usr/share/bash-completion/completions/quorbel; COMP_WORDS=(quorbel --test ''); COMP_CWORD=2; _quorbel; echo \${COMPREPLY[*]}"); do
    QT_QPA_PLATFORM=offscreen "$build/quorbel" --test "$name" --list-monitors >/dev/null 2>&1 || { echo "FAIL: completion offers $name"; exit 1; }
done
