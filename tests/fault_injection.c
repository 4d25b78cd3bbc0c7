/* SPDX-License-Identifier: MIT */
/* SPDX-FileCopyrightText: 2026 The ifenum authors */
/* Test support, preloaded into a process (the Python module's test): malloc
 * and calloc, which fail the nth call after armAllocations(n) and count each
 * call in allocationsMade, until disarmAllocations(). */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>

static int armed;
static long failAt;
long allocationsMade;

void *malloc(size_t n)
{
    static void *(*realMalloc)(size_t);
    if (realMalloc == NULL)
        realMalloc = (void *(*)(size_t))dlsym(RTLD_NEXT, "malloc");
    if (armed && ++allocationsMade == failAt) {
        errno = ENOMEM;
        return NULL;
    }
    return realMalloc(n);
}

/* Through malloc: a compiler may join malloc and a zeroing memset into calloc
 * (which is why this file is built with -fno-builtin). */
void *calloc(size_t count, size_t size)
{
    size_t n;
    void *p = __builtin_mul_overflow(count, size, &n) ? NULL : malloc(n);
    if (p != NULL)
        memset(p, 0, n);
    return p;
}

void armAllocations(long nth)
{
    armed = 1;
    allocationsMade = 0;
    failAt = nth;
}

void disarmAllocations(void)
{
    armed = 0;
}
