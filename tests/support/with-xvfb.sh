#!/usr/bin/env bash
# with-xvfb.sh COMMAND [ARG...]: runs COMMAND on a virtual X server of its own, 1280x800, and
# exits with its status. Xvfb picks a free display itself (-displayfd): `xvfb-run -a` guesses one
# from lock files, and a server of the test before, still going away, now and then makes that
# guess wrong, so that the command finds no display at all. -noreset: by default the server
# resets when its last client leaves, and a program connecting just then (Vexilo, after the
# accessibility bus has looked and gone) is refused.
set -uo pipefail

number=$(mktemp "${TMPDIR:-/tmp}/vexilo-xvfb.XXXXXX")
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$number" 2>/dev/null &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -f "$number"' EXIT

for _ in $(seq 1 100); do
    grep -q '^[0-9]' "$number" 2>/dev/null && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
done
display=$(head -n 1 "$number")
if [ -z "$display" ]; then
    echo "with-xvfb: the virtual X server did not start" >&2
    exit 1
fi
DISPLAY=:$display "$@"
