# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
"""The machine's IPv4 interface entries, from the ifenum library.

    >>> import ifenum
    >>> for entry in ifenum.interfaces():
    ...     print(entry.name, entry.address, entry.index, entry.speed, entry.error)

Each call writes the library's running account to standard output, in its
place among the program's own output.  See getEthernetDetails(3).
"""
from __future__ import annotations

import ctypes
import os
import sys
from dataclasses import dataclass
from typing import List, Optional

__all__ = ["Interface", "interfaces", "LIBRARY"]

#: The name or path the library is loaded from, on the first call.  The
#: bare name finds it in the loader's default directories, where the
#: Debian package puts it.
LIBRARY = "ifenum"


@dataclass(frozen=True)
class Interface:
    """One IPv4 interface entry, as the kernel lists it.

    name: the entry's name, labels such as "eth0:1" included, decoded as
        Python decodes file names (os.fsdecode), so no byte is lost.
    address: the IPv4 address in dotted-decimal text.
    index: the interface index; 0 when the index request failed.
    speed: the link speed in Mb/s; -1 for an unknown speed, 0 when the
        link-settings request failed.
    error: the errno of a failed link-settings request; 0 when it
        succeeded or the device has no link settings.
    """

    name: str
    address: str
    index: int
    speed: int
    error: int


class _Record(ctypes.Structure):
    """The C record; the strings stay raw pointers, to be freed."""


_Record._fields_ = [
    ("ifSpeed", ctypes.c_int32),
    ("ifIndex", ctypes.c_int32),
    ("ifErrorCode", ctypes.c_int32),
    ("ifName", ctypes.c_void_p),
    ("ifIpAddress", ctypes.c_void_p),
    ("ifNext", ctypes.POINTER(_Record)),
]

_routine: Optional[ctypes._NamedFuncPointer] = None
_libc = ctypes.CDLL(None)  # the process's own malloc, free and stdout
_libc.free.argtypes = [ctypes.c_void_p]
_libc.fflush.argtypes = [ctypes.c_void_p]


def _getEthernetDetails() -> ctypes._NamedFuncPointer:
    global _routine
    if _routine is None:
        routine = ctypes.CDLL(LIBRARY, use_errno=True).getEthernetDetails
        routine.restype = ctypes.POINTER(_Record)
        routine.argtypes = []
        _routine = routine
    return _routine


def _text(pointer: int) -> bytes:
    return ctypes.string_at(pointer)


def _take(head: "ctypes._Pointer[_Record]") -> List[Interface]:
    """The records of a list, which is freed as it is read."""
    entries = []
    node = head
    while node:
        record = node.contents
        entries.append(Interface(os.fsdecode(_text(record.ifName)), _text(record.ifIpAddress).decode("ascii"),
                                 record.ifIndex, record.ifSpeed, record.ifErrorCode))
        following = record.ifNext
        _libc.free(record.ifName)
        _libc.free(record.ifIpAddress)
        _libc.free(ctypes.cast(node, ctypes.c_void_p))
        node = following
    return entries


def interfaces() -> List[Interface]:
    """The IPv4 interface entries, in the kernel's order; [] for none.

    Raises OSError with the errno the account printed when the socket or
    the interface list could not be had.  A list cut short for want of
    memory (an entry left out, errno ENOMEM) raises OSError(ENOMEM) too,
    never returns fewer entries than the kernel listed.
    """
    routine = _getEthernetDetails()
    sys.stdout.flush()  # the program's own output first, then the account
    ctypes.set_errno(0)
    head = routine()
    err = ctypes.get_errno()
    _libc.fflush(None)  # the account now, before anything Python prints
    entries = _take(head)
    if err != 0:
        raise OSError(err, os.strerror(err))
    return entries
