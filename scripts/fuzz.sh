#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour instrumentation) into
# build-fuzz and runs them:
#
#   ./scripts/fuzz.sh short                 every target a few seconds over its seeds (CTest, CI)
#   ./scripts/fuzz.sh long SECONDS [NAME…]  each named target (default: all) SECONDS in turn,
#                                           keeping what it finds in build-fuzz/corpus/<name>
#
# A finding stops its target with a report and a reproducer in build-fuzz/artifacts/<name>/, and
# the script exits non-zero. VEXILO_FUZZ_BUILD_DIR names another build folder.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/paths.sh"

fuzzbuild=${VEXILO_FUZZ_BUILD_DIR:-$root/build-fuzz}
mode=${1:-}
case $mode in
short | long) ;;
*)
    echo "usage: $0 short | long SECONDS [target...]" >&2
    exit 2
    ;;
esac
shift

mapfile -t all < <(sed -n 's/^ *\(fuzz_[a-z_]*\):.*/\1/p' "$root/fuzz/CMakeLists.txt")

# The packages (clang and its runtimes among them), then the fuzz targets alone in their folder.
bash "$root/scripts/setup.sh" --packages-only
if [ ! -f "$fuzzbuild/build.ninja" ]; then
    cmake -S "$root" -B "$fuzzbuild" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVEXILO_FUZZ=ON \
        -DVEXILO_BUILD_TESTS=OFF -DVEXILO_BUILD_BENCH=OFF
fi
cmake --build "$fuzzbuild" -j "${VEXILO_JOBS:-$(nproc)}" --target "${all[@]}"

export QT_QPA_PLATFORM=offscreen
if [ "$mode" = short ]; then
    exec ctest --test-dir "$fuzzbuild/fuzz" -L fuzz --output-on-failure --no-tests=error </dev/null
fi

seconds=${1:?long: how many seconds each target runs}
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")
status=0
for name in "${targets[@]}"; do
    seeds=$(sed -n "s/^ *$name:\([a-z-]*\).*/\1/p" "$root/fuzz/CMakeLists.txt")
    corpus=$fuzzbuild/corpus/$name
    artifacts=$fuzzbuild/artifacts/$name/
    mkdir -p "$corpus" "$artifacts"
    log=$fuzzbuild/$name.log
    echo "fuzz: $name for $seconds s (log $log)"
    if "$fuzzbuild/fuzz/$name" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts" "$corpus" "$root/fuzz/seeds/$seeds" \
        >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz: $name: clean, $runs executions"
    else
        echo "fuzz: $name: FINDING, see $log and $artifacts" >&2
        status=1
    fi
done
exit "$status"
