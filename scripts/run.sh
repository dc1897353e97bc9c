#!/usr/bin/env bash
# Sets everything up, then opens Vexilo.
#
# The applications folder is VEXILO_APPLICATIONS_DIR when set, else /Applications, else the demo
# applications that the build makes. With a display Vexilo runs in the foreground; without one it
# runs on a virtual X server just long enough to take a screenshot of its window.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/paths.sh"

bash "$root/scripts/setup.sh"

executable=$build/Vexilo.app/Contents/MacOS/Vexilo
[ -x "$executable" ] || {
    echo "run: error: $executable was not built" >&2
    exit 1
}

if [ -n "${VEXILO_APPLICATIONS_DIR:-}" ]; then
    echo "run: applications folder: $VEXILO_APPLICATIONS_DIR (from VEXILO_APPLICATIONS_DIR)"
elif [ -d /Applications ]; then
    echo "run: applications folder: /Applications"
else
    export VEXILO_APPLICATIONS_DIR=$build/demo/Applications
    echo "run: applications folder: $VEXILO_APPLICATIONS_DIR (the demo applications;" \
        "set VEXILO_APPLICATIONS_DIR to use another folder)"
fi

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$executable"
fi

echo "run: no display found; starting Vexilo on a virtual X server for a screenshot"
exec xvfb-run -a -s "-screen 0 1280x800x24" \
    bash "$root/scripts/screenshot.sh" "$executable" "$build/screenshot.png"
