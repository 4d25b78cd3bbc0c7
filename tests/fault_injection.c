/* SPDX-License-Identifier: MIT */
/* SPDX-FileCopyrightText: 2026 The ifenum authors */
#define _GNU_SOURCE
#include "fault_injection.h"

#include <dlfcn.h>
#include <errno.h>
#include <linux/ethtool.h>
#include <linux/sockios.h>
#include <net/if.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <sys/syscall.h>
#include <unistd.h>

/* ---- allocation: malloc, calloc and free; realloc stays the C library's ---- */

static void *(*realMalloc)(size_t);
static void (*realFree)(void *);
static int armed;
static long failAt;
long allocationsMade, allocationsLive;
static struct {
    void *at;
    size_t size;
} tracked[8192];

/* The real functions, looked up once: this binary's tests run on one thread. */
static void resolve(void)
{
    if (realFree == NULL) {
        realMalloc = (void *(*)(size_t))dlsym(RTLD_NEXT, "malloc");
        realFree = (void (*)(void *))dlsym(RTLD_NEXT, "free");
    }
}

/* Where p is tracked, or -1. */
static long trackedAt(const void *p)
{
    for (long i = 0; i < allocationsLive; i++)
        if (tracked[i].at == p)
            return i;
    return -1;
}

void *malloc(size_t n)
{
    resolve();
    if (armed && ++allocationsMade == failAt) {
        errno = ENOMEM;
        return NULL;
    }
    void *p = realMalloc(n);
    if (armed && p != NULL && allocationsLive < (long)(sizeof tracked / sizeof tracked[0])) {
        memset(p, 0xa5, n);
        tracked[allocationsLive].at = p;
        tracked[allocationsLive++].size = n;
    }
    return p;
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

void free(void *p)
{
    resolve();
    long i = trackedAt(p);
    if (p != NULL && i >= 0)
        tracked[i] = tracked[--allocationsLive];
    realFree(p);
}

void armAllocations(long nth)
{
    armed = 1;
    allocationsMade = allocationsLive = 0;
    failAt = nth;
}

void disarmAllocations(void)
{
    armed = 0;
}

size_t allocatedSize(const void *p)
{
    long i = trackedAt(p);
    return i >= 0 ? tracked[i].size : 0;
}

/* ---- ioctl ---- */

static struct {
    int failing, silencing, rewriting;
    unsigned long failed, silenced;
    int nth, err, seen;
    int length, unterminated;
    unsigned seed;
} plan;

void failIoctl(unsigned long request, int nth, int err)
{
    plan.failing = 1;
    plan.failed = request;
    plan.nth = nth;
    plan.err = err;
    plan.seen = 0;
}

void silenceIoctl(unsigned long request)
{
    plan.silencing = 1;
    plan.silenced = request;
}

void rewriteInterfaceList(int length, int unterminated, unsigned seed)
{
    plan.rewriting = 1;
    plan.length = length;
    plan.unterminated = unterminated;
    plan.seed = seed;
}

void clearIoctlPlan(void)
{
    plan.failing = plan.silencing = plan.rewriting = 0;
}

/* Odd bytes and an odd length in an answer, all within the caller's area. */
static void rewriteAnswer(struct ifconf *conf, int areaBytes)
{
    if (plan.seed != 0)
        for (int i = 0; i < areaBytes; i++)
            conf->ifc_buf[i] = (char)rand_r(&plan.seed);
    if (plan.unterminated && areaBytes >= (int)sizeof(struct ifreq))
        memcpy(conf->ifc_req[0].ifr_name, UNTERMINATED_NAME, IFNAMSIZ);
    conf->ifc_len = plan.length;
}

/* A program run by the suite under qemu-user, which passes no link-settings
 * request on, has its plan in IFENUM_LINK_SPEED: every such request answers
 * that speed, through both halves of the field. */
static long answeredSpeed = -1;

__attribute__((constructor)) static void planFromEnvironment(void)
{
    const char *speed = getenv("IFENUM_LINK_SPEED");
    if (speed != NULL)
        answeredSpeed = atol(speed);
}

int ioctl(int fd, unsigned long request, ...)
{
    va_list args;
    va_start(args, request);
    void *arg = va_arg(args, void *);
    va_end(args);
    if (request == SIOCETHTOOL && answeredSpeed >= 0) {
        ethtool_cmd_speed_set((struct ethtool_cmd *)((struct ifreq *)arg)->ifr_data, (__u32)answeredSpeed);
        return 0;
    }
    if (plan.failing && request == plan.failed && ++plan.seen == plan.nth) {
        errno = plan.err;
        return -1;
    }
    if (plan.silencing && request == plan.silenced)
        return 0;
    int areaBytes = request == SIOCGIFCONF ? ((struct ifconf *)arg)->ifc_len : 0;
    int result = (int)syscall(SYS_ioctl, fd, request, arg);
    if (result == 0 && request == SIOCGIFCONF && plan.rewriting)
        rewriteAnswer(arg, areaBytes);
    return result;
}
