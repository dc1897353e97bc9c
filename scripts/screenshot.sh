#!/usr/bin/env bash
# screenshot.sh <Vexilo executable> <png>: run inside an X server (run.sh uses xvfb-run). Starts
# Vexilo, waits until it has loaded its catalogue, photographs the whole screen and stops it again.
set -euo pipefail

executable=$1
png=$2
case $png in /*) ;; *) png=$PWD/$png ;; esac
[ -n "${DISPLAY:-}" ] || {
    echo "screenshot: error: no X display" >&2
    exit 1
}

log=$(mktemp "${TMPDIR:-/tmp}/vexilo-run.XXXXXX")
pid=
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
        kill -TERM "$pid" 2>/dev/null || true
        # Give it up to 10 s to quit cleanly before forcing it.
        for _ in $(seq 100); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null || true
    fi
    [ -z "$pid" ] || wait "$pid" 2>/dev/null || true
    rm -f "$log"
}
trap cleanup EXIT

# Vexilo's log goes to the terminal as usual and into the file that is watched.
QT_QPA_PLATFORM=xcb "$executable" 2> >(tee "$log" >&2) &
pid=$!

loaded=no
for _ in $(seq 600); do
    if grep -q "catalogue loaded" "$log"; then
        loaded=yes
        break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done

if ! kill -0 "$pid" 2>/dev/null; then
    status=0
    wait "$pid" || status=$?
    pid=
    echo "screenshot: error: Vexilo ended early (exit status $status)" >&2
    exit 1
fi

# Let the window finish painting.
sleep 1
mkdir -p "$(dirname "$png")"
import -window root "$png"
echo "Screenshot: $png"

if [ "$loaded" != yes ]; then
    echo "screenshot: error: Vexilo did not report \"catalogue loaded\" within 60 s" >&2
    exit 1
fi
