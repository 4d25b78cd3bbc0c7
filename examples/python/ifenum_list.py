#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
"""List the IPv4 interface entries with the ifenum module.

Usage: ifenum_list.py [path-to-ifenum]   (default: "ifenum", found by the loader)
"""
import io
import sys

import ifenum


def main() -> int:
    if len(sys.argv) > 1:
        ifenum.LIBRARY = sys.argv[1]
    # A name that is not UTF-8 holds surrogates (os.fsdecode): print its bytes.
    if isinstance(sys.stdout, io.TextIOWrapper):
        sys.stdout.reconfigure(errors="surrogateescape")
    try:
        entries = ifenum.interfaces()
    except OSError as error:
        print("ifenum_list.py:", error, file=sys.stderr)
        return 1
    for entry in entries:
        print("%-16s %-15s index %d speed %d error %d"
              % (entry.name, entry.address, entry.index, entry.speed, entry.error))
    return 0


if __name__ == "__main__":
    sys.exit(main())
