// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// valgrind memcheck over ifreport and over a caller that frees the list.
#include "support.h"

namespace {

// Run argv under memcheck; valgrind's verdict becomes exit status 3.
RunResult memcheck(const char *leakKinds, const char *program)
{
    return runProgram({IFENUM_VALGRIND, "--quiet", "--error-exitcode=3", "--leak-check=full",
                       std::string("--errors-for-leak-kinds=") + leakKinds, "--log-fd=2", program});
}

using Memcheck = MixedNamespace;

// ifreport leaves its list to process exit: errors count, leaks do not.
TEST_F(Memcheck, ProgramHasNoMemoryErrors)
{
    RunResult run = memcheck("none", IFREPORT_PROGRAM);
    EXPECT_EQ(run.out, scenarioGolden("mixed"));
    EXPECT_EQ(run.status, 1);
}

TEST_F(Memcheck, CallerThatFreesTheListLosesNothing)
{
    RunResult run = memcheck("definite,indirect,possible", IFENUM_EXAMPLE_C);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("tap0:1"), std::string::npos) << run.out;
}

} // namespace
