#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
"""List the IPv4 interface entries through the ifenum library, with ctypes.

Usage: ifenum_list.py [path-to-ifenum]   (default: "ifenum", found by the loader)

The library is loaded by its bare name or by a path, never through
ctypes.util.find_library("ifenum"), which returns None: that looks for
libifenum.so, and the file is named ifenum.  The bare name works once the
library lies in one of the loader's default directories, as the Debian package
puts it; elsewhere, give the path.
"""
import ctypes
import sys


class EthernetDetails(ctypes.Structure):
    """Mirror of the C record; the strings stay raw pointers so they can be freed."""


EthernetDetails._fields_ = [
    ("ifSpeed", ctypes.c_int32),
    ("ifIndex", ctypes.c_int32),
    ("ifErrorCode", ctypes.c_int32),
    ("ifName", ctypes.c_void_p),
    ("ifIpAddress", ctypes.c_void_p),
    ("ifNext", ctypes.POINTER(EthernetDetails)),
]
assert ctypes.sizeof(EthernetDetails) == 40 and EthernetDetails.ifName.offset == 16


def main():
    path = sys.argv[1] if len(sys.argv) > 1 else "ifenum"
    library = ctypes.CDLL(path)
    libc = ctypes.CDLL(None)  # the process's own malloc and free
    libc.free.argtypes = [ctypes.c_void_p]
    libc.fflush.argtypes = [ctypes.c_void_p]
    library.getEthernetDetails.restype = ctypes.POINTER(EthernetDetails)
    library.getEthernetDetails.argtypes = []

    node = library.getEthernetDetails()
    libc.fflush(None)  # the library's account first, then ours
    while node:
        record = node.contents
        name = ctypes.string_at(record.ifName).decode()
        address = ctypes.string_at(record.ifIpAddress).decode()
        print("%-16s %-15s index %d speed %d error %d"
              % (name, address, record.ifIndex, record.ifSpeed, record.ifErrorCode))
        following = record.ifNext
        libc.free(record.ifName)
        libc.free(record.ifIpAddress)
        libc.free(ctypes.cast(node, ctypes.c_void_p))
        node = following
    return 0


if __name__ == "__main__":
    sys.exit(main())
