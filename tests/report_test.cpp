// The whole output of ifreport, and of the library's own main, per scenario.
#include "support.h"

namespace {

// The library's exported main, called as a program that loads it would.
int callLibraryMain()
{
    int (*libraryMain)() = loadLibraryMain();
    return libraryMain ? libraryMain() : 127;
}

TEST_P(ScenarioTest, ProgramPrintsGoldenTextAndExitsOne)
{
    RunResult run = runProgram({IFREPORT_PROGRAM, "ignored", "--help"});
    EXPECT_EQ(run.out, scenarioGolden(GetParam()));
    EXPECT_EQ(run.status, 1);
}

TEST_P(ScenarioTest, LibraryMainPrintsTheSameText)
{
    RunResult run = runInChild(callLibraryMain);
    EXPECT_EQ(run.out, scenarioGolden(GetParam()));
    EXPECT_EQ(run.status, 1);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioTest, testing::Values("no_ipv4", "lo_only", "mixed", "over_25"));

} // namespace
