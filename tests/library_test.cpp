// The library as other programs use it: dlopen, call, walk, release.
#include "namespace.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <net/if.h>
#include <unistd.h>

#include "ifenum.h"

extern "C" int countAndRelease(EthernetDetails *list);

namespace {

using Routine = EthernetDetails *(*)();

// getEthernetDetails from the shared library, looked up by its plain name.
Routine loadRoutine()
{
    void *lib = dlopen(IFENUM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    return lib ? reinterpret_cast<Routine>(dlsym(lib, "getEthernetDetails")) : nullptr;
}

// Call the routine with its running account sent to /dev/null.
EthernetDetails *callQuietly(Routine routine)
{
    fflush(stdout);
    int saved = dup(STDOUT_FILENO);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    EthernetDetails *list = routine();
    fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    close(null);
    return list;
}

// The driver's lines, rebuilt from a list.
std::string summaryOf(const EthernetDetails *list)
{
    std::string text;
    char line[128];
    for (; list != nullptr; list = list->ifNext) {
        snprintf(line, sizeof line, "ifName %s ifIndex %d ifSpeed %d ifErrorCode : %d \n",
                 list->ifName, list->ifIndex, list->ifSpeed, list->ifErrorCode);
        text += line;
    }
    return text;
}

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
    EthernetDetails *list = callQuietly(routine);
    EXPECT_EQ(summaryOf(list), goldenSummary(scenarioGolden(GetParam())));
    EXPECT_EQ(list == nullptr, summaryOf(list).empty());
    countAndRelease(list);
}

struct Expected {
    const char *name;
    const char *address;
    int speed;
};

// What the mixed scenario configures, in the kernel's order.
const Expected kMixed[] = {
    {"lo", "127.0.0.1", 0},
    {"abcdefghijklmno", "192.168.200.250", -1},
    {"v0", "10.1.0.1", 10000},
    {"tap0", "10.2.0.1", 10000},
    {"tap0:1", "10.2.0.2", 10000},
};

class MixedNamespace : public NamespaceTest {
protected:
    void SetUp() override { enterNamespace(scenarioSetup("mixed")); }

    // Every field of every record against the configuration and the kernel.
    static void expectMixed(const EthernetDetails *list)
    {
        for (const Expected &want : kMixed) {
            ASSERT_NE(list, nullptr) << "list ends before " << want.name;
            EXPECT_STREQ(list->ifName, want.name);
            EXPECT_STREQ(list->ifIpAddress, want.address);
            EXPECT_EQ(list->ifSpeed, want.speed) << want.name;
            EXPECT_EQ(list->ifErrorCode, 0) << want.name;
            EXPECT_EQ(static_cast<unsigned>(list->ifIndex), if_nametoindex(want.name));
            list = list->ifNext;
        }
        EXPECT_EQ(list, nullptr);
    }
};

TEST_F(MixedNamespace, RecordsMatchTheKernel)
{
    Routine routine = loadRoutine();
    ASSERT_NE(routine, nullptr) << dlerror();
    EthernetDetails *list = callQuietly(routine);
    expectMixed(list);
    EXPECT_EQ(countAndRelease(list), 5);
}

TEST_F(MixedNamespace, TwoCallsGiveIndependentLists)
{
    Routine routine = loadRoutine();
    ASSERT_NE(routine, nullptr) << dlerror();
    EthernetDetails *first = callQuietly(routine);
    EthernetDetails *second = callQuietly(routine);
    for (auto *a = first, *b = second; a != nullptr && b != nullptr; a = a->ifNext, b = b->ifNext) {
        EXPECT_NE(a, b);
        EXPECT_NE(a->ifName, b->ifName);
        EXPECT_NE(a->ifIpAddress, b->ifIpAddress);
    }
    freeEthernetDetails(first);
    expectMixed(second);
    freeEthernetDetails(second);
}

} // namespace
