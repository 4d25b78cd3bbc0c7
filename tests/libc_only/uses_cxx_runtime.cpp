// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
extern "C" void *probe(void)
{
    return new int(1);
}
