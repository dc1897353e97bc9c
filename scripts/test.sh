#!/usr/bin/env bash
# Sets everything up, builds, and runs the whole test suite; exits with the test run's status.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/paths.sh"

bash "$root/scripts/setup.sh"

# Every C++ file as clang-format would write it: an unformatted file fails the run.
unformatted=()
while IFS= read -r file; do
    clang-format --dry-run -Werror "$root/$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(git -C "$root" ls-files -- '*.cpp' '*.h' 2>/dev/null ||
    (cd "$root" && find src tools tests bench samples fuzz \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null))
if [ ${#unformatted[@]} -gt 0 ]; then
    printf 'format: not clang-formatted (run clang-format -i on them):\n' >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
echo "format: every C++ file is clang-formatted"

log=$(mktemp "${TMPDIR:-/tmp}/vexilo-ctest.XXXXXX")
trap 'rm -f "$log"' EXIT

status=0
ctest --test-dir "$build" --output-on-failure --no-tests=error -j2 </dev/null 2>&1 |
    tee "$log" || status=$?

# CTest's own summary: "NN% tests passed, F tests failed out of T".
pattern='^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+'
summary=$(grep -E "$pattern" "$log" | tail -n 1 || true)
if [ -n "$summary" ]; then
    failed=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$summary")
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    echo
    echo "$summary"
    echo "tests: $((total - failed)) passed, $failed failed"
    # Test functions that skipped themselves, such as those that need data beside the project.
    grep -h -E '^SKIP +: ' "$build/Testing/Temporary/LastTest.log" 2>/dev/null |
        sed -E 's/^SKIP +: /skipped: /' || true
elif [ "$status" -eq 0 ]; then
    echo "tests: no summary from ctest" >&2
    status=1
fi
exit "$status"
