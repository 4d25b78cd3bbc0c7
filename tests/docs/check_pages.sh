#!/bin/sh
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# The pages as a reader sees them at 80 columns: no word broken at a line's
# end, body text not justified, ifreport(1) showing the program's lines
# exactly as it prints them; and the README's sample output a golden file.
# Usage: check_pages.sh SOURCE_DIR WORK_DIR
set -u
source=$1 work=$2
mkdir -p "$work"
failed=0
fail() { echo "$*"; failed=1; }

for page in ifreport.1 getEthernetDetails.3; do
  rendered=$work/$page.txt
  groff -t -man -Tutf8 -rLL=80n -P-cbou "$source/docs/$page" >"$rendered" 2>/dev/null || fail "$page: groff failed"
  # A line ending in a hyphen is a word broken in two.
  grep -nE '(-|‐)$' "$rendered" | sed "s/^/$page: broken word: /" | grep . && failed=1
  # Body text starts at column 8; two blanks inside it, other than after a
  # sentence or a colon, are justification.
  grep -nE '^       [^ │┌├└].*[^ .:?!)]  +[^ ]' "$rendered" | sed "s/^/$page: justified: /" | grep . && failed=1
done

# Every line of a real run, as printed, stands whole in ifreport(1).  The
# formatter drops trailing blanks, so those are compared without them.
sed 's/^ *//; s/ *$//' "$work/ifreport.1.txt" >"$work/ifreport.lines"
while IFS= read -r line; do
  line=$(printf '%s' "$line" | sed 's/ *$//')
  grep -qxF -- "$line" "$work/ifreport.lines" || fail "ifreport.1: missing line: $line"
done <"$source/tests/scenarios/lo_only.out"

# The README's sample output is the mixed scenario's golden file, byte for byte.
awk '/^## Sample output/ {in_section = 1; next}
     in_section && /^```$/ {if (in_block) exit; in_block = 1; next}
     in_block {print}' "$source/README.md" >"$work/readme-sample.out"
cmp -s "$work/readme-sample.out" "$source/tests/scenarios/mixed.out" ||
  fail "README.md: the sample output differs from tests/scenarios/mixed.out"

[ $failed -eq 0 ] && echo "pages and README sample as expected"
exit $failed
