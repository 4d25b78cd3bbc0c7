# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
"""The machine's IPv4 interface entries, from the ifenum library.

    >>> import ifenum
    >>> for entry in ifenum.interfaces():
    ...     print(entry.name, entry.address, entry.index, entry.speed, entry.error)

Each call writes the library's running account through sys.stdout, after
what the program printed before it, so contextlib.redirect_stdout and
pytest's capsys see it; interfaces(quiet=True) leaves it out.  During the
call, C's stdout is a memory stream: what other threads print through
Python goes where it always goes, and what they print through C's stdout
joins the account.  See getEthernetDetails(3).
"""
from __future__ import annotations

import ctypes
import errno
import os
import sys
import threading
from dataclasses import dataclass
from typing import List, Optional, Tuple

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
_libc.fclose.argtypes = [ctypes.c_void_p]
_libc.open_memstream.restype = ctypes.c_void_p
_libc.open_memstream.argtypes = [ctypes.POINTER(ctypes.c_void_p), ctypes.POINTER(ctypes.c_size_t)]
# C's stdout, which the GNU C library lets a program set; one call at a
# time may point it elsewhere.
_stdout = ctypes.c_void_p.in_dll(_libc, "stdout")
_stdout_lock = threading.Lock()


def _getEthernetDetails() -> ctypes._NamedFuncPointer:
    global _routine
    if _routine is None:
        if not hasattr(_libc, "gnu_get_libc_version"):
            raise OSError(errno.ENOSYS, "the ifenum module needs the GNU C library")
        try:
            library = ctypes.CDLL(LIBRARY, use_errno=True)
        except OSError as error:
            raise OSError(errno.ENOENT, f"cannot load the ifenum library ({error}): install Debian's package "
                          "ifenum, or set ifenum.LIBRARY to the library's path", LIBRARY) from error
        routine = library.getEthernetDetails
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


def _call(routine: ctypes._NamedFuncPointer) -> "Tuple[ctypes._Pointer[_Record], int, bytes]":
    """The routine's list, its errno and its account, written meanwhile
    into a memory stream that stands for C's stdout."""
    text, size = ctypes.c_void_p(), ctypes.c_size_t()
    with _stdout_lock:
        stream = _libc.open_memstream(ctypes.byref(text), ctypes.byref(size))
        if not stream:
            raise OSError(errno.ENOMEM, os.strerror(errno.ENOMEM))
        saved, _stdout.value = _stdout.value, stream
        try:
            ctypes.set_errno(0)
            head = routine()
            err = ctypes.get_errno()
        finally:
            _stdout.value = saved
            _libc.fclose(stream)
    try:
        return head, err, ctypes.string_at(text, size.value)
    finally:
        _libc.free(text)


def _write(account: bytes) -> None:
    """The account's bytes through sys.stdout, in their place."""
    stream = sys.stdout
    if stream is None:
        return
    binary = getattr(stream, "buffer", None)
    if binary is None:  # a text stream such as io.StringIO
        stream.write(os.fsdecode(account))
        return
    stream.flush()
    binary.write(account)
    if getattr(stream, "line_buffering", False):
        binary.flush()


def interfaces(quiet: bool = False) -> List[Interface]:
    """The IPv4 interface entries, in the kernel's order; [] for none.

    The library's account goes through sys.stdout, unless quiet.  Raises
    OSError with the errno the account printed when the socket or the
    interface list could not be had, and with ENOENT when the library
    cannot be loaded.  A list cut short for want of memory (an entry left
    out, errno ENOMEM) raises OSError(ENOMEM) too, never returns fewer
    entries than the kernel listed.
    """
    head, err, account = _call(_getEthernetDetails())
    entries = _take(head)
    if not quiet:
        _write(account)
    if err != 0:
        raise OSError(err, os.strerror(err))
    return entries
