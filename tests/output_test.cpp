// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// The whole output and exit status of every scenario under every runner:
// ifreport, the library's main, the musl build, strace, valgrind and the
// examples; and the message formatter.
#include "library.h"
#include "print_line.h"
#include "run.h"
#include "scenario.h"

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <regex>
#include <sstream>

namespace {

const std::string kTrace = "/tmp/ifenum-strace-" + std::to_string(getpid());

// What a runner prints: the golden run, the example's lines after the
// account, the account alone, nothing (stdout unbuffered on /dev/full), or
// the golden run with every link-settings request failed with ENOSYS, as
// under qemu-user.
enum class Prints { golden, example, account, nothing, enosys };

// One way to run the routine: a command, or none for the library called in
// a child.  A runner whose tool or program this build lacks (see
// configure's summary) is left out.
struct Runner {
    std::string name;
    Prints prints;
    std::vector<std::string> argv;
    int enosys = ENOSYS; // what an architecture under qemu-user answers
};

void PrintTo(const Runner &runner, std::ostream *os)
{
    *os << runner.name;
}

// program under valgrind memcheck, with leaks of these kinds counted as errors.
std::vector<std::string> memcheck(const char *leakKinds, const char *program)
{
    return {IFENUM_VALGRIND,
            "--quiet",
            "--error-exitcode=3",
            "--leak-check=full",
            "--log-fd=2",
            std::string("--errors-for-leak-kinds=") + leakKinds,
            program};
}

std::vector<Runner> runners()
{
    const std::string python = IFENUM_SOURCE_DIR "/examples/python/ifenum_list.py";
    std::vector<Runner> all = {
        {"program", Prints::golden, {IFREPORT_PROGRAM, "ignored", "--help"}},
        {"library_main", Prints::golden, {}},
        {"routine", Prints::account, {}},
        {"routine_writes_failing", Prints::nothing, {}},
        {"musl", Prints::golden, {builtIn(IFENUM_MUSL_DIR, "ifreport")}},
        {"strace",
         Prints::golden,
         {IFENUM_STRACE, "-qq", "-etrace=socket,ioctl,close,write", "-o", kTrace, IFREPORT_PROGRAM}},
        {"valgrind", Prints::golden, memcheck("none", IFREPORT_PROGRAM)}, // ifreport leaves its list to exit
        {"example_c", Prints::example, {IFENUM_EXAMPLE_C}},
        {"example_c_valgrind", Prints::example, memcheck("definite,indirect,possible", IFENUM_EXAMPLE_C)},
        {"example_dlopen", Prints::example, {IFENUM_EXAMPLE_DLOPEN, IFENUM_LIBRARY}},
        {"example_python",
         Prints::example,
         {"/usr/bin/env", "-u", "PYTHONUNBUFFERED", "PYTHONPATH=" IFENUM_SOURCE_DIR "/python", IFENUM_PYTHON,
          python, IFENUM_LIBRARY}},
    };
    for (const Architecture &arch : kArchitectures)
        all.push_back({arch.name, Prints::enosys, underQemu(arch), arch.enosys});
    std::erase_if(all, [](const Runner &r) {
        return std::any_of(r.argv.begin(), r.argv.end(), [](const std::string &arg) { return arg.empty(); });
    });
    return all;
}

// The runner in a child under the scenario's refusals.  Through the
// library: its main must close the socket on every path (status 99 says
// the set of open descriptors changed); the routine's status is errno
// after the call, whose caller left EDOM in it (255: a list where none
// was due, or none where one was).
RunResult run(const Runner &runner, const Scenario &scenario, bool listDue)
{
    return runInChild([&] {
        int (*libraryMain)() = loadLibraryMain();
        Routine routine = loadRoutine();
        const int descriptors = openDescriptors();
        if (libraryMain == nullptr || routine == nullptr || !refuse(scenario.refusals))
            return 200;
        if (!runner.argv.empty())
            return execute(runner.argv);
        if (runner.prints == Prints::golden) {
            int status = libraryMain();
            return openDescriptors() == descriptors ? status : 99;
        }
        if (runner.prints == Prints::nothing &&
            (freopen("/dev/full", "w", stdout) == nullptr || setvbuf(stdout, nullptr, _IONBF, 0) != 0))
            return 201;
        errno = EDOM;
        EthernetDetails *list = routine();
        return (list != nullptr) == listDue ? errno : 255;
    });
}

// A run as it reads when every link-settings request fails with err: each
// entry's error line for that request says so, and its record and summary
// line carry speed 0 and that error.
std::string withLinkSettingsFailing(const std::string &run, int err)
{
    static const std::regex theirs("Error while querying SIOCETHTOOL .*\n"),
        fields("(Bandwidth : |ifSpeed )-?\\d+(,? ifErrorCode : )-?\\d+"),
        entryStart("(Number of interfaces : \\d+\n|Releasing resources\\.\n)"
                   "(?=Error while querying SIOCGIFINDEX for fetching interface (\\S+)|INTERFACE DETAILS ==> "
                   "Name : (\\S+),)");
    const std::string line =
        "$1Error while querying SIOCETHTOOL for fetching interface $2$3 speed. Error code : " +
        std::to_string(err) + " SIOCETHTOOL ioctl : \n";
    return std::regex_replace(std::regex_replace(std::regex_replace(run, theirs, ""), entryStart, line),
                              fields, "$010$02" + std::to_string(err));
}

// 3 + 2n socket, ioctl and close calls for n entries, from a close-on-exec
// socket on, so that no child of the host inherits it; and stdout written
// in as few writes as its buffer allows.
void expectFewestCalls(const std::string &trace, const std::string &out)
{
    static const std::regex socketCall("^socket\\(AF_INET, SOCK_DGRAM\\|SOCK_CLOEXEC, IPPROTO_IP\\) = \\d+$");
    static const std::regex requestCall("^(socket|ioctl|close)\\(.*");
    int sinceSocket = 0, writes = 0;
    bool opened = false;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        opened = opened || std::regex_match(line, socketCall);
        sinceSocket += opened && std::regex_match(line, requestCall) ? 1 : 0;
        writes += line.rfind("write(1,", 0) == 0 ? 1 : 0;
    }
    bool socketFailed = out.find("Error while fetching socket handle") != std::string::npos;
    EXPECT_EQ(sinceSocket, socketFailed ? 0 : 3 + 2 * std::max(printedCount(out), 0)) << trace;
    // stdio sizes a stream's buffer by its descriptor's block size: a pipe's is a page.
    const auto buffer = static_cast<size_t>(getpagesize());
    EXPECT_EQ(writes, static_cast<int>((out.size() + buffer - 1) / buffer)) << trace;
}

