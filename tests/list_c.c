/* SPDX-License-Identifier: MIT */
/* SPDX-FileCopyrightText: 2026 The ifenum authors */
/* The header as a C11 caller sees it: walk a list, then release it. */
#include "ifenum.h"

int countAndRelease(EthernetDetails *list)
{
    int count = 0;
    for (const EthernetDetails *record = list; record != NULL; record = record->ifNext)
        count++;
    freeEthernetDetails(list);
    return count;
}
