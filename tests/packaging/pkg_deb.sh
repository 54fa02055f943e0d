#!/usr/bin/env bash
# The Debian package: its name, its files, and dependencies read off the binary.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work" >/dev/null)
deb=$(ls "$work"/quorbel_4.0.0_*.deb)
[ "$(dpkg-deb -f "$deb" Package)" = quorbel ] || { echo "FAIL: package name"; exit 1; }
[ "$(dpkg-deb -f "$deb" Version)" = 4.0.0 ] || { echo "FAIL: package version"; exit 1; }
[ "$(basename "$deb")" = "quorbel_4.0.0_$(dpkg --print-architecture).deb" ] || { echo "FAIL: file name $deb"; exit 1; }
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6; do
    grep -q "$lib" <<<"$depends" || { echo "FAIL: no dependency on $lib"; exit 1; }
done
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/quorbel ./usr/share/applications/org.example.quorbel.desktop \
    ./usr/share/metainfo/org.example.quorbel.metainfo.xml ./usr/share/man/man1/quorbel.1.gz; do
    grep -qx -- "$f" <<<"$files" || { echo "FAIL: $f is not in the package"; exit 1; }
done
echo "pkg_deb: passed"
