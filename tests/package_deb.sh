#!/usr/bin/env bash
# package_deb.sh BUILD_DIR: builds the Debian package from the build folder into a temporary folder
# and checks what it holds: exactly the program, desktop entry, icon and metainfo under /usr, and a
# Depends line with the Qt and curl libraries. Validates the desktop entry and the metainfo where the
# validators are installed.
set -euo pipefail
build="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

( cd "$build" && cpack -G DEB -B "$work" > "$work/cpack.txt" 2>&1 ) || { cat "$work/cpack.txt"; exit 1; }
deb=$(ls "$work"/glimmerbox_*.deb)

expected="./usr/bin/glimmerbox
./usr/share/applications/glimmerbox.desktop
./usr/share/icons/hicolor/scalable/apps/glimmerbox.svg
./usr/share/metainfo/io.glimmerbox.Glimmerbox.metainfo.xml"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
if [ "$files" != "$expected" ]; then
    printf 'package holds:\n%s\nexpected:\n%s\n' "$files" "$expected"
    exit 1
fi

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6dbus6 libcurl4 libc6 qt6-qpa-plugins; do
    case "$depends" in
        *"$library"*) ;;
        *) echo "Depends lacks $library: $depends"; exit 1 ;;
    esac
done

dpkg-deb -x "$deb" "$work/root"
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$work/root/usr/share/applications/glimmerbox.desktop"
fi
if command -v appstreamcli > /dev/null; then
    appstreamcli validate --no-net --pedantic "$work/root/usr/share/metainfo/io.glimmerbox.Glimmerbox.metainfo.xml"
fi
echo "$(basename "$deb"): $(echo "$files" | wc -l) files; Depends: $depends"
