#!/bin/sh
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# Build the C example in a parent project that vendors ifenum with
# add_subdirectory (WORK/parent/app); the parent's test list goes to
# WORK/parent-tests.txt and its install, with a RUNPATH to the library
# beside the program, to WORK/parent-prefix.
# Usage: parent.sh BUILD_DIR WORK_DIR SOURCE_DIR
set -eu
build=$1 work=$2 source=$3
cmake -S "$source/tests/consumer" -B "$work/parent" -DIFENUM_SOURCE_DIR="$source" \
  -DEXAMPLE_SOURCE="$build/examples/list_interfaces.c" -DCMAKE_INSTALL_RPATH='$ORIGIN/../lib' >&2
cmake --build "$work/parent" >&2
ctest --test-dir "$work/parent" -N >"$work/parent-tests.txt"
cmake --install "$work/parent" --prefix "$work/parent-prefix" >&2
