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
python=/usr/bin/python3
"$python" -c 'import pyatspi' 2>/dev/null || python=$(command -v python3)
"$python" -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
for tool in dbus-run-session xdotool Xvfb; do
    command -v $tool >/dev/null || skip "$tool is not installed"
done
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "the AT-SPI bus (at-spi2-core) is not installed"

exec "$here/../support/with-xvfb.sh" \
    dbus-run-session -- timeout 60 "$python" "$here/accessibility_x11.py" "$executable"
