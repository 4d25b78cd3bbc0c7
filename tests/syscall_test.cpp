// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// The routine's system calls: 3 + 2n socket/ioctl/close for n entries from a
// close-on-exec socket on, and stdout written in as few writes as its
// buffer allows.
#include "support.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <regex>
#include <sstream>

namespace {

using SystemCallTest = ScenarioTest;

struct CallCounts {
    int sinceSocket; // socket, ioctl and close from the socket on
    int writes;      // writes to stdout
};

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

CallCounts countCalls(const std::string &trace)
{
    // close-on-exec from the start, so no child of the host inherits it
    static const std::regex socketCall("^socket\\(AF_INET, SOCK_DGRAM\\|SOCK_CLOEXEC, IPPROTO_IP\\) = \\d+$");
    static const std::regex requestCall("^(socket|ioctl|close)\\(.*");
    CallCounts counts = {0, 0};
    bool opened = false;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        opened = opened || std::regex_match(line, socketCall);
        counts.sinceSocket += opened && std::regex_match(line, requestCall) ? 1 : 0;
        counts.writes += line.rfind("write(1,", 0) == 0 ? 1 : 0;
    }
    return counts;
}

TEST_P(SystemCallTest, FloorOfRequestsAndFewestWrites)
{
    char traceFile[] = "/tmp/ifenum-strace-XXXXXX";
    int fd = mkstemp(traceFile);
    ASSERT_GE(fd, 0);
    close(fd);
    RunResult run = runProgram(
        {IFENUM_STRACE, "-qq", "-e", "trace=socket,ioctl,close,write", "-o", traceFile, IFREPORT_PROGRAM});
    CallCounts counts = countCalls(readFile(traceFile));
    unlink(traceFile);
    ASSERT_EQ(run.out, scenarioGolden(GetParam()));
    int entries = printedCount(run.out);
    EXPECT_EQ(counts.sinceSocket, 3 + 2 * entries);
    size_t buffer = pipeBufferSize();
    EXPECT_EQ(counts.writes, static_cast<int>((run.out.size() + buffer - 1) / buffer));
}

INSTANTIATE_TEST_SUITE_P(Scenarios, SystemCallTest, allScenarios());

} // namespace
