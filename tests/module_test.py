# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
"""The ifenum module as a program uses it, run by the suite in a namespace.

Usage: module_test.py LIBRARY.  Prints "ok" when, in children: a program's
own line printed before a call, the account and a line after it come in
that order through a pipe; a refused socket raises OSError(EACCES); and
300 calls do not grow the C heap.
"""
import ctypes
import os
import subprocess
import sys

import ifenum

ifenum.LIBRARY = sys.argv[1]
if sys.argv[2:] == ["order"]:
    print("before")
    print("after", len(ifenum.interfaces()))
    sys.exit(0)
env = dict(os.environ)
env.pop("PYTHONUNBUFFERED", None)
out = subprocess.run([sys.executable, __file__, sys.argv[1], "order"], env=env, stdout=subprocess.PIPE).stdout
lines = out.decode("ascii", "replace").splitlines()
assert lines[0] == "before" and lines[1].startswith("=====") and lines[-1].startswith("after "), lines


def in_child(check):
    pid = os.fork()
    if pid == 0:
        os.dup2(os.open(os.devnull, os.O_WRONLY), 1)
        os._exit(0 if check() else 1)
    assert os.waitstatus_to_exitcode(os.waitpid(pid, 0)[1]) == 0, check.__name__


def refused_socket_raises_eacces():
    seccomp = ctypes.CDLL("libseccomp.so.2")
    seccomp.seccomp_init.restype = ctypes.c_void_p
    seccomp.seccomp_rule_add.argtypes = [ctypes.c_void_p, ctypes.c_uint32, ctypes.c_int, ctypes.c_uint]
    seccomp.seccomp_load.argtypes = [ctypes.c_void_p]
    rules = seccomp.seccomp_init(0x7FFF0000)  # allow the rest
    refuse = 0x00050000 | 13  # fail with EACCES
    socket = seccomp.seccomp_syscall_resolve_name(b"socket")
    if seccomp.seccomp_rule_add(rules, refuse, socket, 0) != 0 or seccomp.seccomp_load(rules) != 0:
        return False
    try:
        ifenum.interfaces()
    except OSError as error:
        return error.errno == 13
    return False


class MallInfo2(ctypes.Structure):
    _fields_ = [(f, ctypes.c_size_t) for f in "arena ordblks smblks hblks hblkhd usm fsm uordblks fordblks keep".split()]


def calls_keep_the_heap():
    mallinfo2 = ctypes.CDLL(None).mallinfo2
    mallinfo2.restype = MallInfo2
    ifenum.interfaces()
    before = mallinfo2().uordblks
    for _ in range(300):
        ifenum.interfaces()
    return mallinfo2().uordblks - before < 64 * 1024


in_child(refused_socket_raises_eacces)
in_child(calls_keep_the_heap)
print("ok")
