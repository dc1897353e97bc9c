#!/bin/sh
# check-manpage.sh <page>...: each page renders with groff's man macros, with no warning at all
# and with its name.
# Exits 77 (skipped) when groff is missing.
set -eu
if ! command -v groff >/dev/null 2>&1; then
    echo "SKIP: groff not found (Debian package groff-base)"
    exit 77
fi
for page in "$@"; do
    warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1) || {
        echo "$warnings" >&2
        exit 1
    }
    if [ -n "$warnings" ]; then
        echo "check-manpage: $page:" >&2
        echo "$warnings" >&2
        exit 1
    fi
    name=$(basename "$page" .1)
    groff -man -Tutf8 "$page" | grep -q "^ *$name " || {
        echo "check-manpage: $page renders without its name" >&2
        exit 1
    }
    echo "check-manpage: $page renders cleanly"
done
