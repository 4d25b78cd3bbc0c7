# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
"""The ifenum module as a program uses it, run by the suite in a namespace
with the suite's fault injection preloaded.

Usage: module_test.py LIBRARY.  Prints "ok" when, in children: the account
comes in its place through a pipe and through redirect_stdout, not at all
when quiet, and a thread's prints meanwhile all arrive; a refused socket
raises OSError(EACCES), a library that cannot be loaded OSError(ENOENT);
each allocation failed in turn gives the whole list or OSError(ENOMEM),
and a good call follows; and 300 calls do not grow the C heap.
"""
import contextlib
import ctypes
import io
import os
import subprocess
import sys
import threading

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
faults = ctypes.CDLL(None)  # the preloaded malloc and ioctl
faults.armAllocations.argtypes = [ctypes.c_long]


def in_child(check):
    pid = os.fork()
    if pid == 0:
        os.dup2(os.open(os.devnull, os.O_WRONLY), 1)
        os._exit(0 if check() else 1)
    assert os.waitstatus_to_exitcode(os.waitpid(pid, 0)[1]) == 0, check.__name__


def account_goes_through_sys_stdout():
    captured = io.StringIO()
    with contextlib.redirect_stdout(captured):
        print("before")
        count = len(ifenum.interfaces())
        ifenum.interfaces(quiet=True)
        print("after")
    text = captured.getvalue()
    return text.startswith("before\n=====") and text.endswith("Releasing socket resources.\nafter\n") and \
        text.count("Loading library") == 1 and text.count("INTERFACE DETAILS") == count


def thread_prints_all_arrive():
    printed = io.StringIO()
    with contextlib.redirect_stdout(printed):
        thread = threading.Thread(target=lambda: [print("thread", i) for i in range(2000)])
        thread.start()
        while thread.is_alive():
            ifenum.interfaces(quiet=True)
        thread.join()
    return printed.getvalue() == "".join(f"thread {i}\n" for i in range(2000))


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


def missing_library_raises_enoent():
    ifenum.LIBRARY = "/nonexistent/ifenum"
    try:
        ifenum.interfaces()
    except OSError as error:
        return error.errno == 2 and "/nonexistent/ifenum" in str(error) and "install" in str(error)
    return False


def outcome():
    try:
        return [entry.name for entry in ifenum.interfaces(quiet=True)]
    except OSError as error:
        return error.errno
    except MemoryError:  # one of Python's own allocations
        return None
    finally:
        faults.disarmAllocations()


def failed_allocations_raise_enomem():
    names = outcome()
    faults.armAllocations(0)
    outcome()
    outcomes = set()
    for nth in range(1, ctypes.c_long.in_dll(faults, "allocationsMade").value + 1):
        faults.armAllocations(nth)
        got = outcome()
        outcomes.add("list" if got == names else repr(got))
    return "12" in outcomes and outcomes <= {"list", "12", "None"} and outcome() == names


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


for check in (account_goes_through_sys_stdout, thread_prints_all_arrive, refused_socket_raises_eacces,
              missing_library_raises_enoent, failed_allocations_raise_enomem, calls_keep_the_heap):
    in_child(check)
print("ok")
