/* SPDX-License-Identifier: MIT */
/* SPDX-FileCopyrightText: 2026 The ifenum authors */
/* Test support: this test binary's own malloc family and ioctl, which the
 * dlopen'ed library binds to, with failures injected on request. */
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Fail the nth allocation (1-based) from now on; 0 fails none.  Counts and
 * tracks every allocation until disarmAllocations(), and fills each block
 * malloc returns with 0xa5 bytes, so that a read of a byte nobody wrote
 * shows; frees of tracked blocks are followed until the next arming. */
void armAllocations(long failAt);
void disarmAllocations(void);
/* Allocations made since arming, and how many of them are still live. */
long allocationsMade(void);
long allocationsLive(void);
/* The size asked for a tracked block that is still live, or 0. */
size_t allocatedSize(const void *p);

/* Fail the nth call (1-based) of an ioctl request with err; up to 4 at once. */
void failIoctl(unsigned long request, int nth, int err);
void clearIoctlFaults(void);

/* Answer every call of request with success, writing nothing, until the
 * faults are cleared. */
void answerSilently(unsigned long request);

/* Rewrite every SIOCGIFCONF answer after the kernel's, until cleared: the
 * length written back becomes length; with unterminated, the first entry's
 * name fills all 16 bytes; with a seed, rand_r fills the whole area. */
void rewriteInterfaceList(int length, int unterminated, unsigned seed);
void clearInterfaceListRewrite(void);
/* The 16 bytes that an unterminated rewrite writes as the first name. */
#define UNTERMINATED_NAME "unterminated0123"

#ifdef __cplusplus
}
#endif
