#!/bin/sh
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# Install ifenum into WORK/prefix and build the C example against it with
# Meson, through pkg-config (WORK/meson-pkg-config/consumer) and through
# Meson's CMake fallback (WORK/meson-cmake/consumer).
# Usage: build_meson.sh BUILD_DIR WORK_DIR SOURCE_DIR
set -eu
build=$1 work=$2 source=$3
cmake --install "$build" --prefix "$work/prefix" >&2
for method in pkg-config cmake; do
  PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig" CMAKE_PREFIX_PATH="$work/prefix" \
    meson setup "$work/meson-$method" "$source/tests/consumer/meson" -Dmethod=$method \
    -Dexample="$build/examples/list_interfaces.c" >&2
  meson compile -C "$work/meson-$method" >&2
done
