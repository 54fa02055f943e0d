#!/usr/bin/env bash
# An install into a private DESTDIR holds exactly the expected files, and the desktop files validate.
set -euo pipefail
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null

expected="usr/bin/quorbel
usr/libexec/quorbel/quorbel-http.so
usr/share/applications/org.example.quorbel.desktop
usr/share/doc/quorbel/changelog.gz
usr/share/doc/quorbel/copyright
usr/share/icons/hicolor/16x16/apps/quorbel.png
usr/share/icons/hicolor/24x24/apps/quorbel.png
usr/share/icons/hicolor/32x32/apps/quorbel.png
usr/share/icons/hicolor/48x48/apps/quorbel.png
usr/share/icons/hicolor/64x64/apps/quorbel.png
usr/share/icons/hicolor/72x72/apps/quorbel.png
usr/share/man/man1/quorbel.1.gz
usr/share/metainfo/org.example.quorbel.metainfo.xml"
actual=$(cd "$dest" && find . -type f -o -type l | sed 's|^\./||' | sort)
if [ "$actual" != "$expected" ]; then
    echo "FAIL: installed files differ:"; diff <(echo "$expected") <(echo "$actual") || true
    exit 1
fi

for size in 16 24 32 48 64 72; do
    got=$(identify -format '%wx%h' "$dest/usr/share/icons/hicolor/${size}x${size}/apps/quorbel.png")
    [ "$got" = "${size}x${size}" ] || { echo "FAIL: icon ${size} is $got"; exit 1; }
done
[ -x "$dest/usr/bin/quorbel" ] || { echo "FAIL: quorbel is not executable"; exit 1; }

desktop-file-validate "$dest/usr/share/applications/org.example.quorbel.desktop"
grep -qx 'Name=Quorbel!' "$dest/usr/share/applications/org.example.quorbel.desktop"
grep -qx 'Exec=quorbel' "$dest/usr/share/applications/org.example.quorbel.desktop"
appstreamcli validate --no-net --pedantic "$dest/usr/share/metainfo/org.example.quorbel.metainfo.xml" | tee "$dest/as.log"
! grep -qE '^(E|W):' "$dest/as.log" || { echo "FAIL: metainfo has errors or warnings"; exit 1; }
grep -q '<release version="4.0.0"' "$dest/usr/share/metainfo/org.example.quorbel.metainfo.xml"

man=$(gzip -dc "$dest/usr/share/man/man1/quorbel.1.gz")
for section in NAME SYNOPSIS DESCRIPTION KEYS FILES; do
    grep -q "^\.SH $section" <<<"$man" || { echo "FAIL: man page has no $section"; exit 1; }
done
echo "pkg_install: passed"
