#!/bin/sh
# check-install.sh <build dir> <scratch dir>
#
# Installs the build into a scratch prefix and checks it as a desktop would find it: the
# launchers start the bundle's programs, the desktop entry names an installed program and icon,
# the manual page is in place, and appstreamcli accepts the metadata with the desktop entry
# beside it. Exits 77 (skipped) when appstreamcli is missing and everything else passed.
set -eu
build=$1
root=$2
fail() {
    echo "check-install: $*" >&2
    exit 1
}

rm -rf "$root"
mkdir -p "$root"
cmake --install "$build" --prefix "$root/usr" >/dev/null || fail "cmake --install failed"
usr=$root/usr

desktop=$usr/share/applications/org.vexilo.Vexilo.desktop
[ -f "$desktop" ] || fail "no desktop entry"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -x "$usr/bin/$exec_name" ] || fail "the desktop entry starts $exec_name, which is not installed"
ls "$usr"/share/icons/hicolor/*/apps/"$icon".png >/dev/null 2>&1 ||
    fail "the desktop entry's icon $icon is not installed"
for page in vexilo vexilo-defaults; do
    [ -f "$usr/share/man/man1/$page.1" ] || fail "no manual page $page(1)"
done
[ -f "$usr/share/bash-completion/completions/vexilo" ] || fail "no bash completion"
[ -x "$usr/lib/vexilo/Vexilo.app/Contents/MacOS/Vexilo" ] || fail "no Vexilo in the bundle"

# The installed tool, through its launcher, on a scratch preferences folder.
export XDG_CONFIG_HOME="$root/config"
"$usr/bin/vexilo-defaults" write org.example.Installed AppleLanguages -array fr en-GB ||
    fail "vexilo-defaults write failed"
printed=$("$usr/bin/vexilo-defaults" read org.example.Installed AppleLanguages)
expected=$(printf '(\n    fr,\n    "en-GB"\n)')
[ "$printed" = "$expected" ] || fail "vexilo-defaults read printed: $printed"

# The launcher hands the shell commands to the command line, which needs no display.
status=0
env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/vexilo" launch >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] || fail "vexilo launch without arguments exited with $status, not 2"
VEXILO_APPLICATIONS_DIR="$root/none" XDG_DATA_DIRS="$root/none" XDG_DATA_HOME="$root/none" \
    env -u DISPLAY -u WAYLAND_DISPLAY "$usr/bin/vexilo" list --quiet >/dev/null ||
    fail "vexilo list failed"

if ! command -v appstreamcli >/dev/null 2>&1; then
    echo "SKIP: appstreamcli not found (Debian package appstream); the rest passed"
    exit 77
fi
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli rejects the installed metadata"
echo "check-install: the installed tree is complete and its metadata valid"
