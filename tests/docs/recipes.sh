#!/bin/bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# The recipes of ifreport(1), run by recipes.py in a namespace of the mixed
# scenario, whose names imitate escapes, fields and separators, and in one
# of more than 25 entries, where the count recipe must speak.
# Usage: recipes.sh SOURCE_DIR IFREPORT_DIR LIBRARY PYTHON WORK_DIR
set -u
source=$1 bindir=$2 library=$3 python=$4 work=$5
mkdir -p "$work"
unshare -n true 2>/dev/null || { echo "skipped: cannot create a network namespace"; exit 77; }
failed=0
# check SCENARIO EXPECTED_STDERR
check() {
  mkdir -p "$work/$1"
  unshare -n bash -c '
    setup=$1/tests/scenarios/$2.ip
    { grep -v "^ip \|^ethtool " "$setup" | ip -batch - && grep "^ip \|^ethtool " "$setup" | sh -e; } >&2 || exit 2
    PATH=$3:$PATH "$5" "$1/tests/docs/recipes.py" "$1" "$4" "$6" "$7"
  ' sh "$source" "$1" "$bindir" "$library" "$python" "$work/$1" "$2" || { echo "in scenario $1"; failed=1; }
}
check mixed ""
check over_25 "only 25 of 32 entries listed
"
[ $failed -eq 0 ] && echo "ifreport(1)'s recipes as the page says"
exit $failed