class OutputTest : public NamespaceTest, public testing::WithParamInterface<std::tuple<Runner, Scenario>> {
  protected:
    void SetUp() override { enterNamespace(std::get<1>(GetParam()).setup); }
};

TEST_P(OutputTest, IsGoldenWithItsStatus)
{
    const auto &[runner, scenario] = GetParam();
    const std::string want = golden(scenario.name);
    RunResult result = run(runner, scenario, printedCount(want) > 0);
    // By what the runner prints: the output and status due; errno is what a
    // failed set-up printed last, or the caller's own.
    const bool setUpFailed = printedCount(want) < 0;
    const int errnoDue = setUpFailed ? atoi(want.c_str() + want.rfind(": ") + 2) : EDOM;
    const std::string output[] = {want, exampleOutput(want), accountOf(want), "",
                                  withLinkSettingsFailing(want, runner.enosys)};
    const int status[] = {1, setUpFailed ? 1 : 0, errnoDue, errnoDue, 1};
    EXPECT_EQ(result.out, output[static_cast<int>(runner.prints)]);
    EXPECT_EQ(result.status, status[static_cast<int>(runner.prints)]);
    if (runner.name == "strace")
        expectFewestCalls(readFile(kTrace), result.out);
    unlink(kTrace.c_str());
}

INSTANTIATE_TEST_SUITE_P(Runs, OutputTest,
                         testing::Combine(testing::ValuesIn(runners()), testing::ValuesIn(kScenarios)),
                         [](const auto &info) {
                             return std::get<0>(info.param).name + "_" + std::get<1>(info.param).name;
                         });

// Rows print %s and %d exactly as printf would, however long the line,
// but for the bytes a name prints escaped.
TEST(PrintLine, FormatsLikePrintfAtAnyLength)
{
    std::string longName; // varied, so that a piece out of place shows
    for (int i = 0; i < 3000; i++)
        longName += static_cast<char>('a' + i % 26);
    EXPECT_EQ(stdoutOf([] { printLine("%s|%d|%d|\n", "tap0:1", -2147483647 - 1, 0); }),
              "tap0:1|-2147483648|0|\n");
    EXPECT_EQ(stdoutOf([&] { printLine("<%s>%d\n", longName.c_str(), 7); }), "<" + longName + ">7\n");
    // Control bytes, the blank and the backslash escaped; UTF-8 and the rest
    // as they are.
    EXPECT_EQ(stdoutOf([] { printLine("%s|\n", "\x01tap0\nifName\x1b[31m\x1f ~\x7f\xc3\xa9\\,:"); }),
              "\\001tap0\\012ifName\\033[31m\\037\\040~\\177\xc3\xa9\\134,:|\n");
    // A name spelling another's escape prints apart from it.
    EXPECT_EQ(stdoutOf([] { printLine("%s %s\n", "a\x01", "a\\001"); }), "a\\001 a\\134001\n");
}

} // namespace
