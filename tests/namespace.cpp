#include "namespace.h"

#include <errno.h>
#include <fcntl.h>
#include <sched.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string scenarioSetup(const std::string &name)
{
    return readFile(std::string(IFENUM_SCENARIO_DIR) + "/" + name + ".ip");
}

std::string scenarioGolden(const std::string &name)
{
    return readFile(std::string(IFENUM_SCENARIO_DIR) + "/" + name + ".out");
}

static int statusOf(int wstatus)
{
    return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
}

static std::string drain(int fd)
{
    std::string out;
    char chunk[4096];
    ssize_t n;
    while ((n = read(fd, chunk, sizeof chunk)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            out.append(chunk, static_cast<size_t>(n));
    return out;
}

RunResult runInChild(const std::function<int()> &fn)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {"pipe failed", -1};
    fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        close(fds[0]);
        close(fds[1]);
        int status = fn();
        fflush(stdout);
        _exit(status);
    }
    close(fds[1]);
    RunResult result{drain(fds[0]), -1};
    close(fds[0]);
    int wstatus = 0;
    if (pid > 0 && waitpid(pid, &wstatus, 0) == pid)
        result.status = statusOf(wstatus);
    return result;
}

RunResult runProgram(const std::vector<std::string> &argv)
{
    return runInChild([&argv] {
        std::vector<char *> args;
        for (const std::string &arg : argv)
            args.push_back(const_cast<char *>(arg.c_str()));
        args.push_back(nullptr);
        execv(args[0], args.data());
        return 127;
    });
}

// Feed the batch to ip in this namespace; its errors go to stderr.
static bool configure(const std::string &ipBatch)
{
    FILE *ip = popen("ip -batch - >&2", "w");
    if (ip == nullptr)
        return false;
    fputs(ipBatch.c_str(), ip);
    return pclose(ip) == 0;
}

void NamespaceTest::enterNamespace(const std::string &ipBatch)
{
    if (unshare(CLONE_NEWNET) != 0) {
        std::string why = std::string("cannot create a network namespace: ") + strerror(errno);
        if (getenv("CI") != nullptr)
            FAIL() << why << " (required under CI)";
        GTEST_SKIP() << why;
    }
    ASSERT_TRUE(configure(ipBatch)) << "ip -batch failed for:\n" << ipBatch;
}
