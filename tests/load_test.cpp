// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// Load and change: many threads and calls at once, and interfaces coming
// and going while the routine runs.
#include "library.h"
#include "run.h"

#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

namespace {

// A count from the environment, for longer runs than the default.
long countFromEnv(const char *name, long fallback)
{
    return getenv(name) != nullptr ? atol(getenv(name)) : fallback;
}

// Bytes the heap holds: the sanitizer's count where one replaces malloc.
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));
size_t heapInUse()
{
    return __sanitizer_get_current_allocated_bytes != nullptr ? __sanitizer_get_current_allocated_bytes()
                                                              : mallinfo2().uordblks;
}

class Over25Namespace : public NamespaceTest {
  protected:
    void SetUp() override { enterNamespace("over_25"); }
};

// Calls from many threads at once, each getting the whole golden list, and
// no descriptor or heap byte left behind however many calls.
TEST_F(Over25Namespace, ConcurrentAndRepeatedCallsHoldListsDescriptorsAndHeap)
{
    Routine routine = loadRoutine();
    ASSERT_NE(routine, nullptr) << dlerror();
    const std::vector<Record> records = printedRecords(golden("over_25"));
    const long threads = 8, calls = countFromEnv("IFENUM_CALLS", 1000);
    quietly([&] { freeEthernetDetails(routine()); });
    const int descriptors = openDescriptors();
    std::atomic<long> wrong{0};
    auto callRepeatedly = [&] {
        for (long i = 0; i < calls; i++) {
            EthernetDetails *list = routine();
            wrong += matchesRecords(list, records) ? 0 : 1;
            freeEthernetDetails(list);
        }
    };
    quietly([&] {
        std::vector<std::thread> pool;
        for (long t = 0; t < threads; t++)
            pool.emplace_back(callRepeatedly);
        for (std::thread &thread : pool)
            thread.join();
    });
    quietly(callRepeatedly); // the main thread's first calls may keep a block of the C library's
    const size_t heap = heapInUse();
    quietly(callRepeatedly);
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(openDescriptors(), descriptors);
    EXPECT_EQ(heapInUse(), heap);
}

// Lines the routine may write; anything else is a fault.
const std::regex kRoutineLine(
    "====================== Loading library for fetching ethernet details ====================== "
    "|Number of interfaces : \\d+"
    "|Error while querying (SIOCETHTOOL|SIOCGIFINDEX) for fetching interface [!-~]+ (speed|index)\\. "
    "Error code : \\d+ SIOCETHTOOL ioctl : "
    "|INTERFACE DETAILS ==> Name : [!-~]+, IpAddress : [0-9.]+, Index : \\d+, Bandwidth : -?\\d+, "
    "ifErrorCode : \\d+, "
    "|Releasing resources\\.|Releasing socket resources\\.");

// Every line one the routine can write, and the list as its account printed it.
testing::AssertionResult consistent(const EthernetDetails *list, const std::string &out)
{
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        if (!std::regex_match(line, kRoutineLine))
            return testing::AssertionFailure() << "unexpected line: " << line;
    return matchesRecords(list, printedRecords(out), false);
}

// Calls while ip adds bridges and deletes them again: each one judged.
TEST_F(MixedNamespace, InterfacesComingAndGoingDuringCalls)
{
    Routine routine = loadRoutine();
    ASSERT_NE(routine, nullptr) << dlerror();
    FILE *churn = popen(IFENUM_IP " -batch - >&2", "w");
    ASSERT_NE(churn, nullptr);
    for (long i = 0, bridges = countFromEnv("IFENUM_CHURN_BRIDGES", 100); i < bridges; i++) {
        fprintf(churn, "link add ch%ld type bridge\naddr add 10.9.%ld.1/24 dev ch%ld\n", i, i % 250, i);
        if (i >= 4)
            fprintf(churn, "link del ch%ld\n", i - 4);
    }
    fflush(churn);
    for (long call = 0, calls = countFromEnv("IFENUM_CHURN_CALLS", 300); call < calls; call++) {
        std::string out;
        EthernetDetails *list = callCapturing(routine, &out);
        EXPECT_TRUE(consistent(list, out)) << "call " << call;
        freeEthernetDetails(list);
    }
    EXPECT_EQ(pclose(churn), 0);
}

} // namespace
