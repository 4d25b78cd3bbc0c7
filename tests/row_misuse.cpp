// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// Rows the message formatter must refuse at compile time: built once with
// ROW_CASE unset (it must compile) and once per case (each must not).
#include "print_line.h"

void rows(int n, unsigned u, long l, const char *name)
{
    printLine("index %d name %s\n", n, name);
#if ROW_CASE == 1
    printLine("index %u name %s\n", u, name);
#elif ROW_CASE == 2
    printLine("index %d name %s\n", u, name);
#elif ROW_CASE == 3
    printLine("index %d name %s\n", l, name);
#elif ROW_CASE == 4
    printLine("index %d name %s\n", name, n);
#elif ROW_CASE == 5
    printLine("index %d name %s\n", n);
#elif ROW_CASE == 6
    printLine("index %d\n", n, name);
#elif ROW_CASE == 7
    printLine("100%%\n");
#else
    (void)u;
    (void)l;
#endif
}
