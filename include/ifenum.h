/* SPDX-License-Identifier: MIT */
/* SPDX-FileCopyrightText: 2026 The ifenum authors */
/*
 * ifenum: the machine's IPv4 interface entries as a list of plain C records.
 * getEthernetDetails(3) is the reference: ownership, errno, the running
 * account on stdout, limits and threads.
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

/* The IPv4 interface entries as a new list owned by the caller, or NULL:
 * none, or errno says why (set it to 0 first). */
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
