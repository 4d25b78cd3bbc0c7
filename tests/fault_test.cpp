// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// Failures through the real code, by this binary's own ioctl and malloc:
// requests failed or answered silently, odd interface-list answers, and
// every allocation failed in turn.
#include "fault_injection.h"
#include "library.h"
#include "run.h"

#include <errno.h>
#include <limits.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

namespace {

// The routine with the nth allocation failed (0: none) and errno EDOM
// before it; its account into *out and errno after it into *errnoAfter.
EthernetDetails *callArmed(Routine routine, long failAt, std::string *out, int *errnoAfter)
{
    EthernetDetails *list = nullptr;
    *out = stdoutOf([&] {
        armAllocations(failAt);
        errno = EDOM;
        list = routine();
        *errnoAfter = errno;
        disarmAllocations();
    });
    return list;
}

// Requests failed one at a time, and requests answered with a success that
// writes nothing (as an emulator or a supervisor faking success may) over
// heap blocks full of garbage: each touches only the fields it answers, and
// a silent list request lists no entry.
TEST_F(MixedNamespace, OddRequestAnswersTouchOnlyTheirFields)
{
    Routine routine = loadRoutine();
    ASSERT_NE(routine, nullptr) << dlerror();
    enum class Answer { fails, silent };
    const struct {
        Call call;
        Answer answer;
        int nth; // the call that fails, 1-based: the entry
        int err;
    } plans[] = {{Call::ethtool, Answer::fails, 1, EIO},        {Call::ethtool, Answer::fails, 2, EIO},
                 {Call::ethtool, Answer::fails, 3, EOPNOTSUPP}, {Call::index, Answer::fails, 2, ENODEV},
                 {Call::index, Answer::fails, 4, ENXIO},        {Call::ethtool, Answer::silent, 0, 0},
                 {Call::index, Answer::silent, 0, 0},           {Call::ifconf, Answer::silent, 0, 0}};
    for (const auto &plan : plans) {
        const bool silent = plan.answer == Answer::silent;
        const int printed = plan.err == EOPNOTSUPP ? 0 : plan.err;
        std::vector<Record> want =
            plan.call == Call::ifconf ? std::vector<Record>{} : printedRecords(golden("mixed"));
        for (size_t i = 0; i < want.size(); i++) {
            if (!silent && i + 1 != static_cast<size_t>(plan.nth))
                continue;
            if (plan.call == Call::ethtool) {
                want[i].speed = 0;
                want[i].error = printed;
            } else {
                want[i].index = 0;
            }
        }
        if (silent)
            silenceIoctl(static_cast<unsigned long>(plan.call));
        else
            failIoctl(static_cast<unsigned long>(plan.call), plan.nth, plan.err);
        std::string out;
        int errnoAfter = 0;
        EthernetDetails *list = callArmed(routine, 0, &out, &errnoAfter);
        clearIoctlPlan();
        EXPECT_TRUE(matchesRecords(list, want)) << "request " << static_cast<unsigned long>(plan.call);
        EXPECT_EQ(printedCount(out), static_cast<int>(want.size()));
        EXPECT_EQ(errnoAfter, EDOM);
        if (!silent) {
            const std::string failed = printedName(want[static_cast<size_t>(plan.nth - 1)].name.c_str());
            EXPECT_NE(out.find("interface " + failed + (plan.call == Call::ethtool ? " speed" : " index") +
                               ". Error code : " + std::to_string(printed) + " "),
                      std::string::npos)
                << out;
        }
        freeEthernetDetails(list);
    }
}

// A list from an odd answer: at most 25 records, each name and address at
// most 15 characters, and the count line within 0 to 25.
testing::AssertionResult bounded(const EthernetDetails *list, const std::string &out)
{
    int count = printedCount(out);
    if (count < 0 || count > 25)
        return testing::AssertionFailure() << "count line out of bounds:\n" << out;
    for (int n = 0; list != nullptr; list = list->ifNext, n++)
        if (n == 25 || strlen(list->ifName) > 15 || strlen(list->ifIpAddress) > 15)
            return testing::AssertionFailure() << "list out of bounds at record " << n;
    return testing::AssertionSuccess();
}

// Answers an emulator or an interposed ioctl may give to the interface list
// request: lengths past the area, past what the kernel wrote, negative, and
// a name with no terminator.  Only the entries the kernel wrote are listed:
// the call before 1023 fills the list area with random bytes, so that one
// read past them shows.
TEST_F(MixedNamespace, OddInterfaceListAnswersGiveOnlyWrittenEntries)
{
    Routine routine = loadRoutine();
    ASSERT_NE(routine, nullptr) << dlerror();
    const std::vector<Record> all = printedRecords(golden("mixed")), none;
    std::vector<Record> cut(all.begin(), all.begin() + 6); // 240 bytes, the first name unterminated
    cut[0] = {std::string(UNTERMINATED_NAME, 15), cut[0].address, 0, 0, ENODEV};
    const struct {
        int length;
        bool unterminated;
        unsigned seed;
        const std::vector<Record> &want;
    } answers[] = {{1064, false, 0, all},  {1080, false, 0, all},     {2048, false, 0, all},
                   {65536, false, 0, all}, {INT_MIN, false, 7, none}, {1023, false, 0, all},
                   {-40, false, 0, none},  {240, true, 0, cut}};
    for (const auto &answer : answers) {
        rewriteInterfaceList(answer.length, answer.unterminated, answer.seed);
        std::string out;
        EthernetDetails *list = callCapturing(routine, &out);
        clearIoctlPlan();
        EXPECT_TRUE(matchesRecords(list, answer.want)) << "length " << answer.length;
        EXPECT_EQ(printedCount(out), static_cast<int>(answer.want.size())) << out;
        freeEthernetDetails(list);
    }
    // Then random lengths over random bytes, seeded, for about a second.
    unsigned seed = 20261208;
    const time_t deadline = time(nullptr) + 1;
    for (int round = 0; round < 20000 && time(nullptr) <= deadline; round++) {
        int length = rand_r(&seed) % 2400 - 200;
        rewriteInterfaceList(length, 0, round % 2 != 0 ? static_cast<unsigned>(rand_r(&seed)) | 1U : 0);
        std::string out;
        EthernetDetails *list = callCapturing(routine, &out);
        clearIoctlPlan();
        ASSERT_TRUE(bounded(list, out)) << "round " << round << ", length " << length;
        freeEthernetDetails(list);
    }
}

// Allocations per entry, in order: name, address, link settings, record.
constexpr long kAllocationsPerEntry = 4;
constexpr long kSettingsAllocation = 3;

// Every block of the list asked for at exactly its size.
testing::AssertionResult exactlySized(const EthernetDetails *list)
{
    for (; list != nullptr; list = list->ifNext)
        if (allocatedSize(list) != sizeof *list || allocatedSize(list->ifName) != strlen(list->ifName) + 1 ||
            allocatedSize(list->ifIpAddress) != strlen(list->ifIpAddress) + 1)
            return testing::AssertionFailure() << "not allocated at its size: " << printedName(list->ifName);
    return testing::AssertionSuccess();
}

// Each allocation of a call failed in turn: the entry it served is left out,
// with errno ENOMEM after the call, or, for its link-settings block,
// reports ENOMEM; the rest stands, and nothing leaks.
class AllocationTest : public NamespaceTest, public testing::WithParamInterface<Scenario> {
  protected:
    void SetUp() override { enterNamespace(GetParam().setup); }
};

TEST_P(AllocationTest, EveryFailureKeepsTheListSound)
{
    Routine routine = loadRoutine();
    ASSERT_NE(routine, nullptr) << dlerror();
    const std::vector<Record> healthy = printedRecords(golden(GetParam().name));
    const int descriptors = openDescriptors();
    for (long failAt = 1;; failAt++) {
        SCOPED_TRACE("allocation " + std::to_string(failAt) + " failed");
        std::string out;
        int errnoAfter = 0;
        EthernetDetails *list = callArmed(routine, failAt, &out, &errnoAfter);
        const bool injected = allocationsMade >= failAt;
        const bool settings = (failAt - 1) % kAllocationsPerEntry + 1 == kSettingsAllocation;
        const auto entry = static_cast<size_t>((failAt - 1) / kAllocationsPerEntry);
        std::vector<Record> want = healthy;
        if (injected && settings) {
            want[entry].speed = 0;
            want[entry].error = ENOMEM;
            EXPECT_NE(
                out.find("interface " + printedName(want[entry].name.c_str()) + " speed. Error code : 12 "),
                std::string::npos);
        } else if (injected) {
            want.erase(want.begin() + static_cast<long>(entry));
        }
        EXPECT_TRUE(matchesRecords(list, want));
        EXPECT_EQ(errnoAfter, injected && !settings ? ENOMEM : EDOM);
        EXPECT_TRUE(injected || exactlySized(list));
        freeEthernetDetails(list);
        EXPECT_EQ(allocationsLive, 0) << "leaked";
        EXPECT_EQ(openDescriptors(), descriptors);
        if (!injected) {
            EXPECT_EQ(allocationsMade, static_cast<long>(healthy.size()) * kAllocationsPerEntry);
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, AllocationTest,
                         testing::ValuesIn(kScenarios.begin(),
                                           std::find_if(kScenarios.begin(), kScenarios.end(),
                                                        [](auto &s) { return !s.refusals.empty(); })),
                         testing::PrintToStringParamName());

} // namespace
