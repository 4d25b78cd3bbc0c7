/*
 * ifenum: the machine's IPv4 interface entries as a list of plain records.
 *
 * getEthernetDetails() asks the kernel for its interface list and returns
 * one EthernetDetails record per IPv4 entry, in the kernel's order.  While
 * it works it writes a running account of every step to stdout.
 *
 * Ownership: the whole list belongs to the caller once the call returns.
 * Every record and both of its strings come from the process's malloc, so
 * the caller releases them with free(): read ifNext first, then free
 * ifName, ifIpAddress and the record.  freeEthernetDetails() below does
 * exactly that for a whole list.
 *
 * Allocation failure: the call never dereferences a null pointer, always
 * closes its socket and always returns a well-formed list.
 *   - An entry whose name, address text or record cannot be allocated is
 *     left out of the list; whatever it had allocated is freed.  The count
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

/* One IPv4 interface entry; also the list node. */
typedef struct EthernetDetails {
    /* Link speed in Mb/s from the link-settings request; 0 if it failed. */
    int32_t ifSpeed;
    /* Kernel interface index of ifName; 0 if the index request failed. */
    int32_t ifIndex;
    /* errno of a failed link-settings request; 0 on success or EOPNOTSUPP. */
    int32_t ifErrorCode;
    /* Interface name as the kernel lists it (labels such as "eth0:1" too). */
    char *ifName;
    /* IPv4 address in dotted-decimal text. */
    char *ifIpAddress;
    /* Next record, or NULL in the last one. */
    struct EthernetDetails *ifNext;
} EthernetDetails;

/* Enumerate the IPv4 interface entries; NULL when there are none or on
 * failure.  The caller owns the result. */
IFENUM_EXPORT EthernetDetails *getEthernetDetails(void);

/* Release a whole list returned by getEthernetDetails(); NULL is fine. */
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
#define IFENUM_STATIC_ASSERT static_assert
#else
#define IFENUM_STATIC_ASSERT _Static_assert
#endif

/* The layout is read by other programs: it must never move. */
IFENUM_STATIC_ASSERT(offsetof(EthernetDetails, ifSpeed) == 0, "ifSpeed offset");
IFENUM_STATIC_ASSERT(offsetof(EthernetDetails, ifIndex) == 4, "ifIndex offset");
IFENUM_STATIC_ASSERT(offsetof(EthernetDetails, ifErrorCode) == 8, "ifErrorCode offset");
IFENUM_STATIC_ASSERT(offsetof(EthernetDetails, ifName) == 16, "ifName offset");
IFENUM_STATIC_ASSERT(offsetof(EthernetDetails, ifIpAddress) == 24, "ifIpAddress offset");
IFENUM_STATIC_ASSERT(offsetof(EthernetDetails, ifNext) == 32, "ifNext offset");
IFENUM_STATIC_ASSERT(sizeof(EthernetDetails) == 40, "EthernetDetails size");

#undef IFENUM_STATIC_ASSERT

#endif /* IFENUM_H */
