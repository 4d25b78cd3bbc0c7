#!/bin/sh
# Install ifenum into WORK/prefix and build the C example against it twice:
# with find_package (WORK/cmake/consumer) and with pkg-config (WORK/pkgconfig-consumer).
# Usage: build.sh BUILD_DIR WORK_DIR SOURCE_DIR
set -eu
build=$1 work=$2 source=$3
example=$source/examples/c/list_interfaces.c
cmake --install "$build" --prefix "$work/prefix" >&2
cmake -S "$source/tests/consumer" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$work/prefix" \
  -DEXAMPLE_SOURCE="$example" >&2
cmake --build "$work/cmake" >&2
flags=$(PKG_CONFIG_PATH="$work/prefix/lib/pkgconfig" pkg-config --cflags --libs ifenum)
# shellcheck disable=SC2086
cc -std=c11 "$example" $flags -o "$work/pkgconfig-consumer" >&2
