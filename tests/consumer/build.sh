#!/bin/sh
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# Install ifenum into WORK/prefix and build the C example against it: with
# find_package (WORK/cmake/consumer, and WORK/cmake-system/consumer as if the
# prefix were the system's) and with pkg-config (WORK/pkgconfig-consumer, its
# flags in WORK/pkgconfig-flags.txt), and, given meson, with Meson through
# pkg-config and through its CMake fallback (WORK/meson-METHOD/consumer).
# Usage: build.sh BUILD_DIR WORK_DIR SOURCE_DIR [MESON]
set -eu
build=$1 work=$2 source=$3
example=$build/examples/list_interfaces.c
cmake --install "$build" --prefix "$work/prefix" >&2
# CMake's own build-tree RPATH is skipped: only what the package adds counts.
# Old-style RPATH first, as a toolchain may default to: the package's and
# the .pc's flags must still give a RUNPATH.
old=-Wl,--disable-new-dtags
cmake -S "$source/tests/consumer" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$work/prefix" \
  -DEXAMPLE_SOURCE="$example" -DCMAKE_SKIP_BUILD_RPATH=ON -DCMAKE_EXE_LINKER_FLAGS=$old >&2
cmake --build "$work/cmake" >&2
cmake -S "$source/tests/consumer" -B "$work/cmake-system" -DCMAKE_PREFIX_PATH="$work/prefix" \
  -DEXAMPLE_SOURCE="$example" -DCMAKE_SKIP_BUILD_RPATH=ON -DCMAKE_EXE_LINKER_FLAGS=$old -DIFENUM_PREFIX_IS_SYSTEM=ON >&2
cmake --build "$work/cmake-system" >&2
flags=$(PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig" pkg-config --cflags --libs ifenum)
echo "$flags" >"$work/pkgconfig-flags.txt"
# shellcheck disable=SC2086
cc -std=c11 $old "$example" $flags -o "$work/pkgconfig-consumer" >&2
for method in ${4:+pkg-config cmake}; do
  PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig" CMAKE_PREFIX_PATH="$work/prefix" "$4" setup "$work/meson-$method" \
    "$source/tests/consumer/meson" -Dmethod=$method -Dexample="$example" >&2
  "$4" compile -C "$work/meson-$method" >&2
done
