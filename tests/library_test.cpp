// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// The library as other programs use it: dlopen, call, walk, release.
#include "library.h"

extern "C" int countAndRelease(EthernetDetails *list);

namespace {

class LibraryTest : public NamespaceTest, public testing::WithParamInterface<Scenario> {
  protected:
    void SetUp() override { enterNamespace(GetParam().setup); }
};

// The list holds what the account printed, in a C11 caller's hands too.
TEST_P(LibraryTest, ListMatchesTheGoldenRun)
{
    Routine routine = loadRoutine();
    ASSERT_NE(routine, nullptr) << dlerror();
    std::string account;
    EthernetDetails *list = callCapturing(routine, &account);
    EXPECT_EQ(account, accountOf(golden(GetParam().name)));
    EXPECT_TRUE(matchesGolden(list, GetParam().name));
    EXPECT_EQ(countAndRelease(list), std::max(printedCount(account), 0));
}

// The scenarios without refused calls, which would stay refused in this process.
std::vector<Scenario> unrefused()
{
    std::vector<Scenario> plain;
    std::copy_if(kScenarios.begin(), kScenarios.end(), std::back_inserter(plain),
                 [](const Scenario &s) { return s.refusals.empty(); });
    return plain;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, LibraryTest, testing::ValuesIn(unrefused()),
                         testing::PrintToStringParamName());

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
    EXPECT_TRUE(matchesGolden(second, "mixed"));
    freeEthernetDetails(second);
}

} // namespace
