// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
#include "run.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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
        result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    return result;
}

int execute(const std::vector<std::string> &argv)
{
    std::vector<char *> args;
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    return 127;
}

RunResult runProgram(const std::vector<std::string> &argv)
{
    return runInChild([&argv] { return execute(argv); });
}

// Run fn with stdout on fd.
static void redirected(int fd, const std::function<void()> &fn)
{
    fflush(stdout);
    int saved = dup(STDOUT_FILENO);
    dup2(fd, STDOUT_FILENO);
    fn();
    fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
}

std::string stdoutOf(const std::function<void()> &fn)
{
    int sink = memfd_create("captured-stdout", 0);
    redirected(sink, fn);
    lseek(sink, 0, SEEK_SET);
    std::string out = drain(sink);
    close(sink);
    return out;
}

void quietly(const std::function<void()> &fn)
{
    int null = open("/dev/null", O_WRONLY);
    redirected(null, fn);
    close(null);
}

std::string commandOutput(const std::string &command)
{
    return runProgram({"/bin/sh", "-c", command}).out;
}
