/* SPDX-License-Identifier: MIT */
/* SPDX-FileCopyrightText: 2026 The ifenum authors */
/*
 * ifenum: the machine's IPv4 interface entries as a list of plain C records.
 *
 * getEthernetDetails() opens an AF_INET datagram socket (close-on-exec),
 * reads the kernel's interface list (SIOCGIFCONF) and, for each entry, asks
 * for its link speed (SIOCETHTOOL, ETHTOOL_GSET) and its index
 * (SIOCGIFINDEX).  It returns one EthernetDetails record per entry, in the
 * kernel's order.  Calls keep no state between them and may run on several
 * threads at once.  The manual page is getEthernetDetails(3).
 *
 * Ownership: the whole list belongs to the caller once the call returns.
 * Every record and both of its strings come from the process's malloc, each
 * block on its own, and nothing is shared between records or lists.  Release
 * a list with freeEthernetDetails() below, or by hand with free(): read
 * ifNext first, then free ifName, ifIpAddress and the record.
 *
 * Result and errno: NULL with errno set to the printed error number when
 * the socket or the interface list cannot be had; errno ENOMEM, with a list
 * or NULL, when an entry was left out for want of memory.  On every other
 * return errno is as the caller left it, so
 *     errno = 0; list = getEthernetDetails();
 * tells "no entry" (NULL, errno 0) from "failed" (NULL, errno set), and a
 * whole list (errno 0) from a short one (ENOMEM).
 * A failed speed or index request never drops an entry: its record holds 0
 * in the field that was not obtained.
 *
 * Output: the call writes a running account of every step to stdout, the
 * buffered stream, and adds no write of its own: the text leaves the process
 * when the buffer fills or is flushed.  So a host
 *   - flushes stdout before fork(), or the child's exit() prints the
 *     buffered account a second time;
 *   - flushes stdout before it writes fd 1 by other means (write(2), a
 *     child process) and before another runtime prints to it (Python's
 *     print has a buffer of its own), or the lines come out of order;
 *   - may see the lines of calls on several threads interleave.
 * The routine takes stdio's lock and calls malloc: it is not
 * async-signal-safe and must not be called from a signal handler.
 *
 * Allocation failure: the call never dereferences a null pointer, always
 * closes its socket and always returns a well-formed list.
 *   - An entry whose name, address text or record cannot be allocated is
 *     left out of the list; whatever it had allocated is freed, and errno
 *     is ENOMEM on return.  The count
 *     line still reports every entry the kernel returned.
 *   - An entry whose link-settings block cannot be allocated is reported
 *     as a failed speed request with ENOMEM: its error line carries 12 and
 *     the record has ifSpeed 0 and ifErrorCode 12.
 *
 * Limits: the kernel's list is read into 1024 bytes, so at most 25 entries
 * are returned; entries beyond the 25th are left out without a message.
 */
#ifndef IFENUM_H
#define IFENUM_H

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#if defined(__GNUC__)
#define IFENUM_EXPORT __attribute__((visibility("default")))
#else
#define IFENUM_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* One IPv4 interface entry; also the list node.  Programs read it through
 * this declaration: the order, widths and offsets never change. */
typedef struct EthernetDetails {
    /* Link speed in Mb/s, both 16-bit halves of the kernel's answer taken
     * together: -1 when the device reports an unknown speed (a bridge
     * without ports), 0 when the request failed for any reason. */
    int32_t ifSpeed;
    /* The kernel's index for ifName; 0 when the index request failed. */
    int32_t ifIndex;
    /* errno of a failed link-settings request; 0 when it succeeded and when
     * the device has no link settings (EOPNOTSUPP, such as lo).  A failed
     * index request never sets it. */
    int32_t ifErrorCode;
    /* Name exactly as the kernel lists it, at most 15 characters; an
     * address label such as "eth0:1" is an entry of its own. */
    char *ifName;
    /* The IPv4 address in dotted-decimal text, at most 15 characters. */
    char *ifIpAddress;
    /* The next record, or NULL in the last one. */
    struct EthernetDetails *ifNext;
} EthernetDetails;

/* The IPv4 interface entries as a new list, or NULL (see above).  The
 * caller owns the result. */
IFENUM_EXPORT EthernetDetails *getEthernetDetails(void);

/* Release a whole list returned by getEthernetDetails(); NULL is fine.
 * Inline, so that the library exports no more than getEthernetDetails and
 * the main of its report program. */
static inline void freeEthernetDetails(EthernetDetails *list)
{
    while (list != NULL) {
        EthernetDetails *next = list->ifNext;
        free(list->ifName);
        free(list->ifIpAddress);
        free(list);
        list = next;
    }
}

#ifdef __cplusplus
}
#endif

/* The layout is read by other programs: it must never move.  Checked where
 * the language has static assertions (C11, C++11 and later). */
#if defined(__cplusplus) && __cplusplus >= 201103L
#define IFENUM_STATIC_ASSERT static_assert
#elif !defined(__cplusplus) && defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define IFENUM_STATIC_ASSERT _Static_assert
#endif

#ifdef IFENUM_STATIC_ASSERT
IFENUM_STATIC_ASSERT(offsetof(EthernetDetails, ifSpeed) == 0, "ifSpeed offset");
IFENUM_STATIC_ASSERT(offsetof(EthernetDetails, ifIndex) == 4, "ifIndex offset");
IFENUM_STATIC_ASSERT(offsetof(EthernetDetails, ifErrorCode) == 8, "ifErrorCode offset");
IFENUM_STATIC_ASSERT(offsetof(EthernetDetails, ifName) == 16, "ifName offset");
IFENUM_STATIC_ASSERT(offsetof(EthernetDetails, ifIpAddress) == 24, "ifIpAddress offset");
IFENUM_STATIC_ASSERT(offsetof(EthernetDetails, ifNext) == 32, "ifNext offset");
IFENUM_STATIC_ASSERT(sizeof(EthernetDetails) == 40, "EthernetDetails size");
#undef IFENUM_STATIC_ASSERT
#endif

#endif /* IFENUM_H */
