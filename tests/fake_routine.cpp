// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// Loads the library and runs its main with getEthernetDetails replaced by
// this program's own, which the library must honour.
#include <dlfcn.h>

#include "ifenum.h"

static char fakeName[] = "fake0";
static char fakeAddress[] = "192.0.2.1";
static EthernetDetails fake = {-1, 7, 5, fakeName, fakeAddress, nullptr};

extern "C" EthernetDetails *getEthernetDetails(void)
{
    return &fake;
}

int main(int argc, char **argv)
{
    void *lib = argc > 1 ? dlopen(argv[1], RTLD_NOW) : nullptr;
    auto *libraryMain = lib ? reinterpret_cast<int (*)()>(dlsym(lib, "main")) : nullptr;
    return libraryMain ? libraryMain() : 127;
}
