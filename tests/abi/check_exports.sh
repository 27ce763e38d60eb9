#!/bin/sh
# libvorn.so exports exactly the documented API: the 44 vorn* functions of
# vorn.h and the vornHost* functions of vorn_host.h, nothing else.
# Usage: check_exports.sh <libvorn.so> <expected list>
set -eu
actual=$(nm -D --defined-only "$1" | awk '{print $3}' | LC_ALL=C sort)
expected=$(LC_ALL=C sort "$2")
if [ "$actual" != "$expected" ]; then
    echo "Exported symbols differ from $2 (< expected, > actual):"
    printf '%s\n' "$expected" > "${TMPDIR:-/tmp}/vorn-expected.$$"
    printf '%s\n' "$actual" | diff "${TMPDIR:-/tmp}/vorn-expected.$$" - || true
    rm -f "${TMPDIR:-/tmp}/vorn-expected.$$"
    exit 1
fi
echo "$(printf '%s\n' "$actual" | wc -l) exports as documented"
