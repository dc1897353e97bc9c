#!/usr/bin/env bash
# Sets everything up, builds, runs every benchmark and prints each figure against its goal and
# the floor it was measured against in the same run, then the table for README.md's Performance
# section. Exits non-zero when a benchmark fails to run, not when a goal is missed (the table
# says which). Takes about five minutes; without a display the window benchmarks run on Xvfb.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/paths.sh"

bash "$root/scripts/setup.sh" >&2

if [ -z "${DISPLAY:-}" ] && [ -z "${VEXILO_BENCH_IN_XVFB:-}" ]; then
    VEXILO_BENCH_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" "$@"
fi

bin=$build/bench
work=$(mktemp -d "${TMPDIR:-/tmp}/vexilo-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
goals=$work/goals

run() {
    echo "== $*" >&2
    "$@" | tee -a "$goals" | grep -v '^goal' >&2
}

run "$bin/bench_catalogue"
"$bin/bench_memory" --generate "$work/thousand"
mkdir -p "$work/empty"
run "$bin/bench_memory" "$work/thousand" "$work/empty"
run "$bin/bench_selection"
run "$bin/bench_launch"
run "$bin/bench_row" search scroll
run "$bin/bench_startup"
run "$bin/bench_stall"

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
memory=$(awk '/^MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)
echo
echo "Measured $(date -u +%Y-%m-%d) on $cpu, $(nproc) cores, $memory, $(uname -sr)."
echo
echo "| Figure | Value | Floor in the same run | Goal | Holds |"
echo "|---|---|---|---|---|"
grep '^goal' "$goals" | awk -F'\t' '{ printf "| %s | %s | %s | %s | %s |\n", $2, $3, $4, $5, $6 }'
