# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
"""The recipes of ifreport(1)'s EXAMPLES, taken from the rendered page and
run in this namespace: the shell ones as one script under set -euo pipefail,
the Python one as it stands.  Each name they give, decoded by the page's own
recipe, must be the bytes of the record the library returns, with that
record's fields; getEthernetDetails(3) must give the same decoding recipe.

Usage: recipes.py SOURCE_DIR LIBRARY WORK_DIR EXPECTED_STDERR
"""
import os
import re
import subprocess
import sys
import textwrap
from typing import Any, Callable, Dict, List

source, library, work, want_err = sys.argv[1:]
sys.path.insert(0, os.path.join(source, "python"))
import ifenum

def rendered(page: str) -> str:
    return subprocess.run(["groff", "-t", "-man", "-Tutf8", "-P-cbou", os.path.join(source, "docs", page)],
                          capture_output=True, text=True, check=True).stdout


def examples(text: str) -> List[str]:
    """The literal blocks of a rendered page's EXAMPLES, indented 11 columns."""
    section = text.split("\nEXAMPLES\n", 1)[1].split("\nSEE ALSO\n", 1)[0]
    blocks = (textwrap.dedent(b).strip("\n") for b in re.findall(r"(?:^(?: {11}.*)?\n)+", section, re.M))
    return [b + "\n" for b in blocks if b]


def decoding_recipe(text: str) -> List[str]:
    return [line.strip() for line in text.splitlines()
            if re.match(r"\s*(decode\(\) \{|def decode\(|return re\.sub\()", line)]


page = rendered("ifreport.1")
recipe = decoding_recipe(page)
assert len(recipe) == 3 and recipe == decoding_recipe(rendered("getEthernetDetails.3")), \
    f"the pages' decoding recipes differ or are incomplete: {recipe}"
blocks = examples(page)
python = [b for b in blocks if b.startswith("import ")]
shell = "".join(b for b in blocks if not b.startswith("import "))
with open(os.path.join(work, "recipes.sh"), "w") as script:
    script.write(shell)

ifenum.LIBRARY = library
want = ifenum.interfaces(quiet=True)
names = [os.fsencode(r.name) for r in want]
n = len(want)

# The Python recipe: its names are the records'.
assert len(python) == 1, f"one Python recipe wanted, {len(python)} found"
scope: Dict[str, Any] = {}
exec(python[0], scope)
decode: Callable[[bytes], bytes] = scope["decode"]
assert scope["names"] == names, f"Python recipe: {scope['names']} for {names}"

# The shell recipes: n summary fields, n names and addresses, then each name
# decoded and ended by a NUL; and the stderr due.
run = subprocess.run(["bash", "-euo", "pipefail", script.name], capture_output=True)
assert run.returncode == 0 and run.stderr.decode() == want_err, f"status {run.returncode}, stderr {run.stderr!r}"
lines = run.stdout.split(b"\n", 2 * n)
fields = [line.split(b" ") for line in lines[:2 * n]]
assert [(decode(f[0]), int(f[1]), int(f[2])) for f in fields[:n]] == [(os.fsencode(r.name), r.index, r.speed)
                                                                      for r in want], f"summary: {lines[:n]}"
assert [(decode(f[0]), f[1].decode()) for f in fields[n:]] == [(os.fsencode(r.name), r.address) for r in want], \
    f"record lines: {lines[n:2 * n]}"
assert lines[2 * n:] == [b"".join(name + b"\0" for name in names)], f"decoded names: {lines[2 * n:]}"
