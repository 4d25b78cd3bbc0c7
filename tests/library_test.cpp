// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// The library as other programs use it: dlopen, call, walk, release.
#include "support.h"

extern "C" int countAndRelease(EthernetDetails *list);

namespace {

// The driver's lines of a golden file: everything after the last routine line.
std::string goldenSummary(const std::string &golden)
{
    const std::string marker = "Releasing socket resources.\n";
    size_t at = golden.rfind(marker);
    return at == std::string::npos ? golden : golden.substr(at + marker.size());
}

TEST_P(ScenarioTest, ListFromLibraryMatchesGoldenSummary)
{
    Routine routine = loadRoutine();
    ASSERT_NE(routine, nullptr) << dlerror();
    EthernetDetails *list = callCapturing(routine, nullptr);
    std::string summary = summaryOf(list);
    EXPECT_EQ(summary, goldenSummary(scenarioGolden(GetParam())));
    EXPECT_EQ(list == nullptr, summary.empty());
    countAndRelease(list);
}

TEST_F(MixedNamespace, RecordsMatchTheKernel)
{
    Routine routine = loadRoutine();
    ASSERT_NE(routine, nullptr) << dlerror();
    EthernetDetails *list = callCapturing(routine, nullptr);
    EXPECT_TRUE(matchesMixed(list));
    EXPECT_EQ(countAndRelease(list), printedCount(scenarioGolden("mixed")));
}

TEST_F(MixedNamespace, TwoCallsGiveIndependentLists)
{
    Routine routine = loadRoutine();
    ASSERT_NE(routine, nullptr) << dlerror();
    EthernetDetails *first = callCapturing(routine, nullptr);
    EthernetDetails *second = callCapturing(routine, nullptr);
    for (auto *a = first, *b = second; a != nullptr && b != nullptr; a = a->ifNext, b = b->ifNext) {
        EXPECT_NE(a, b);
        EXPECT_NE(a->ifName, b->ifName);
        EXPECT_NE(a->ifIpAddress, b->ifIpAddress);
    }
    freeEthernetDetails(first);
    EXPECT_TRUE(matchesMixed(second));
    freeEthernetDetails(second);
}

} // namespace
