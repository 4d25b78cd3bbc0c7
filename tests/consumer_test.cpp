// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// The library's consumers: programs built against an installed copy with
// find_package, pkg-config and cgo, a parent project that vendors it, and
// the Python module.
#include "library.h"
#include "run.h"

#include <stdlib.h>
#include <unistd.h>

#include <sstream>

namespace {

// The named script in tests/consumer run over a new work directory, dir,
// which goes away with the test however it ends.
class Consumer : public MixedNamespace {
  protected:
    bool built(const char *script, const char *extra = "")
    {
        char work[] = "/tmp/ifenum-consumer-XXXXXX";
        dir = mkdtemp(work) != nullptr ? work : "";
        return !dir.empty() &&
               runProgram({"/bin/sh", IFENUM_SOURCE_DIR "/tests/consumer/" + std::string(script),
                           IFENUM_BUILD_DIR, dir, IFENUM_SOURCE_DIR, extra})
                       .status == 0;
    }
    void TearDown() override { EXPECT_TRUE(dir.empty() || system(("rm -rf " + dir).c_str()) == 0); }
    std::string dir;
};

TEST_F(Consumer, InstalledPackageServesCMakeAndPkgConfig)
{
    ASSERT_TRUE(built("build.sh", IFENUM_MESON)) << "install or consumer build failed";
    for (const char *page : {"man1/ifreport.1", "man3/getEthernetDetails.3", "man3/freeEthernetDetails.3"})
        EXPECT_EQ(access((dir + "/prefix/share/man/" + page).c_str(), R_OK), 0) << page << " not installed";

    // A RUNPATH only to a copy outside the system's directories, from the
    // CMake package and from pkg-config alike; it comes before those, so an
    // installed copy never answers.  The linker records the soname.
    const std::string libDir = dir + "/prefix/lib";
    EXPECT_EQ(dynamicEntries(dir + "/cmake/consumer", "RUNPATH"), std::set<std::string>{libDir});
    EXPECT_EQ(dynamicEntries(dir + "/cmake-system/consumer", "RUNPATH"), std::set<std::string>{});
    EXPECT_EQ(dynamicEntries(dir + "/pkgconfig-consumer", "RUNPATH"), std::set<std::string>{libDir});
    const std::string flags = readFile(dir + "/pkgconfig-flags.txt");
    EXPECT_NE(flags.find("-L" + libDir + " -Wl,--enable-new-dtags -Wl,-rpath," + libDir + " -lifenum"),
              std::string::npos)
        << flags;
    // Meson's too, through pkg-config and its CMake fallback, where meson is there.
    std::vector<std::string> consumers = {"/cmake/consumer", "/pkgconfig-consumer"};
    if (IFENUM_MESON[0] != '\0')
        consumers.insert(consumers.end(), {"/meson-pkg-config/consumer", "/meson-cmake/consumer"});
    for (const std::string &consumer : consumers) {
        EXPECT_EQ(dynamicEntries(dir + consumer, "NEEDED"), (std::set<std::string>{"ifenum", "libc.so.6"}));
        RunResult run = runProgram({dir + consumer});
        EXPECT_EQ(run.out, exampleOutput(golden("mixed"))) << consumer;
        EXPECT_EQ(run.status, 0);
    }
}

// Vendored by a parent that has tests of its own: the alias links, none of
// ifenum's tests or settings reach the parent, and its install gets the
// library and nothing else of ifenum's.
TEST_F(Consumer, VendoredByAParentProject)
{
    ASSERT_TRUE(built("parent.sh")) << "vendored build failed";
    RunResult run = runProgram({dir + "/parent/consumer"});
    EXPECT_EQ(run.out, exampleOutput(golden("mixed")));
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(readFile(dir + "/parent-tests.txt").find("consumer_runs\n\nTotal Tests: 1\n"),
              std::string::npos)
        << readFile(dir + "/parent-tests.txt");
    EXPECT_NE(readFile(dir + "/parent/CMakeCache.txt").find("\nCMAKE_BUILD_TYPE:STRING=\n"),
              std::string::npos);
    EXPECT_EQ(commandOutput("cd " + dir + "/parent-prefix && find . ! -type d | sort"),
              "./bin/consumer\n./lib/ifenum\n");
    // Installed with the CMAKE_INSTALL_RPATH the README gives a parent.
    EXPECT_EQ(runProgram({dir + "/parent-prefix/bin/consumer"}).out, exampleOutput(golden("mixed")));
}

// The Python module as a program uses it: the account in its place, or
// left out; its errors, allocation failures among them; a heap that stays.
// Its records against the C ones: the example in every scenario.
TEST_F(MixedNamespace, PythonModuleKeepsItsPlaceItsErrorsAndItsHeap)
{
    if (IFENUM_PYTHON[0] == '\0') {
        SKIP_OR_FAIL("no python3: install Debian's python3");
    }
    RunResult run = runProgram({"/usr/bin/env", "PYTHONPATH=" IFENUM_SOURCE_DIR "/python",
                                "LD_PRELOAD=" IFENUM_FAULT_PRELOAD, IFENUM_PYTHON,
                                IFENUM_SOURCE_DIR "/tests/module_test.py", IFENUM_LIBRARY});
    EXPECT_EQ(run.out, "ok\n");
    EXPECT_EQ(run.status, 0);
}

// Go writes fd 1 directly: the example flushes C's stdout after the call,
// so the account comes whole and before the program's own lines.
TEST_F(Consumer, GoExampleThroughPkgConfig)
{
    if (IFENUM_GO[0] == '\0') {
        SKIP_OR_FAIL("no go: install Debian's golang-go");
    }
    ASSERT_TRUE(built("build_go.sh", IFENUM_GO)) << "install or go build failed";
    RunResult run = runProgram({dir + "/go-consumer"});
    EXPECT_EQ(run.out, exampleOutput(golden("mixed")));
    EXPECT_EQ(run.status, 0);
}

} // namespace
