#!/bin/sh
# check-manpage.sh <page>: the page renders with groff's man macros and no warning at all.
# Exits 77 (skipped) when groff is missing.
set -eu
if ! command -v groff >/dev/null 2>&1; then
    echo "SKIP: groff not found (Debian package groff-base)"
    exit 77
fi
warnings=$(groff -man -Tutf8 -ww -z "$1" 2>&1) || {
    echo "$warnings" >&2
    exit 1
}
if [ -n "$warnings" ]; then
    echo "check-manpage: $1:" >&2
    echo "$warnings" >&2
    exit 1
fi
groff -man -Tutf8 "$1" | grep -q "vexilo-defaults" || {
    echo "check-manpage: $1 renders without its name" >&2
    exit 1
}
echo "check-manpage: $1 renders cleanly"
