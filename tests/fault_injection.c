/* SPDX-License-Identifier: MIT */
/* SPDX-FileCopyrightText: 2026 The ifenum authors */
#define _GNU_SOURCE
#include "fault_injection.h"

#include <dlfcn.h>
#include <errno.h>
#include <linux/sockios.h>
#include <net/if.h>
#include <stdarg.h>
#include <stdatomic.h>
#include <stdlib.h>
#include <string.h>
#include <sys/syscall.h>
#include <unistd.h>

/* ---- allocation: malloc and free; calloc and realloc stay the C library's ---- */

static void *(*realMalloc)(size_t);
static void (*realFree)(void *);

/* dlsym may allocate while the real functions are looked up. */
static _Alignas(16) char bootstrap[4096];
static size_t bootstrapUsed;

static atomic_flag trackLock = ATOMIC_FLAG_INIT;
static int armed;
static long made, failAt, trackedCount;
static struct {
    void *at;
    size_t size;
} tracked[8192];

static void lock(void)
{
    while (atomic_flag_test_and_set_explicit(&trackLock, memory_order_acquire))
        ;
}

static void unlock(void)
{
    atomic_flag_clear_explicit(&trackLock, memory_order_release);
}

/* The real functions, once; 0 while they are still being looked up. */
static int resolve(void)
{
    static int resolving;
    if (realFree == NULL && !resolving) {
        resolving = 1;
        realMalloc = (void *(*)(size_t))dlsym(RTLD_NEXT, "malloc");
        realFree = (void (*)(void *))dlsym(RTLD_NEXT, "free");
        resolving = 0;
    }
    return realFree != NULL;
}

/* Where p is tracked, or -1; the lock is held. */
static long trackedAt(const void *p)
{
    for (long i = 0; i < trackedCount; i++)
        if (tracked[i].at == p)
            return i;
    return -1;
}

void *malloc(size_t n)
{
    if (!resolve()) {
        size_t at = (bootstrapUsed + 15) & ~(size_t)15;
        bootstrapUsed = at + n;
        return bootstrapUsed <= sizeof bootstrap ? bootstrap + at : NULL;
    }
    lock();
    int refused = armed && ++made == failAt;
    unlock();
    void *p = refused ? NULL : realMalloc(n);
    if (refused)
        errno = ENOMEM;
    lock();
    if (armed && p != NULL && trackedCount < (long)(sizeof tracked / sizeof tracked[0])) {
        memset(p, 0xa5, n);
        tracked[trackedCount].at = p;
        tracked[trackedCount++].size = n;
    }
    unlock();
    return p;
}

void free(void *p)
{
    if (p == NULL || ((char *)p >= bootstrap && (char *)p < bootstrap + sizeof bootstrap) || !resolve())
        return;
    lock();
    long i = trackedAt(p);
    if (i >= 0)
        tracked[i] = tracked[--trackedCount];
    unlock();
    realFree(p);
}

void armAllocations(long nth)
{
    lock();
    armed = 1;
    made = trackedCount = 0;
    failAt = nth;
    unlock();
}

void disarmAllocations(void)
{
    armed = 0;
}

long allocationsMade(void)
{
    return made;
}

long allocationsLive(void)
{
    return trackedCount;
}

size_t allocatedSize(const void *p)
{
    lock();
    long i = trackedAt(p);
    size_t size = i >= 0 ? tracked[i].size : 0;
    unlock();
    return size;
}

/* ---- ioctl ---- */

static struct {
    unsigned long request;
    int nth, err, seen;
} failures[4];
static int failureCount;
static unsigned long silenced;
static int silencing;
static struct {
    int active, length, unterminated;
    unsigned seed;
} rewrite;

void failIoctl(unsigned long request, int nth, int err)
{
    if (failureCount < 4) {
        failures[failureCount].request = request;
        failures[failureCount].nth = nth;
        failures[failureCount].err = err;
        failures[failureCount++].seen = 0;
    }
}

void silenceIoctl(unsigned long request)
{
    silenced = request;
    silencing = 1;
}

void rewriteInterfaceList(int length, int unterminated, unsigned seed)
{
    rewrite.length = length;
    rewrite.unterminated = unterminated;
    rewrite.seed = seed;
    rewrite.active = 1;
}

void clearIoctlPlan(void)
{
    failureCount = silencing = rewrite.active = 0;
}

/* The error planned for this call of request, or 0 for none. */
static int plannedError(unsigned long request)
{
    for (int i = 0; i < failureCount; i++)
        if (failures[i].request == request && ++failures[i].seen == failures[i].nth)
            return failures[i].err;
    return 0;
}

/* Odd bytes and an odd length in an answer, all within the caller's area. */
static void rewriteAnswer(struct ifconf *conf, int areaBytes)
{
    if (rewrite.seed != 0)
        for (int i = 0; i < areaBytes; i++)
            conf->ifc_buf[i] = (char)rand_r(&rewrite.seed);
    if (rewrite.unterminated && areaBytes >= (int)sizeof(struct ifreq))
        memcpy(conf->ifc_req[0].ifr_name, UNTERMINATED_NAME, IFNAMSIZ);
    conf->ifc_len = rewrite.length;
}

int ioctl(int fd, unsigned long request, ...)
{
    va_list args;
    va_start(args, request);
    void *arg = va_arg(args, void *);
    va_end(args);
    int err = plannedError(request);
    if (err != 0) {
        errno = err;
        return -1;
    }
    if (silencing && request == silenced)
        return 0;
    int areaBytes = request == SIOCGIFCONF ? ((struct ifconf *)arg)->ifc_len : 0;
    int result = (int)syscall(SYS_ioctl, fd, request, arg);
    if (result == 0 && request == SIOCGIFCONF && rewrite.active)
        rewriteAnswer(arg, areaBytes);
    return result;
}
