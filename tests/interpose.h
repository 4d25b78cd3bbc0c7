/* Test support: this test binary's own malloc family and ioctl, which the
 * dlopen'ed library binds to, with failures injected on request. */
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Fail the nth allocation (1-based) from now on; 0 fails none.  Counts and
 * tracks every allocation until disarmAllocations(); frees of tracked
 * blocks are followed until the next arming. */
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

#ifdef __cplusplus
}
#endif
