#!/bin/sh
# Builds the Debian packages of a build tree, unpacks them into an empty root
# and runs the installed vornctl, vorn-igtl and python3 -c "import vorn" there.
# Usage: package_and_run.sh <build dir>
set -eu
build=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/vorn-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
for package in libvorn3 libvorn-dev vorn-tools python3-vorn; do
    deb=$(ls "$work/out/${package}_"*.deb 2>/dev/null | head -n 1)
    [ -n "$deb" ] || { echo "no package $package in: $(ls "$work/out")"; exit 1; }
    dpkg-deb --info "$deb" | grep -q "Package: $package" || { echo "$deb is not $package"; exit 1; }
    dpkg-deb -x "$deb" "$work/root"
done

root=$work/root
for file in usr/bin/vornctl usr/bin/vorn-igtl usr/include/vorn/vorn.h usr/lib/udev/rules.d/60-vorn.rules \
            usr/lib/systemd/system/vorn-igtl.service usr/share/vorn-igtl/vorn-igtl.conf \
            usr/lib/python3/dist-packages/vorn/__init__.py; do
    [ -e "$root/$file" ] || { echo "missing from the packages: /$file"; exit 1; }
done
dpkg-deb --field "$work/out/"vorn-tools_*.deb Depends | grep -q libvorn3 || { echo "vorn-tools does not depend on libvorn3"; exit 1; }

libdir=$(dirname "$(find "$root" -name 'libvorn.so.3*' | head -n 1)")
LD_LIBRARY_PATH=$libdir "$root/usr/bin/vornctl" --help | grep -q usage
LD_LIBRARY_PATH=$libdir "$root/usr/bin/vorn-igtl" --help | grep -q Sensor
LD_LIBRARY_PATH=$libdir PYTHONPATH=$root/usr/lib/python3/dist-packages PYTHONDONTWRITEBYTECODE=1 \
    /usr/bin/python3 -c "import vorn; assert vorn.version() == '3.07', vorn.version()"
echo "packages: $(cd "$work/out" && ls *.deb | tr '\n' ' ')"
