/* SPDX-License-Identifier: MIT */
/* SPDX-FileCopyrightText: 2026 The ifenum authors */
/* Load ifenum at run time by path, as FFI users do, and list its records.
 * Usage: load_ifenum [path-to-ifenum]   (default: "ifenum", found by the loader) */
#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>

#include <ifenum.h>

typedef EthernetDetails *(*GetEthernetDetails)(void);

int main(int argc, char **argv)
{
    const char *path = argc > 1 ? argv[1] : "ifenum";
    void *library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (library == NULL) {
        fprintf(stderr, "load_ifenum: %s\n", dlerror());
        return 2;
    }
    GetEthernetDetails getDetails;
    *(void **)&getDetails = dlsym(library, "getEthernetDetails"); /* POSIX's way round ISO C */
    if (getDetails == NULL) {
        fprintf(stderr, "load_ifenum: %s\n", dlerror());
        return 2;
    }
    errno = 0;
    EthernetDetails *list = getDetails();
    if (list == NULL && errno != 0) {
        perror("getEthernetDetails");
        return 1;
    }
    for (const EthernetDetails *d = list; d != NULL; d = d->ifNext)
        printf("%-16s %-15s index %d speed %d error %d\n", d->ifName, d->ifIpAddress, d->ifIndex, d->ifSpeed,
               d->ifErrorCode);
    freeEthernetDetails(list);
    dlclose(library);
    return 0;
}
