// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// Every failure path through the real code: system calls failed by seccomp,
// single requests failed by an interposed ioctl, and an allocation sweep.
#include "fault_injection.h"
#include "library.h"
#include "run.h"

#include <errno.h>
#include <limits.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

#include <set>

namespace {

// errno after a call, the caller having left EDOM in it: the printed error
// after a failed set-up, ENOMEM after an entry left out for want of memory,
// the caller's own on every other return, and so even when every write of
// the account fails (unbuffered, on /dev/full).
struct ErrnoCase {
    const char *name;
    const char *setup;
    std::vector<Refusal> refusals;
    bool nullResult;
    int errnoAfter;        // 0: the caller's own
    long failedAllocation; // which allocation of the call fails, 1-based; 0: none
};

const ErrnoCase kErrnoCases[] = {
    {"socket_fails", "lo_only", {{Call::socket, EMFILE}}, true, EMFILE, 0},
    {"list_fails", "lo_only", {{Call::ifconf, EACCES}}, true, EACCES, 0},
    {"no_entry", "no_ipv4", {}, true, 0, 0},
    {"requests_fail", "lo_only", {{Call::index, ENXIO}}, false, 0, 0},
    {"only_entry_left_out", "lo_only", {}, true, ENOMEM, 1},
    {"entry_left_out", "mixed", {}, false, ENOMEM, 6},
    {"settings_block_missing", "lo_only", {}, false, 0, 3},
};

void PrintTo(const ErrnoCase &errnoCase, std::ostream *os)
{
    *os << errnoCase.name;
}

class ErrnoTest : public NamespaceTest, public testing::WithParamInterface<ErrnoCase> {
  protected:
    void SetUp() override { enterNamespace(GetParam().setup); }
};

// The child's status is errno after the call, or 255 for the wrong result.
TEST_P(ErrnoTest, IsThePrintedErrorOrTheCallersOwn)
{
    const ErrnoCase &c = GetParam();
    for (bool writesFail : {false, true}) {
        RunResult run = runInChild([&c, writesFail] {
            Routine routine = loadRoutine();
            if (routine == nullptr || !refuse(c.refusals))
                return 200;
            if (writesFail &&
                (freopen("/dev/full", "w", stdout) == nullptr || setvbuf(stdout, nullptr, _IONBF, 0)))
                return 201;
            errno = EDOM;
            armAllocations(c.failedAllocation);
            EthernetDetails *list = routine();
            int after = errno;
            disarmAllocations();
            bool isNull = list == nullptr;
            freeEthernetDetails(list);
            return isNull == c.nullResult ? after : 255;
        });
        EXPECT_EQ(run.status, c.errnoAfter != 0 ? c.errnoAfter : EDOM)
            << (writesFail ? "writes failing" : "");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ErrnoTest, testing::ValuesIn(kErrnoCases),
                         [](const testing::TestParamInfo<ErrnoCase> &info) {
                             return std::string(info.param.name);
                         });

// One request of one entry failed; every other record must be untouched.
struct EntryFault {
    unsigned long request;
    int nth; // which call of that request, 1-based: the entry
    int err;
    const char *failedSummary; // the failed entry's driver line
};

const EntryFault kEntryFaults[] = {
    {SIOCETHTOOL, 1, EIO, "ifName lo ifIndex 1 ifSpeed 0 ifErrorCode : 5 \n"},
    {SIOCETHTOOL, 2, EIO, "ifName abcdefghijklmno ifIndex 2 ifSpeed 0 ifErrorCode : 5 \n"},
    {SIOCETHTOOL, 3, EOPNOTSUPP, "ifName v0 ifIndex 4 ifSpeed 0 ifErrorCode : 0 \n"},
    {SIOCGIFINDEX, 2, ENODEV, "ifName abcdefghijklmno ifIndex 0 ifSpeed -1 ifErrorCode : 0 \n"},
    {SIOCGIFINDEX, 4, ENXIO, "ifName tap0 ifIndex 0 ifSpeed 10000 ifErrorCode : 0 \n"},
};

// The driver lines of a healthy mixed list, with line n replaced.
std::string withLine(const std::string &summary, int n, const std::string &line)
{
    size_t begin = 0;
    for (int i = 1; i < n; i++)
        begin = summary.find('\n', begin) + 1;
    return summary.substr(0, begin) + line + summary.substr(summary.find('\n', begin) + 1);
}

TEST_F(MixedNamespace, OneFailedRequestAffectsOnlyItsEntry)
{
    Routine routine = loadRoutine();
    ASSERT_NE(routine, nullptr) << dlerror();
    EthernetDetails *healthy = callCapturing(routine, nullptr);
    ASSERT_TRUE(matchesGolden(healthy, "mixed"));
    for (const EntryFault &fault : kEntryFaults) {
        std::string out;
        failIoctl(fault.request, fault.nth, fault.err);
        EthernetDetails *list = callCapturing(routine, &out);
        clearIoctlPlan();
        EXPECT_EQ(summaryOf(list), withLine(summaryOf(healthy), fault.nth, fault.failedSummary));
        std::string message =
            fault.request == SIOCETHTOOL ? " speed. Error code : " : " index. Error code : ";
        message += std::to_string(fault.request == SIOCETHTOOL && fault.err == EOPNOTSUPP ? 0 : fault.err);
        EXPECT_NE(out.find(message), std::string::npos) << out;
        freeEthernetDetails(list);
    }
    freeEthernetDetails(healthy);
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
// a name with no terminator.  Only names the kernel wrote, never an empty one.
TEST_F(MixedNamespace, OddInterfaceListAnswersStayBounded)
{
    Routine routine = loadRoutine();
    ASSERT_NE(routine, nullptr) << dlerror();
    const std::string unterminated = std::string(UNTERMINATED_NAME).substr(0, 15);
    std::set<std::string> written = {unterminated};
    EthernetDetails *healthy = callCapturing(routine, nullptr);
    for (const EthernetDetails *d = healthy; d != nullptr; d = d->ifNext)
        written.insert(d->ifName);
    freeEthernetDetails(healthy);
    // The answer before 1023 leaves random bytes where the call's list area
    // lies, so that a name read past what the kernel wrote shows.
    const struct {
        int length;
        bool unterminated;
        unsigned seed;
    } answers[] = {{1064, false, 0},    {1080, false, 0}, {2048, false, 0}, {65536, false, 0},
                   {INT_MIN, false, 7}, {1023, false, 0}, {-40, false, 0},  {240, true, 0}};
    for (const auto &answer : answers) {
        SCOPED_TRACE("length " + std::to_string(answer.length));
        rewriteInterfaceList(answer.length, answer.unterminated, answer.seed);
        std::string out;
        EthernetDetails *list = callCapturing(routine, &out);
        clearIoctlPlan();
        EXPECT_TRUE(bounded(list, out));
        for (const EthernetDetails *d = list; d != nullptr; d = d->ifNext)
            EXPECT_EQ(written.count(d->ifName), 1U) << d->ifName;
        if (answer.unterminated) {
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->ifName, unterminated);
        }
        freeEthernetDetails(list);
    }
}

// Requests that succeed and write nothing, as an emulator or a supervisor
// that fakes success may answer, over heap blocks full of garbage: no byte
// nobody wrote reaches a record.  A silent list request lists no entry.
TEST_F(MixedNamespace, SilentAnswersGiveZeroNotGarbage)
{
    Routine routine = loadRoutine();
    ASSERT_NE(routine, nullptr) << dlerror();
    EthernetDetails *healthy = callCapturing(routine, nullptr);
    for (unsigned long request : {SIOCETHTOOL, SIOCGIFINDEX, SIOCGIFCONF}) {
        testing::Message trace;
        SCOPED_TRACE(trace << "silent request 0x" << std::hex << request);
        EthernetDetails *list = nullptr;
        int errnoAfter = 0;
        silenceIoctl(request);
        std::string out = stdoutOf([&] {
            armAllocations(0);
            errno = EDOM;
            list = routine();
            errnoAfter = errno;
            disarmAllocations();
        });
        clearIoctlPlan();
        EXPECT_EQ(errnoAfter, EDOM);
        if (request == SIOCGIFCONF) {
            EXPECT_EQ(list, nullptr);
            EXPECT_EQ(printedCount(out), 0) << out;
        }
        const EthernetDetails *got = list;
        for (const EthernetDetails *want = healthy; got != nullptr && want != nullptr;
             got = got->ifNext, want = want->ifNext) {
            EXPECT_STREQ(got->ifName, want->ifName);
            EXPECT_EQ(got->ifSpeed, request == SIOCETHTOOL ? 0 : want->ifSpeed) << got->ifName;
            EXPECT_EQ(got->ifErrorCode, request == SIOCETHTOOL ? 0 : want->ifErrorCode) << got->ifName;
            EXPECT_EQ(got->ifIndex, request == SIOCGIFINDEX ? 0 : want->ifIndex) << got->ifName;
        }
        EXPECT_EQ(got, nullptr);
        freeEthernetDetails(list);
    }
    freeEthernetDetails(healthy);
}

// Random lengths over random bytes, seeded, for about a second.
TEST_F(MixedNamespace, RandomInterfaceListAnswersStayBounded)
{
    Routine routine = loadRoutine();
    ASSERT_NE(routine, nullptr) << dlerror();
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
constexpr int kAllocationsPerEntry = 4;
constexpr int kSettingsAllocation = 3;

// Every record well formed and equal to its healthy twin, but for the entry
// whose allocation failed: left out, or reporting ENOMEM for its speed.
void expectPolicy(const EthernetDetails *list, const EthernetDetails *healthy, long failed,
                  const std::string &out)
{
    long entry = (failed - 1) / kAllocationsPerEntry;
    bool settingsFailed = (failed - 1) % kAllocationsPerEntry + 1 == kSettingsAllocation;
    long position = 0;
    for (; healthy != nullptr; healthy = healthy->ifNext, position++) {
        if (position == entry && !settingsFailed)
            continue;
        ASSERT_NE(list, nullptr) << "list ends at entry " << position;
        ASSERT_NE(list->ifName, nullptr);
        ASSERT_NE(list->ifIpAddress, nullptr);
        EXPECT_STREQ(list->ifName, healthy->ifName);
        EXPECT_STREQ(list->ifIpAddress, healthy->ifIpAddress);
        EXPECT_EQ(list->ifIndex, healthy->ifIndex);
        if (position == entry) {
            EXPECT_EQ(list->ifSpeed, 0);
            EXPECT_EQ(list->ifErrorCode, ENOMEM);
            std::string message = "interface " + printedName(list->ifName) + " speed. Error code : 12 ";
            EXPECT_NE(out.find(message), std::string::npos) << out;
        } else {
            EXPECT_EQ(list->ifSpeed, healthy->ifSpeed);
            EXPECT_EQ(list->ifErrorCode, healthy->ifErrorCode);
        }
        list = list->ifNext;
    }
    EXPECT_EQ(list, nullptr);
}

// Every block of the list asked for at exactly its size.
testing::AssertionResult exactlySized(const EthernetDetails *list)
{
    for (; list != nullptr; list = list->ifNext)
        if (allocatedSize(list) != sizeof *list || allocatedSize(list->ifName) != strlen(list->ifName) + 1 ||
            allocatedSize(list->ifIpAddress) != strlen(list->ifIpAddress) + 1)
            return testing::AssertionFailure() << "not allocated at its size: " << summaryOf(list);
    return testing::AssertionSuccess();
}

Routine armedRoutine;
long armedFailAt;

// The routine alone, with allocation failure armed around it.
EthernetDetails *callArmed()
{
    armAllocations(armedFailAt);
    EthernetDetails *list = armedRoutine();
    disarmAllocations();
    return list;
}

TEST_F(MixedNamespace, EveryAllocationFailureKeepsTheListSound)
{
    armedRoutine = loadRoutine();
    ASSERT_NE(armedRoutine, nullptr) << dlerror();
    EthernetDetails *healthy = callCapturing(armedRoutine, nullptr);
    ASSERT_TRUE(matchesGolden(healthy, "mixed"));
    int descriptors = openDescriptors();
    for (armedFailAt = 1;; armedFailAt++) {
        SCOPED_TRACE("allocation " + std::to_string(armedFailAt) + " failed");
        std::string out;
        EthernetDetails *list = callCapturing(callArmed, &out);
        bool injected = allocationsMade() >= armedFailAt;
        if (injected)
            expectPolicy(list, healthy, armedFailAt, out);
        else
            EXPECT_TRUE(matchesGolden(list, "mixed") && exactlySized(list));
        freeEthernetDetails(list);
        EXPECT_EQ(allocationsLive(), 0) << "leaked";
        EXPECT_EQ(openDescriptors(), descriptors);
        if (!injected) {
            EXPECT_EQ(allocationsMade(), printedCount(golden("mixed")) * kAllocationsPerEntry);
            break;
        }
    }
    freeEthernetDetails(healthy);
}

} // namespace
