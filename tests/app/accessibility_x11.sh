#!/usr/bin/env bash
# accessibility_x11.sh <Vexilo executable>: runs accessibility_x11.py on a virtual X server in a
# D-Bus session of its own, with Qt's accessibility bridge on. Exits 77 (skipped) when a tool it
# needs is not installed.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
executable=$1

skip() {
    echo "accessibility: skipped: $* (scripts/setup.sh installs it)"
    exit 77
}

# Debian's python3-pyatspi serves the system's Python; another python3 may come first on PATH.
python=
for candidate in /usr/bin/python3 "$(command -v python3 || true)"; do
    if [ -n "$candidate" ] && "$candidate" -c 'import pyatspi' 2>/dev/null; then
        python=$candidate
        break
    fi
done
[ -n "$python" ] || skip "python3-pyatspi is not installed"
command -v dbus-run-session >/dev/null || skip "dbus-run-session (dbus) is not installed"
command -v xdotool >/dev/null || skip "xdotool is not installed"
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "the AT-SPI bus (at-spi2-core) is not installed"
command -v xvfb-run >/dev/null || skip "xvfb-run (xvfb) is not installed"

exec xvfb-run -a -s "-screen 0 1280x800x24" \
    dbus-run-session -- timeout 60 "$python" "$here/accessibility_x11.py" "$executable"
