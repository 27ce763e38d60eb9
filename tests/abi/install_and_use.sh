#!/bin/sh
# Installs the build tree into a temporary prefix, then builds and runs a
# plain C11 program against it twice: through pkg-config and through
# find_package(Vorn).
# Usage: install_and_use.sh <build dir> <source dir of this test>
set -eu
build=$1
here=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/vorn-install.XXXXXX")
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
pcdir=$(dirname "$(find "$work/prefix" -name vorn.pc)")

# pkg-config, with every warning fatal.
PKG_CONFIG_PATH=$pcdir cc -std=c11 -Wall -Wextra -Wpedantic -Werror \
    $(PKG_CONFIG_PATH=$pcdir pkg-config --cflags vorn) "$here/use_vorn.c" -o "$work/use_vorn" \
    $(PKG_CONFIG_PATH=$pcdir pkg-config --libs vorn)
LD_LIBRARY_PATH=$(dirname "$(find "$work/prefix" -name 'libvorn.so.*' | head -n 1)") "$work/use_vorn"

# The CMake package.
mkdir -p "$work/cmake-src"
cp "$here/use_vorn.c" "$work/cmake-src/"
cat > "$work/cmake-src/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.25)
project(use_vorn C)
find_package(Vorn REQUIRED)
add_executable(use_vorn use_vorn.c)
target_link_libraries(use_vorn PRIVATE Vorn::vorn)
CMAKE
cmake -S "$work/cmake-src" -B "$work/cmake-build" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/cmake-build" >/dev/null
"$work/cmake-build/use_vorn"
