#!/bin/sh
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# The libc-only link must accept libc and refuse the C++ runtime.
# Usage: check.sh SOURCE_DIR WORK_DIR
set -u
source=$1 work=$2
cmake -S "$source/tests/libc_only" -B "$work" -DIFENUM_SOURCE_DIR="$source" >/dev/null || exit 1
cmake --build "$work" --target libc_only >/dev/null || { echo "a libc-only library failed to link"; exit 1; }
if cmake --build "$work" --target uses_cxx_runtime >"$work/refused.log" 2>&1; then
  echo "a library using operator new linked: the C++ runtime slipped in"
  exit 1
fi
grep -q "undefined reference to .operator new" "$work/refused.log" || { cat "$work/refused.log"; exit 1; }
echo "C++ runtime refused at link time"
