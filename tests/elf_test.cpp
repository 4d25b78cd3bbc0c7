// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// The binary contract of both deliverables, read with binutils, for the
// glibc build and, where they are built, the musl one and one for each other
// architecture the packages list; the musl build links with -no-pie,
// -z norelro and --disable-new-dtags first, so what holds there holds by the
// project's own flags.
#include "library.h"
#include "run.h"

#include <regex>
#include <sstream>

namespace {

// Names of the dynamic symbols nm lists with the given options.
std::set<std::string> dynamicSymbols(const std::string &file, const char *options)
{
    std::set<std::string> names;
    std::istringstream lines(commandOutput("nm -D " + std::string(options) + " " + file));
    for (std::string line; std::getline(lines, line);)
        names.insert(line.substr(line.rfind(' ') + 1));
    return names;
}

struct Build {
    const char *name;
    std::string library, program;
    std::set<std::string> needed; // the C library, and its loader where the stack guard lives there
};

void PrintTo(const Build &build, std::ostream *os)
{
    *os << build.name;
}

std::vector<Build> builds()
{
    std::vector<Build> all = {
        {"glibc", IFENUM_LIBRARY, IFREPORT_PROGRAM, {"libc.so.6"}},
        {"musl", builtIn(IFENUM_MUSL_DIR, "ifenum"), builtIn(IFENUM_MUSL_DIR, "ifreport"), {"libc.so"}}};
    for (const Architecture &arch : kArchitectures) {
        const std::string dir = arch.name;
        all.push_back({arch.name, builtIn(IFENUM_CROSS_DIR, dir + "/ifenum"),
                       builtIn(IFENUM_CROSS_DIR, dir + "/ifreport"), arch.needed});
    }
    std::erase_if(all, [](const Build &b) { return b.library.empty(); });
    return all;
}

using ElfContract = testing::TestWithParam<Build>;

// Full RELRO: the relocations resolved at load time, then made read-only.
testing::AssertionResult fullRelro(const std::string &file)
{
    std::string dynamic = commandOutput("readelf -dW " + file);
    std::string headers = commandOutput("readelf -lW " + file);
    if (!std::regex_search(dynamic, std::regex("\\(FLAGS_1\\) +Flags:.* NOW")) ||
        headers.find("GNU_RELRO") == std::string::npos)
        return testing::AssertionFailure() << file << " lacks full RELRO:\n" << dynamic << headers;
    return testing::AssertionSuccess();
}

// The library: named ifenum, needing the C library alone (and its loader
// where the C library needs it), exporting exactly the routine and main with
// plain names (no version node, nothing the toolchain adds). The program: a
// PIE needing the same, with its own copy of the routine.  Both with full
// RELRO and immediate binding, and no text relocation.
TEST_P(ElfContract, NamesNeedsExportsAndHardening)
{
    const Build &build = GetParam();
    EXPECT_EQ(dynamicEntries(build.library, "SONAME"), std::set<std::string>{"ifenum"});
    for (const std::string &file : {build.library, build.program}) {
        EXPECT_EQ(dynamicEntries(file, "NEEDED"), build.needed);
        EXPECT_TRUE(fullRelro(file));
        EXPECT_EQ(commandOutput("readelf -dW " + file).find("TEXTREL"), std::string::npos) << file;
    }
    EXPECT_EQ(dynamicSymbols(build.library, "--defined-only"),
              (std::set<std::string>{"getEthernetDetails", "main"}));
    EXPECT_EQ(commandOutput("readelf -VW " + build.library).find("Version definition"), std::string::npos);
    std::string dynamic = commandOutput("readelf -dW " + build.program);
    EXPECT_TRUE(std::regex_search(dynamic, std::regex("\\(FLAGS_1\\) +Flags:.* PIE"))) << dynamic;
    EXPECT_EQ(dynamicSymbols(build.program, "--undefined-only").count("getEthernetDetails"), 0U);
}

INSTANTIATE_TEST_SUITE_P(Builds, ElfContract, testing::ValuesIn(builds()), testing::PrintToStringParamName());

TEST(LibraryMain, HonoursAnInterposedRoutine)
{
    RunResult run = runProgram({IFENUM_FAKE_ROUTINE, IFENUM_LIBRARY});
    EXPECT_EQ(run.out, "ifName fake0 ifIndex 7 ifSpeed -1 ifErrorCode : 5 \n");
    EXPECT_EQ(run.status, 1);
}

} // namespace
