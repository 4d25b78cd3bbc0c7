/* SPDX-License-Identifier: MIT */
/* SPDX-FileCopyrightText: 2026 The ifenum authors */
/* Interposed malloc family and ioctl for fault injection in tests. */
#define _GNU_SOURCE
#include "interpose.h"

#include <dlfcn.h>
#include <errno.h>
#include <linux/sockios.h>
#include <net/if.h>
#include <stdarg.h>
#include <stdatomic.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <sys/syscall.h>
#include <unistd.h>

/* ---- allocation ---- */

typedef void *(*MallocFn)(size_t);
typedef void *(*CallocFn)(size_t, size_t);
typedef void *(*ReallocFn)(void *, size_t);
typedef void (*FreeFn)(void *);

static MallocFn realMalloc;
static CallocFn realCalloc;
static ReallocFn realRealloc;
static FreeFn realFree;

/* dlsym may allocate before the real functions are known. */
static _Alignas(16) char bootstrap[8192];
static size_t bootstrapUsed;

enum { kMaxTracked = 8192 };
struct Block {
    void *at;
    size_t size;
};
static atomic_flag trackLock = ATOMIC_FLAG_INIT;
static int armed;
static long made, failAt;
static struct Block tracked[kMaxTracked];
static long trackedCount;

static void *bootstrapAlloc(size_t n)
{
    size_t at = (bootstrapUsed + 15) & ~(size_t)15;
    if (n > sizeof bootstrap - at)
        return NULL;
    bootstrapUsed = at + n;
    return bootstrap + at;
}

static int fromBootstrap(const void *p)
{
    return (const char *)p >= bootstrap && (const char *)p < bootstrap + sizeof bootstrap;
}

/* The real functions, once; 0 while they are still being looked up. */
static int resolve(void)
{
    static int resolving;
    if (realFree == NULL && !resolving) {
        resolving = 1;
        realMalloc = (MallocFn)dlsym(RTLD_NEXT, "malloc");
        realCalloc = (CallocFn)dlsym(RTLD_NEXT, "calloc");
        realRealloc = (ReallocFn)dlsym(RTLD_NEXT, "realloc");
        realFree = (FreeFn)dlsym(RTLD_NEXT, "free");
        resolving = 0;
    }
    return realFree != NULL;
}

static void lock(void)
{
    while (atomic_flag_test_and_set_explicit(&trackLock, memory_order_acquire))
        ;
}

static void unlock(void)
{
    atomic_flag_clear_explicit(&trackLock, memory_order_release);
}

/* Count an allocation about to be made; 0 if it is the one to fail. */
static int admit(void)
{
    lock();
    int ok = !(armed && ++made == failAt);
    unlock();
    return ok;
}

static void track(void *p, size_t size)
{
    lock();
    if (armed && p != NULL && trackedCount < kMaxTracked)
        tracked[trackedCount++] = (struct Block){p, size};
    unlock();
}

/* Where p is tracked, or -1; the lock is held. */
static long trackedAt(const void *p)
{
    for (long i = 0; i < trackedCount; i++)
        if (tracked[i].at == p)
            return i;
    return -1;
}

static void untrack(void *p)
{
    lock();
    long i = trackedAt(p);
    if (i >= 0)
        tracked[i] = tracked[--trackedCount];
    unlock();
}

static void *refuse(void)
{
    errno = ENOMEM;
    return NULL;
}

void *malloc(size_t n)
{
    if (!resolve())
        return bootstrapAlloc(n);
    if (!admit())
        return refuse();
    void *p = realMalloc(n);
    if (armed && p != NULL)
        memset(p, 0xa5, n);
    track(p, n);
    return p;
}

void *calloc(size_t count, size_t size)
{
    size_t n;
    if (__builtin_mul_overflow(count, size, &n))
        return refuse();
    if (!resolve())
        return bootstrapAlloc(n); /* static storage is zeroed */
    if (!admit())
        return refuse();
    void *p = realCalloc(count, size);
    track(p, n);
    return p;
}

/* A bootstrap block moves to the heap; its old size is unknown, so as much
 * is copied as the bootstrap area holds after it. */
static void *moveFromBootstrap(void *old, size_t n)
{
    void *p = malloc(n);
    size_t left = (size_t)(bootstrap + sizeof bootstrap - (char *)old);
    if (p != NULL)
        memcpy(p, old, n < left ? n : left);
    return p;
}

void *realloc(void *old, size_t n)
{
    if (old == NULL)
        return malloc(n);
    if (fromBootstrap(old))
        return moveFromBootstrap(old, n);
    if (!resolve())
        return refuse();
    if (!admit())
        return refuse();
    void *p = realRealloc(old, n);
    if (p != NULL || n == 0) /* old is gone */
        untrack(old);
    track(p, n);
    return p;
}

void free(void *p)
{
    if (p == NULL || fromBootstrap(p) || !resolve())
        return;
    untrack(p);
    realFree(p);
}

void armAllocations(long nth)
{
    lock();
    armed = 1;
    made = 0;
    failAt = nth;
    trackedCount = 0;
    unlock();
}

void disarmAllocations(void)
{
    lock();
    armed = 0;
    unlock();
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

enum { kMaxFaults = 4 };
struct IoctlFault {
    unsigned long request;
    int nth;
    int err;
    int seen;
};
static struct IoctlFault faults[kMaxFaults];
static int faultCount;
static unsigned long silentRequest;

void answerSilently(unsigned long request)
{
    silentRequest = request;
}

void failIoctl(unsigned long request, int nth, int err)
{
    if (faultCount < kMaxFaults)
        faults[faultCount++] = (struct IoctlFault){request, nth, err, 0};
}

void clearIoctlFaults(void)
{
    faultCount = 0;
    silentRequest = 0;
}

/* The error to inject for this call of request, or 0. */
static int injectedError(unsigned long request)
{
    for (int i = 0; i < faultCount; i++)
        if (faults[i].request == request && ++faults[i].seen == faults[i].nth)
            return faults[i].err;
    return 0;
}

static struct {
    int active, length, unterminated;
    unsigned seed;
} listRewrite;

void rewriteInterfaceList(int length, int unterminated, unsigned seed)
{
    listRewrite.length = length;
    listRewrite.unterminated = unterminated;
    listRewrite.seed = seed;
    listRewrite.active = 1;
}

void clearInterfaceListRewrite(void)
{
    listRewrite.active = 0;
}

/* Odd bytes and an odd length in an answer, all within the caller's area. */
static void rewriteAnswer(struct ifconf *conf, int areaBytes)
{
    if (listRewrite.seed != 0)
        for (int i = 0; i < areaBytes; i++)
            conf->ifc_buf[i] = (char)rand_r(&listRewrite.seed);
    if (listRewrite.unterminated && areaBytes >= (int)sizeof(struct ifreq))
        memcpy(conf->ifc_req[0].ifr_name, UNTERMINATED_NAME, IFNAMSIZ);
    conf->ifc_len = listRewrite.length;
}

int ioctl(int fd, unsigned long request, ...)
{
    va_list args;
    va_start(args, request);
    void *arg = va_arg(args, void *);
    va_end(args);
    int err = injectedError(request);
    if (err != 0) {
        errno = err;
        return -1;
    }
    if (request == silentRequest)
        return 0;
    int areaBytes = request == SIOCGIFCONF ? ((struct ifconf *)arg)->ifc_len : 0;
    int result = (int)syscall(SYS_ioctl, fd, request, arg);
    if (result == 0 && request == SIOCGIFCONF && listRewrite.active)
        rewriteAnswer(arg, areaBytes);
    return result;
}
