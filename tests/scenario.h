// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// Test support: scenarios, each a private network namespace built from
// tests/scenarios/SETUP.ip, calls a seccomp filter refuses, and the golden
// output in tests/scenarios/NAME.out that is the one place its facts live.
#pragma once

#include <gtest/gtest.h>
#include <linux/sockios.h>

#include <string>
#include <vector>

// A test that cannot run here skips with its reason, or fails where the
// build requires every test (IFENUM_REQUIRE_ALL).
#define SKIP_OR_FAIL(why)                                                                                    \
    if (IFENUM_REQUIRE_ALL)                                                                                  \
        FAIL() << why << " (IFENUM_REQUIRE_ALL is on)";                                                      \
    else                                                                                                     \
        GTEST_SKIP() << why

// A system call a seccomp filter makes fail with err: the socket, or one ioctl request.
enum class Call : unsigned long { socket, ifconf = SIOCGIFCONF, ethtool = SIOCETHTOOL, index = SIOCGIFINDEX };
struct Refusal {
    Call call;
    int err;
};

// Install a filter in this process that refuses those calls; false if it failed.
bool refuse(const std::vector<Refusal> &refusals);

struct Scenario {
    const char *name;  // of the golden file
    const char *setup; // of the namespace's ip batch
    std::vector<Refusal> refusals;
};

// Every scenario: namespaces of their own, then failures in the mixed one,
// which tests in this process leave out.
extern const std::vector<Scenario> kScenarios;

// The golden output of the scenario NAME.
std::string golden(const std::string &name);

// The count a run printed, or -1 for none.
int printedCount(const std::string &out);

// A record as a run's progress line shows it, with the name's raw bytes.
struct Record {
    std::string name, address;
    int index, speed, error;
};
std::vector<Record> printedRecords(const std::string &out);

// A run's account: its output without the driver's summary lines.
std::string accountOf(const std::string &out);

// What the examples print for a run: its account, then a line a record.
std::string exampleOutput(const std::string &run);

// Each test runs in a namespace of its own, built from an ip batch whose
// lines that start with "ethtool " or "ip " are run by the shell.
class NamespaceTest : public testing::Test {
  protected:
    void enterNamespace(const std::string &setup);
};

class MixedNamespace : public NamespaceTest {
  protected:
    void SetUp() override { enterNamespace("mixed"); }
};

void PrintTo(const Scenario &scenario, std::ostream *os);
