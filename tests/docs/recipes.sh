#!/bin/bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# The scripts of ifreport(1)'s EXAMPLES, taken from the rendered page and
# run as one script under set -euo pipefail, in a namespace of more than 25
# entries: each must do what the page says.
# Usage: recipes.sh SOURCE_DIR IFREPORT_DIR WORK_DIR
set -u
source=$1 bindir=$2 work=$3
mkdir -p "$work"
groff -man -Tutf8 -P-cbou "$source/docs/ifreport.1" 2>/dev/null |
  sed -n '/^EXAMPLES/,/^SEE ALSO/{s/^           //p}' >"$work/recipes.sh"
unshare -n true 2>/dev/null || { echo "skipped: cannot create a network namespace"; exit 77; }
unshare -n bash -c '
  grep -v "^ethtool" "$1/tests/scenarios/over_25.ip" | ip -batch - >&2 || exit 2
  PATH=$2:$PATH bash -euo pipefail "$3/recipes.sh" >"$3/recipes.out" 2>"$3/recipes.err"
' sh "$source" "$bindir" "$work"
status=$?
failed=0
expect() { grep -qxF -- "$2" "$work/recipes.$1" || { echo "recipes.$1 lacks: $2"; failed=1; }; }
[ $status -eq 0 ] || { echo "the recipes stopped with status $status"; failed=1; }
expect out "lo 1 0"
expect out "lo 127.0.0.1"
expect out "br1 10.3.1.1"
expect err "only 25 of 31 entries listed"
grep -q "could not read" "$work/recipes.err" && { echo "a good run was taken for a failed one"; failed=1; }
[ $failed -eq 0 ] || { echo "--- script"; cat "$work/recipes.sh"; echo "--- stderr"; cat "$work/recipes.err"; }
exit $failed
