// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
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

// Rows print %s and %d exactly as printf would, however long the line,
// but for control bytes in a string.
TEST(PrintLine, FormatsLikePrintfAtAnyLength)
{
    std::string longName(3000, 'n');
    EXPECT_EQ(stdoutOf([] { printLine("%s|%d|%d|\n", "tap0:1", -2147483647 - 1, 0); }),
              "tap0:1|-2147483648|0|\n");
    EXPECT_EQ(stdoutOf([&] { printLine("<%s>%d\n", longName.c_str(), 7); }), "<" + longName + ">7\n");
    // Control bytes escaped, UTF-8 and the rest as they are.
    EXPECT_EQ(stdoutOf([] { printLine("%s|\n", "\x01tap0\nifName\x1b[31m\x1f ~\x7f\xc3\xa9\\"); }),
              "\\001tap0\\012ifName\\033[31m\\037 ~\\177\xc3\xa9\\|\n");
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioTest, allScenarios());

} // namespace
