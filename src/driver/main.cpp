// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// ifreport: one summary line per IPv4 interface entry.
#include "ifenum.h"
#include "print_line.h"

// Arguments are ignored; the status is 1 on every run, as callers expect.
// Exported from the library too; C++ gives main its plain symbol name
// without extern "C".  Lines go through the routine's own formatter, so a
// name prints escaped here as in the account, and splits into no fields.
IFENUM_EXPORT int main(void)
{
    for (const EthernetDetails *d = getEthernetDetails(); d != nullptr; d = d->ifNext)
        printLine("ifName %s "
                  "ifIndex %d "
                  "ifSpeed %d "
                  "ifErrorCode : %d "
                  "\n",
                  d->ifName, d->ifIndex, d->ifSpeed, d->ifErrorCode);
    return 1;
}
