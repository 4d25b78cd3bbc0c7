// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// The binary contract of both deliverables, read with binutils.
#include "support.h"

#include <regex>
#include <set>
#include <sstream>

namespace {

// Names of the dynamic symbols nm lists with the given options.
std::set<std::string> dynamicSymbols(const char *file, const char *options)
{
    std::set<std::string> names;
    std::istringstream lines(commandOutput(std::string("nm -D ") + options + " " + file));
    for (std::string line; std::getline(lines, line);)
        names.insert(line.substr(line.rfind(' ') + 1));
    return names;
}

// One build of both deliverables, and the name of its C library.
struct Build {
    const char *name;
    const char *library;
    const char *program;
    const char *libc;
};

void PrintTo(const Build &build, std::ostream *os)
{
    *os << build.name;
}

const Build kBuilds[] = {
    {"glibc", IFENUM_LIBRARY, IFREPORT_PROGRAM, "libc.so.6"},
#ifdef IFENUM_MUSL_LIBRARY
    {"musl", IFENUM_MUSL_LIBRARY, IFENUM_MUSL_PROGRAM, "libc.so"},
#endif
};

using ElfContract = testing::TestWithParam<Build>;

TEST_P(ElfContract, LibraryIsNamedIfenumAndNeedsOnlyLibc)
{
    const Build &build = GetParam();
    EXPECT_EQ(dynamicEntries(build.library, "SONAME"), std::set<std::string>{"ifenum"});
    EXPECT_EQ(dynamicEntries(build.library, "NEEDED"), std::set<std::string>{build.libc});
    std::string dynamic = commandOutput(std::string("readelf -dW ") + build.library);
    EXPECT_EQ(dynamic.find("TEXTREL"), std::string::npos) << dynamic;
    EXPECT_NE(dynamic.find("(SONAME)"), std::string::npos) << "not a shared object";
}

// Exactly these two, with plain names: no version node, nothing the
// toolchain adds.
TEST_P(ElfContract, LibraryExportsExactlyTheRoutineAndMain)
{
    std::set<std::string> want = {"getEthernetDetails", "main"};
    EXPECT_EQ(dynamicSymbols(GetParam().library, "--defined-only"), want);
    std::string versions = commandOutput(std::string("readelf -VW ") + GetParam().library);
    EXPECT_EQ(versions.find("Version definition"), std::string::npos) << versions;
}

TEST_P(ElfContract, ProgramIsAPieNeedingOnlyLibc)
{
    const Build &build = GetParam();
    EXPECT_EQ(dynamicEntries(build.program, "NEEDED"), std::set<std::string>{build.libc});
    std::string dynamic = commandOutput(std::string("readelf -dW ") + build.program);
    EXPECT_TRUE(std::regex_search(dynamic, std::regex("\\(FLAGS_1\\) +Flags:.* PIE"))) << dynamic;
    EXPECT_EQ(dynamic.find("ifenum"), std::string::npos) << dynamic;
    std::set<std::string> imports = dynamicSymbols(build.program, "--undefined-only");
    EXPECT_EQ(imports.count("getEthernetDetails"), 0U);
}

INSTANTIATE_TEST_SUITE_P(Builds, ElfContract, testing::ValuesIn(kBuilds),
                         [](const testing::TestParamInfo<Build> &info) {
                             return std::string(info.param.name);
                         });

TEST(LibraryMain, HonoursAnInterposedRoutine)
{
    RunResult run = runProgram({IFENUM_INTERPOSER, IFENUM_LIBRARY});
    EXPECT_EQ(run.out, "ifName fake0 ifIndex 7 ifSpeed -1 ifErrorCode : 5 \n");
    EXPECT_EQ(run.status, 1);
}

#ifdef IFENUM_MUSL_PROGRAM
// The musl build prints, byte for byte, what the glibc build prints.
using MuslScenarioTest = ScenarioTest;

TEST_P(MuslScenarioTest, ProgramPrintsGoldenTextAndExitsOne)
{
    RunResult run = runProgram({IFENUM_MUSL_PROGRAM});
    EXPECT_EQ(run.out, scenarioGolden(GetParam()));
    EXPECT_EQ(run.status, 1);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, MuslScenarioTest, allScenarios());
#endif

} // namespace
