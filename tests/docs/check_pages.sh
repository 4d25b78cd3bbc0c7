#!/bin/sh
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# The pages as a reader sees them at 80 columns: no groff warning, no word
# broken at a line's end, body text not justified; what they state of the
# sources true: the record's offsets are the header's, ifreport(1)'s sample
# run and its formats are those of the golden runs, trailing blanks
# included; and the README's sample output a golden file.
# Usage: check_pages.sh SOURCE_DIR WORK_DIR
set -u
source=$1 work=$2
mkdir -p "$work"
failed=0
fail() { echo "$*"; failed=1; }

for page in ifreport.1 getEthernetDetails.3; do
  rendered=$work/$page.txt
  warnings=$(groff -t -man -ww -z "$source/docs/$page" 2>&1)
  [ -z "$warnings" ] || fail "$page: $warnings"
  groff -t -man -Tutf8 -rLL=80n -P-cbou "$source/docs/$page" >"$rendered" 2>/dev/null || fail "$page: groff failed"
  # A line ending in a hyphen is a word broken in two.
  grep -nE '(-|‐)$' "$rendered" | sed "s/^/$page: broken word: /" | grep . && failed=1
  # Body text starts at column 8; two blanks inside it, other than after a
  # sentence or a colon, are justification.
  grep -nE '^       [^ │┌├└].*[^ .:?!)]  +[^ ]' "$rendered" | sed "s/^/$page: justified: /" | grep . && failed=1
done

# The offsets getEthernetDetails(3) gives FFI users are the header's.
sed -n 's/.*[ *]\([a-zA-Z]*\); *\/\* offset *\([0-9]*\) \*\/$/\1 \2/p; s/^} EthernetDetails; *\/\* \([0-9]*\) bytes \*\/$/size \1/p' \
  "$source/docs/getEthernetDetails.3" | sort >"$work/page-offsets"
sed -n 's/.*offsetof(EthernetDetails, \([a-zA-Z]*\)) == \([0-9]*\).*/\1 \2/p; s/.*sizeof(EthernetDetails) == \([0-9]*\).*/size \1/p' \
  "$source/include/ifenum.h" | sort >"$work/header-offsets"
diff "$work/header-offsets" "$work/page-offsets" >/dev/null || fail "getEthernetDetails.3: offsets differ from the header's"

# ifreport(1)'s literal lines under OUTPUT as its source writes them, since
# a rendered page drops trailing blanks: block 1 is the sample run, each
# line after it a format.  Each block ends in a line "@ N".
awk '/^\.SH OUTPUT/ {out = 1} /^\.SH EXIT STATUS/ {out = 0}
     out && /^\.EE/ {print "@ " ++n; block = 0}
     out && block {gsub(/\\&/, ""); gsub(/\\-/, "-"); gsub(/\\e/, "\\"); print}
     out && /^\.EX/ {block = 1}' "$source/docs/ifreport.1" >"$work/literal"
sed -n '/^@ 1$/q; p' "$work/literal" | cmp -s - "$source/tests/scenarios/lo_only.out" ||
  fail "ifreport.1: the sample run differs from tests/scenarios/lo_only.out"
sed '1,/^@ 1$/d; /^@ /d' "$work/literal" >"$work/formats"
# Each format is met by a golden line and each golden line by a format, byte
# for byte: a name or an address (%s) holds no blank.
cat "$source"/tests/scenarios/*.out | sort -u >"$work/golden-lines"
awk 'NR == FNR { re = $0; gsub(/[][\\.*^$()+?{}|]/, "\\\\&", re); gsub(/%d/, "-?[0-9]+", re); gsub(/%s/, "[^ ]+", re)
                 format[++n] = $0; pattern[n] = "^" re "$"; next }
     { for (i = 1; i <= n; i++) if ($0 ~ pattern[i]) { met[i] = 1; matched = 1 }
       if (!matched) { print "ifreport.1: no format for: " $0; bad = 1 }
       matched = 0 }
     END { for (i = 1; i <= n; i++) if (!met[i]) { print "ifreport.1: no run prints: " format[i]; bad = 1 }
           exit bad }' "$work/formats" "$work/golden-lines" || failed=1

# The README's sample output is the mixed scenario's golden file, byte for byte.
awk '/^## Sample output/ {in_section = 1; next}
     in_section && /^```$/ {if (in_block) exit; in_block = 1; next}
     in_block {print}' "$source/README.md" >"$work/readme-sample.out"
cmp -s "$work/readme-sample.out" "$source/tests/scenarios/mixed.out" ||
  fail "README.md: the sample output differs from tests/scenarios/mixed.out"

[ $failed -eq 0 ] && echo "pages and README sample as expected"
exit $failed
