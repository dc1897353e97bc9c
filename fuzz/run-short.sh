#!/bin/sh
# A short fuzzing run for CTest: run-short.sh <target> <seconds> <corpus folder> <seeds folder>.
# Every seed is run first, then new inputs for the given time; a crash, a leak, undefined
# behaviour or a failed check fails the test. The corpus folder starts empty each time, and the
# same seed makes every run take the same inputs, so CI does not fail by chance.
set -eu
target=$1 seconds=$2 corpus=$3 seeds=$4
rm -rf "$corpus"
mkdir -p "$corpus"
exec "$target" -seed=1 -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 "$corpus" "$seeds"
