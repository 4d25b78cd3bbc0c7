/* SPDX-License-Identifier: MIT */
/* SPDX-FileCopyrightText: 2026 The ifenum authors */
/* List the IPv4 interface entries through the ifenum library, then release
 * the list.  The routine's own account goes to stdout; the records follow. */
#include <stdio.h>

#include <ifenum.h>

int main(void)
{
    EthernetDetails *list = getEthernetDetails();
    for (const EthernetDetails *d = list; d != NULL; d = d->ifNext)
        printf("%-16s %-15s index %d speed %d error %d\n", d->ifName, d->ifIpAddress, d->ifIndex, d->ifSpeed,
               d->ifErrorCode);
    freeEthernetDetails(list);
    return 0;
}
