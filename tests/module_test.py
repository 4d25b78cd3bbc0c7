# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
"""The ifenum module as a program uses it, run by the suite in a namespace
with the suite's fault injection preloaded.

Usage: module_test.py LIBRARY.  Prints "ok" when, each in a child: the
account comes through redirect_stdout in its place, not at all when quiet;
a refused socket raises OSError(EACCES), a library that cannot be loaded
OSError(ENOENT); each allocation failed in turn gives the whole list or
OSError(ENOMEM), and a good call follows; and calls leave the C heap as it
was.
"""
import contextlib
import ctypes
import io
import os
import sys

import ifenum

ifenum.LIBRARY = sys.argv[1]
libc = ctypes.CDLL(None)  # with the preloaded malloc
libc.armAllocations.argtypes = [ctypes.c_long]


def account_goes_through_sys_stdout():
    with contextlib.redirect_stdout(io.StringIO()) as captured:
        print("before")
        count = len(ifenum.interfaces())
        ifenum.interfaces(quiet=True)
        print("after")
    text = captured.getvalue()
    return (text.startswith("before\n=====") and text.endswith("Releasing socket resources.\nafter\n")
            and text.count("Loading library") == 1 and text.count("INTERFACE DETAILS") == count)


def outcome():
    try:
        return [entry.name for entry in ifenum.interfaces(quiet=True)]
    except OSError as error:
        return error.errno
    except MemoryError:  # one of Python's own allocations
        return None
    finally:
        libc.disarmAllocations()


def refused_socket_raises_eacces():
    seccomp = ctypes.CDLL("libseccomp.so.2")
    seccomp.seccomp_init.restype = ctypes.c_void_p
    seccomp.seccomp_rule_add.argtypes = [ctypes.c_void_p, ctypes.c_uint32, ctypes.c_int, ctypes.c_uint]
    seccomp.seccomp_load.argtypes = [ctypes.c_void_p]
    rules = seccomp.seccomp_init(0x7FFF0000)  # allow the rest; fail socket with EACCES
    return (seccomp.seccomp_rule_add(rules, 0x00050000 | 13, seccomp.seccomp_syscall_resolve_name(b"socket"), 0)
            == seccomp.seccomp_load(rules) == 0 and outcome() == 13)


def missing_library_raises_enoent():
    ifenum.LIBRARY = "/nonexistent/ifenum"
    try:
        ifenum.interfaces()
    except OSError as error:
        return error.errno == 2 and "/nonexistent/ifenum" in str(error) and "install" in str(error)
    return False


def failed_allocations_raise_enomem():
    names = outcome()
    libc.armAllocations(0)
    outcome()
    outcomes = set()
    for nth in range(1, ctypes.c_long.in_dll(libc, "allocationsMade").value + 1):
        libc.armAllocations(nth)
        got = outcome()
        outcomes.add("list" if got == names else repr(got))
    return "12" in outcomes and outcomes <= {"list", "12", "None"} and outcome() == names


def calls_keep_the_heap():
    class MallInfo2(ctypes.Structure):
        _fields_ = [(f, ctypes.c_size_t) for f in "arena ordblks smblks hblks hblkhd usm fsm inuse free keep".split()]
    libc.mallinfo2.restype = MallInfo2
    for _ in range(300):  # Python's and the C library's caches fill first
        ifenum.interfaces(quiet=True)
    before = libc.mallinfo2().inuse
    for _ in range(300):
        ifenum.interfaces(quiet=True)
    return libc.mallinfo2().inuse - before < 256  # a leak is at least a 32-byte chunk a call


for check in (account_goes_through_sys_stdout, refused_socket_raises_eacces,
              missing_library_raises_enoent, failed_allocations_raise_enomem, calls_keep_the_heap):
    pid = os.fork()
    if pid == 0:
        os.dup2(os.open(os.devnull, os.O_WRONLY), 1)
        os._exit(0 if check() else 1)
    assert os.waitstatus_to_exitcode(os.waitpid(pid, 0)[1]) == 0, check.__name__
print("ok")
