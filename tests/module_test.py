# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
"""The ifenum module as a program uses it, run by the suite in a namespace.

Prints "first", then the records (name, address, index, speed, error, the
name's raw bytes), so that the account must come between them; then, each in
a child: a call whose socket is refused (EACCES), and 300 calls that must not
grow the C heap.  Usage: module_test.py LIBRARY
"""
import ctypes
import os
import sys

import ifenum


def show(entries):
    sys.stdout.flush()
    for e in entries:
        sys.stdout.buffer.write(b"%s %s %d %d %d\n" % (os.fsencode(e.name), e.address.encode(), e.index,
                                                       e.speed, e.error))
    sys.stdout.buffer.flush()


def in_child(check):
    sys.stdout.flush()
    pid = os.fork()
    if pid == 0:
        check()
        sys.stdout.flush()
        os._exit(0)
    os.waitpid(pid, 0)


def refuse_socket():
    seccomp = ctypes.CDLL("libseccomp.so.2")
    seccomp.seccomp_init.restype = ctypes.c_void_p
    seccomp.seccomp_rule_add.argtypes = [ctypes.c_void_p, ctypes.c_uint32, ctypes.c_int, ctypes.c_uint]
    seccomp.seccomp_load.argtypes = [ctypes.c_void_p]
    allow, refuse = 0x7FFF0000, 0x00050000 | 13
    filter = seccomp.seccomp_init(allow)
    socket = seccomp.seccomp_syscall_resolve_name(b"socket")
    if seccomp.seccomp_rule_add(filter, refuse, socket, 0) != 0 or seccomp.seccomp_load(filter) != 0:
        print("seccomp failed")
        return
    try:
        ifenum.interfaces()
        print("no error")
    except OSError as error:
        print("OSError", error.errno)


class MallInfo2(ctypes.Structure):
    _fields_ = [(name, ctypes.c_size_t) for name in
                ("arena", "ordblks", "smblks", "hblks", "hblkhd", "usmblks", "fsmblks", "uordblks", "fordblks",
                 "keepcost")]


def no_leak():
    mallinfo2 = ctypes.CDLL(None).mallinfo2
    mallinfo2.restype = MallInfo2
    saved = os.dup(1)
    os.dup2(os.open(os.devnull, os.O_WRONLY), 1)
    ifenum.interfaces()
    before = mallinfo2().uordblks
    for _ in range(300):
        ifenum.interfaces()
    grown = mallinfo2().uordblks - before
    os.dup2(saved, 1)
    print("no leak" if grown < 64 * 1024 else "heap grew by %d bytes" % grown)


ifenum.LIBRARY = sys.argv[1]
print("first")
show(ifenum.interfaces())
in_child(refuse_socket)
in_child(no_leak)
