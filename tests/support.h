// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// Test support: private network namespaces and captured program runs.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "ifenum.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

// Output and exit status of one run.
struct RunResult {
    std::string out;
    int status; // exit status, or 128 + signal
};

// Read a whole file; empty if it cannot be read.
std::string readFile(const std::string &path);

// The ip batch that builds a scenario, from tests/scenarios/NAME.ip.
std::string scenarioSetup(const std::string &name);

// The golden output of a scenario, from tests/scenarios/NAME.out.
std::string scenarioGolden(const std::string &name);

// The count a run printed ("Number of interfaces : N"), or -1 for none.
int printedCount(const std::string &out);

// A name as the output shows it: control bytes as a backslash and three
// octal digits.
std::string printedName(const char *name);

// Run argv with stdout captured.
RunResult runProgram(const std::vector<std::string> &argv);

// Run fn in a forked child with stdout captured; its return is the status.
RunResult runInChild(const std::function<int()> &fn);

using Routine = EthernetDetails *(*)();

// getEthernetDetails from the shared library, looked up by its plain name.
Routine loadRoutine();

// The shared library's exported main.
int (*loadLibraryMain())();

// Sends stdout to fd, or to /dev/null when fd is negative, while it lives.
class RedirectStdout {
  public:
    explicit RedirectStdout(int fd = -1);
    ~RedirectStdout();
    RedirectStdout(const RedirectStdout &) = delete;
    RedirectStdout &operator=(const RedirectStdout &) = delete;

  private:
    int saved_;
};

// What fn writes to stdout.
std::string stdoutOf(const std::function<void()> &fn);

// Call the routine with its running account captured into *out, or sent to
// /dev/null when out is null.
EthernetDetails *callCapturing(Routine routine, std::string *out);

// The driver's lines, rebuilt from a list.
std::string summaryOf(const EthernetDetails *list);

// Whatever a shell command prints on stdout.
std::string commandOutput(const std::string &command);

// The bracketed values of every dynamic-section line tagged tag.
std::set<std::string> dynamicEntries(const char *file, const std::string &tag);

// Descriptors this process has open.
int openDescriptors();

// Every record of a list from the "mixed" scenario, against what it configures
// and what the kernel says.
testing::AssertionResult matchesMixed(const EthernetDetails *list);

// Every test runs in a namespace of its own, built from an ip batch whose
// lines that start with "ethtool " or "ip " are run by the shell.  A machine
// that cannot make a namespace skips the test, or fails it when the build
// says IFENUM_REQUIRE_ALL.
class NamespaceTest : public testing::Test {
  protected:
    void enterNamespace(const std::string &ipBatch);
};

// Every scenario in tests/scenarios, for parameterised tests.
inline auto allScenarios()
{
    return testing::Values("no_ipv4", "lo_only", "mixed", "over_25");
}

// A namespace built from the named scenario, for parameterised tests.
class ScenarioTest : public NamespaceTest, public testing::WithParamInterface<const char *> {
  protected:
    void SetUp() override { enterNamespace(scenarioSetup(GetParam())); }
};

// The "mixed" scenario: lo, a bridge without ports, a veth, a tap and a
// label, a tap at 100000 Mb/s, and a bridge at index 2147483647.
class MixedNamespace : public NamespaceTest {
  protected:
    void SetUp() override { enterNamespace(scenarioSetup("mixed")); }
};
