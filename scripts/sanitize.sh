#!/usr/bin/env bash
# Builds Vexilo, its tools and its tests instrumented, and runs the whole test suite:
#
#   ./scripts/sanitize.sh address     AddressSanitizer + UndefinedBehaviorSanitizer (build-asan)
#   ./scripts/sanitize.sh thread      ThreadSanitizer (build-tsan), with QtCore built instrumented
#                                     by scripts/tsan-qt.sh (once, about 20 minutes)
#
# Any CTest arguments after the first are passed on (e.g. -R hostile). Exits with CTest's
# status. VEXILO_SANITIZE_BUILD_DIR names another build folder; VEXILO_JOBS the compile jobs.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/paths.sh"

kind=${1:-}
case $kind in
address) flags=address,undefined folder=build-asan ;;
thread) flags=thread folder=build-tsan ;;
*)
    echo "usage: $0 address|thread [ctest arguments...]" >&2
    exit 2
    ;;
esac
shift
sanitized=${VEXILO_SANITIZE_BUILD_DIR:-$root/$folder}
suppressions=$root/scripts/sanitizers

# Every finding ends the process that made it with a report, and so fails its test; child
# processes (the defaults tool, the sample application, Vexilo itself, and the sample drawing
# the demo icons during the build) inherit the options.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1
export LSAN_OPTIONS=suppressions=$suppressions/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Qt starts a detached program through a second fork inside the child of the first, which
# ThreadSanitizer ends by default in a multi-threaded program: the program would never start.
export TSAN_OPTIONS=suppressions=$suppressions/tsan.supp:halt_on_error=1:second_deadlock_stack=1:print_suppressions=0:die_after_fork=0

# -O1 and line tables only: what the sanitizers need for fast code and readable reports, and
# quicker to compile than the default optimised build with full debug information.
configure=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEXILO_SANITIZE="$flags" -DVEXILO_BUILD_BENCH=OFF
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG")
if [ "$kind" = thread ]; then
    # Instrumented QtCore and QtConcurrent in place of the system's, for the programs of this
    # build alone: whatever else the tests start keeps the system's.
    configure+=(-DCMAKE_BUILD_RPATH="$(bash "$root/scripts/tsan-qt.sh")")
fi
VEXILO_BUILD_DIR=$sanitized bash "$root/scripts/setup.sh" --packages-only
cmake -S "$root" -B "$sanitized" -G Ninja "${configure[@]}" >/dev/null
# The packages, then the instrumented build in that folder.
VEXILO_BUILD_DIR=$sanitized bash "$root/scripts/setup.sh"

status=0
ctest --test-dir "$sanitized" --output-on-failure --no-tests=error -j2 "$@" </dev/null || status=$?
echo "sanitize: $kind: ctest exited with status $status"
exit "$status"
