// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
#include <stdlib.h>

extern "C" void *probe(void)
{
    return malloc(1);
}
