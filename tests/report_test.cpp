// The whole output of ifreport, and of the library's own main, per scenario.
#include "print_line.h"
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

// The rows' formatter knows %s and %d alone: any other pair is text, and a
// trailing % ends the text without reading past the terminator.
TEST(PrintLine, FormatsOnlyPercentSAndD)
{
    void (*print)(const char *, ...) = printLine; // unchecked: odd formats are the point
    static const char trailing[] = "100%\0%d past the end";
    EXPECT_EQ(stdoutOf([&] { print("%s|%d|%d|%u|%ld|%%|%x", "tap0:1", -2147483647 - 1, 0); }),
              "tap0:1|-2147483648|0|%u|%ld|%%|%x");
    EXPECT_EQ(stdoutOf([&] { print(trailing, 7); }), "100%");
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioTest, testing::Values("no_ipv4", "lo_only", "mixed", "over_25"));

} // namespace
