// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// The whole output and exit status of every scenario under every runner:
// ifreport, the library's main, the musl build, strace, valgrind and the
// examples; and the message formatter.
#include "library.h"
#include "print_line.h"
#include "run.h"
#include "scenario.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <regex>
#include <sstream>

namespace {

const std::string kTrace = "/tmp/ifenum-strace-" + std::to_string(getpid());

// One way to run the routine.  A runner whose tool or program this build
// lacks (see configure's summary) is left out.
struct Runner {
    std::string name;
    std::vector<std::string> argv; // none: the library's main, in a child
    const char *needs;             // the path it cannot do without
    bool example;                  // prints the example's lines, and exits 0
};

void PrintTo(const Runner &runner, std::ostream *os)
{
    *os << runner.name;
}

std::vector<Runner> runners()
{
    const std::vector<std::string> memcheck = {IFENUM_VALGRIND, "--quiet", "--error-exitcode=3",
                                               "--leak-check=full", "--log-fd=2"};
    std::vector<Runner> all = {
        {"program", {IFREPORT_PROGRAM, "ignored", "--help"}, IFREPORT_PROGRAM, false},
        {"library_main", {}, IFENUM_LIBRARY, false},
        {"musl", {IFENUM_MUSL_PROGRAM}, IFENUM_MUSL_PROGRAM, false},
        {"strace",
         {IFENUM_STRACE, "-qq", "-e", "trace=socket,ioctl,close,write", "-o", kTrace, IFREPORT_PROGRAM},
         IFENUM_STRACE,
         false},
        {"valgrind", memcheck, IFENUM_VALGRIND, false}, // errors count; ifreport leaves its list to exit
        {"example_c", {IFENUM_EXAMPLE_C}, IFENUM_EXAMPLE_C, true},
        {"example_c_valgrind", memcheck, IFENUM_VALGRIND, true}, // a caller that frees loses nothing
        {"example_dlopen", {IFENUM_EXAMPLE_DLOPEN, IFENUM_LIBRARY}, IFENUM_EXAMPLE_DLOPEN, true},
        {"example_python",
         {"/usr/bin/env", "-u", "PYTHONUNBUFFERED", "PYTHONPATH=" IFENUM_SOURCE_DIR "/python", IFENUM_PYTHON,
          IFENUM_SOURCE_DIR "/examples/python/ifenum_list.py", IFENUM_LIBRARY},
         IFENUM_PYTHON,
         true},
    };
    all[4].argv.insert(all[4].argv.end(), {"--errors-for-leak-kinds=none", IFREPORT_PROGRAM});
    all[6].argv.insert(all[6].argv.end(),
                       {"--errors-for-leak-kinds=definite,indirect,possible", IFENUM_EXAMPLE_C});
    std::erase_if(all, [](const Runner &r) { return r.needs[0] == '\0'; });
    return all;
}

// Run the scenario's refusals, then the runner, in a child.  Through the
// library, the socket must be closed on every path: status 99 says the call
// changed the set of open descriptors.
RunResult run(const Runner &runner, const Scenario &scenario)
{
    if (!runner.argv.empty())
        return runInChild([&] {
            if (!refuse(scenario.refusals))
                return 200;
            std::vector<char *> args;
            for (const std::string &arg : runner.argv)
                args.push_back(const_cast<char *>(arg.c_str()));
            args.push_back(nullptr);
            execv(args[0], args.data());
            return 127;
        });
    return runInChild([&] {
        int (*libraryMain)() = loadLibraryMain();
        int before = openDescriptors();
        if (libraryMain == nullptr || !refuse(scenario.refusals))
            return 200;
        int status = libraryMain();
        return openDescriptors() == before ? status : 99;
    });
}

// stdio sizes a stream's buffer by its descriptor's block size; ours is a pipe.
size_t pipeBufferSize()
{
    int fds[2];
    struct stat info = {};
    if (pipe(fds) == 0) {
        fstat(fds[1], &info);
        close(fds[0]);
        close(fds[1]);
    }
    return info.st_blksize > 0 ? static_cast<size_t>(info.st_blksize) : BUFSIZ;
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
    size_t buffer = pipeBufferSize();
    EXPECT_EQ(writes, static_cast<int>((out.size() + buffer - 1) / buffer)) << trace;
}

class OutputTest : public NamespaceTest, public testing::WithParamInterface<std::tuple<Runner, Scenario>> {
  protected:
    void SetUp() override { enterNamespace(std::get<1>(GetParam()).setup); }
};

TEST_P(OutputTest, IsGoldenWithItsStatus)
{
    const auto &[runner, scenario] = GetParam();
    RunResult result = run(runner, scenario);
    const bool setUpFailed = printedCount(golden(scenario.name)) < 0;
    EXPECT_EQ(result.out, runner.example ? exampleOutput(scenario.name) : golden(scenario.name));
    EXPECT_EQ(result.status, runner.example && !setUpFailed ? 0 : 1);
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
// but for control bytes in a string.
TEST(PrintLine, FormatsLikePrintfAtAnyLength)
{
    std::string longName(3000, 'n');
    EXPECT_EQ(stdoutOf([] { printLine("%s|%d|%d|\n", "tap0:1", -2147483647 - 1, 0); }),
              "tap0:1|-2147483648|0|\n");
    EXPECT_EQ(stdoutOf([&] { printLine("<%s>%d\n", longName.c_str(), 7); }), "<" + longName + ">7\n");
    // Control bytes escaped, UTF-8 and the rest as they are.
    EXPECT_EQ(stdoutOf([] { printLine("%s|\n", "\x01tap0\nifName\x1b[31m\x1f ~\x7f\xc3\xa9\\"); }),
              "\\001tap0\\012ifName\\033[31m\\037 ~\\177\xc3\xa9\\|\n");
}

} // namespace
