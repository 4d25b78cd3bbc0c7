// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
#include "library.h"

#include "run.h"

#include <net/if.h>
#include <stdio.h>

#include <filesystem>
#include <sstream>

// A symbol of the shared library, loaded as a program loads it.
static void *librarySymbol(const char *name)
{
    void *lib = dlopen(IFENUM_LIBRARY, RTLD_NOW);
    return lib != nullptr ? dlsym(lib, name) : nullptr;
}

Routine loadRoutine()
{
    return reinterpret_cast<Routine>(librarySymbol("getEthernetDetails"));
}

int (*loadLibraryMain())()
{
    return reinterpret_cast<int (*)()>(librarySymbol("main"));
}

EthernetDetails *callCapturing(Routine routine, std::string *out)
{
    EthernetDetails *list = nullptr;
    *out = stdoutOf([&] { list = routine(); });
    return list;
}

testing::AssertionResult matchesRecords(const EthernetDetails *list, const std::vector<Record> &records,
                                        bool againstKernel)
{
    for (const Record &want : records) {
        if (list == nullptr)
            return testing::AssertionFailure() << "list ends before " << want.name;
        if (want.name != list->ifName || want.address != list->ifIpAddress || list->ifSpeed != want.speed ||
            list->ifErrorCode != want.error || list->ifIndex != want.index ||
            (againstKernel && want.index != 0 &&
             static_cast<unsigned>(list->ifIndex) != if_nametoindex(list->ifName)))
            return testing::AssertionFailure()
                   << "record differs: " << list->ifName << " " << list->ifIpAddress << " index "
                   << list->ifIndex << " speed " << list->ifSpeed << " error " << list->ifErrorCode;
        list = list->ifNext;
    }
    if (list != nullptr)
        return testing::AssertionFailure() << "extra record: " << list->ifName;
    return testing::AssertionSuccess();
}

int openDescriptors()
{
    auto fds = std::filesystem::directory_iterator("/proc/self/fd");
    return static_cast<int>(std::distance(begin(fds), end(fds)));
}

std::set<std::string> dynamicEntries(const std::string &file, const std::string &tag)
{
    std::set<std::string> values;
    std::istringstream lines(commandOutput("readelf -dW " + file));
    for (std::string line; std::getline(lines, line);) {
        size_t open = line.find('[');
        if (line.find("(" + tag + ")") != std::string::npos && open != std::string::npos)
            values.insert(line.substr(open + 1, line.find(']') - open - 1));
    }
    return values;
}

std::string builtIn(const char *dir, const std::string &file)
{
    return *dir == '\0' ? "" : std::string(dir) + "/" + file;
}

const std::vector<Architecture> kArchitectures = {
    {"arm64", "aarch64", "aarch64-linux-gnu", 38, {"libc.so.6", "ld-linux-aarch64.so.1"}},
    {"s390x", "s390x", "s390x-linux-gnu", 38, {"libc.so.6"}},
    {"ppc64el", "ppc64le", "powerpc64le-linux-gnu", 38, {"libc.so.6"}},
    {"riscv64", "riscv64", "riscv64-linux-gnu", 38, {"libc.so.6", "ld-linux-riscv64-lp64d.so.1"}},
    {"mips64el", "mips64el", "mips64el-linux-gnuabi64", 89, {"libc.so.6", "ld.so.1"}},
};

std::vector<std::string> underQemu(const Architecture &arch, std::vector<std::string> args)
{
    const std::string program = builtIn(IFENUM_CROSS_DIR, std::string(arch.name) + "/ifreport");
    if (program.empty())
        return {""};
    args.insert(args.begin(), {"/usr/bin/env", std::string("qemu-") + arch.qemu, "-L",
                               std::string("/usr/") + arch.triplet});
    args.push_back(program);
    return args;
}
