// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
#include "support.h"

#include <dirent.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
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

int printedCount(const std::string &out)
{
    const std::string countLine = "Number of interfaces : ";
    size_t at = out.find(countLine);
    return at == std::string::npos ? -1 : atoi(out.c_str() + at + countLine.size());
}

std::string printedName(const char *name)
{
    std::string text;
    for (; *name != '\0'; name++) {
        auto c = static_cast<unsigned char>(*name);
        char escape[5];
        snprintf(escape, sizeof escape, "\\%03o", c);
        text += c < 0x20 || c == 0x7f ? std::string(escape) : std::string(1, *name);
    }
    return text;
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

// Build the namespace: the ip lines of the batch through ip -batch, then its
// command lines, those that start with "ethtool " or "ip ", through the
// shell (ip cannot set a link speed, and a batch cannot hold a control
// byte).  Errors go to stderr.
static bool configure(const std::string &batch)
{
    std::string ipLines, shellLines;
    std::istringstream lines(batch);
    for (std::string line; std::getline(lines, line);) {
        bool command = line.rfind("ethtool ", 0) == 0 || line.rfind("ip ", 0) == 0;
        (command ? shellLines : ipLines) += line + "\n";
    }
    FILE *ip = popen(IFENUM_IP " -batch - >&2", "w");
    if (ip == nullptr)
        return false;
    fputs(ipLines.c_str(), ip);
    if (pclose(ip) != 0)
        return false;
    return shellLines.empty() || system(("set -e\n" + shellLines).c_str()) == 0;
}

void NamespaceTest::enterNamespace(const std::string &ipBatch)
{
    if (unshare(CLONE_NEWNET) != 0) {
        std::string why = std::string("cannot create a network namespace: ") + strerror(errno);
#ifdef IFENUM_REQUIRE_ALL
        FAIL() << why << " (IFENUM_REQUIRE_ALL is on)";
#else
        GTEST_SKIP() << why;
#endif
    }
    ASSERT_TRUE(configure(ipBatch)) << "namespace set-up failed for:\n" << ipBatch;
}

Routine loadRoutine()
{
    void *lib = dlopen(IFENUM_LIBRARY, RTLD_NOW);
    return lib ? reinterpret_cast<Routine>(dlsym(lib, "getEthernetDetails")) : nullptr;
}

int (*loadLibraryMain())()
{
    void *lib = dlopen(IFENUM_LIBRARY, RTLD_NOW);
    return lib ? reinterpret_cast<int (*)()>(dlsym(lib, "main")) : nullptr;
}

RedirectStdout::RedirectStdout(int fd)
{
    fflush(stdout);
    saved_ = dup(STDOUT_FILENO);
    int target = fd >= 0 ? fd : open("/dev/null", O_WRONLY);
    dup2(target, STDOUT_FILENO);
    if (fd < 0)
        close(target);
}

RedirectStdout::~RedirectStdout()
{
    fflush(stdout);
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
}

std::string stdoutOf(const std::function<void()> &fn)
{
    int sink = memfd_create("captured-stdout", 0);
    {
        RedirectStdout redirect(sink);
        fn();
    }
    lseek(sink, 0, SEEK_SET);
    std::string out = drain(sink);
    close(sink);
    return out;
}

EthernetDetails *callCapturing(Routine routine, std::string *out)
{
    EthernetDetails *list = nullptr;
    if (out == nullptr) {
        RedirectStdout quiet;
        return routine();
    }
    *out = stdoutOf([&] { list = routine(); });
    return list;
}

std::string summaryOf(const EthernetDetails *list)
{
    std::string text;
    char line[128];
    for (; list != nullptr; list = list->ifNext) {
        snprintf(line, sizeof line, "ifName %s ifIndex %d ifSpeed %d ifErrorCode : %d \n",
                 printedName(list->ifName).c_str(), list->ifIndex, list->ifSpeed, list->ifErrorCode);
        text += line;
    }
    return text;
}

int openDescriptors()
{
    int count = 0;
    DIR *dir = opendir("/proc/self/fd");
    while (dir != nullptr && readdir(dir) != nullptr)
        count++;
    if (dir != nullptr)
        closedir(dir);
    return count;
}

namespace {

struct Expected {
    const char *name;
    const char *address;
    int speed;
    int error;
};

// What the mixed scenario configures, in the kernel's order.  tap1's speed
// needs both 16-bit halves, the lower one at 32768 or more; its address has
// octets on the digit boundaries.  zyxwvutsrqponml makes the longest row a
// device can: 15-character name and address, and the highest index.  A
// label holding a newline names no device (ENODEV), and a device name
// holding ESC would colour a terminal: both keep their raw bytes here.
const Expected kMixed[] = {
    {"lo", "127.0.0.1", 0, 0},           {"abcdefghijklmno", "192.168.200.250", -1, 0},
    {"v0", "10.1.0.1", 10000, 0},        {"tap0", "10.2.0.1", 10000, 0},
    {"tap0:1", "10.2.0.2", 10000, 0},    {"tap0\nifName X", "10.2.0.3", 0, ENODEV},
    {"tap1", "100.199.99.9", 100000, 0}, {"zyxwvutsrqponml", "192.168.255.254", -1, 0},
    {"e\033[31mX", "10.4.0.1", -1, 0},
};

} // namespace

testing::AssertionResult matchesMixed(const EthernetDetails *list)
{
    for (const Expected &want : kMixed) {
        if (list == nullptr)
            return testing::AssertionFailure() << "list ends before " << want.name;
        if (strcmp(list->ifName, want.name) != 0 || strcmp(list->ifIpAddress, want.address) != 0 ||
            list->ifSpeed != want.speed || list->ifErrorCode != want.error ||
            static_cast<unsigned>(list->ifIndex) != if_nametoindex(want.name))
            return testing::AssertionFailure() << "record differs: " << summaryOf(list);
        list = list->ifNext;
    }
    if (list != nullptr)
        return testing::AssertionFailure() << "extra records: " << summaryOf(list);
    return testing::AssertionSuccess();
}

// Whatever a shell command prints.
std::string commandOutput(const std::string &command)
{
    std::string out;
    FILE *pipe = popen(command.c_str(), "r");
    char chunk[4096];
    size_t n;
    while (pipe != nullptr && (n = fread(chunk, 1, sizeof chunk, pipe)) > 0)
        out.append(chunk, n);
    if (pipe != nullptr)
        pclose(pipe);
    return out;
}

// The bracketed values of every dynamic-section line tagged tag.
std::set<std::string> dynamicEntries(const char *file, const std::string &tag)
{
    std::set<std::string> values;
    std::istringstream lines(commandOutput(std::string("readelf -dW ") + file));
    for (std::string line; std::getline(lines, line);) {
        size_t open = line.find('[');
        if (line.find("(" + tag + ")") != std::string::npos && open != std::string::npos)
            values.insert(line.substr(open + 1, line.find(']') - open - 1));
    }
    return values;
}
