/* SPDX-License-Identifier: MIT */
/* SPDX-FileCopyrightText: 2026 The ifenum authors */
/* Test support: this test binary's own malloc, calloc, free and ioctl, which the
 * dlopen'ed library binds to, answering as the test plans. */
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* From now on count and track every malloc, fill each block with 0xa5 bytes
 * (so that a read of a byte nobody wrote shows), and fail the nth (1-based)
 * if failAt is n; until disarmAllocations().  Frees of tracked blocks are
 * followed until the next arming. */
void armAllocations(long failAt);
void disarmAllocations(void);
/* Allocations made since arming, and how many of them are still live. */
extern long allocationsMade, allocationsLive;
/* The size asked for a tracked block that is still live, or 0. */
size_t allocatedSize(const void *p);

/* Fail the nth call (1-based) of an ioctl request with err. */
void failIoctl(unsigned long request, int nth, int err);
/* Answer every call of request with success, writing nothing. */
void silenceIoctl(unsigned long request);
/* Rewrite every SIOCGIFCONF answer after the kernel's: the length written
 * back becomes length; with unterminated, the first entry's name fills all
 * 16 bytes; with a seed, rand_r fills the whole area. */
void rewriteInterfaceList(int length, int unterminated, unsigned seed);
/* Back to the kernel's own answers. */
void clearIoctlPlan(void);
/* The 16 bytes that an unterminated rewrite writes as the first name. */
#define UNTERMINATED_NAME "unterminated0123"

#ifdef __cplusplus
}
#endif
