// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// Time per call of the routine as shipped (a), its system-call floor (b) and
// the getifaddrs alternative (c) in namespaces of 1, 8 and 25 entries; then
// ifreport against `ip -4 -o addr show` as whole processes.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <stdio.h>
#include <string.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "alternatives.h"

namespace {

const int kSizes[] = {1, 8, 25};
std::map<int, int> namespaceOf; // entry count -> namespace descriptor
EthernetDetails *(*routine)();

// A new namespace holding lo and entries - 1 bridges and veths with addresses.
int makeNamespace(int entries)
{
    if (unshare(CLONE_NEWNET) != 0)
        return -1;
    std::string batch = "link set lo up\n";
    for (int i = 1; i < entries; i++) {
        std::string dev = (i % 2 ? "br" : "ve") + std::to_string(i);
        batch += i % 2 ? "link add " + dev + " type bridge\n"
                       : "link add " + dev + " type veth peer name vp" + std::to_string(i) + "\n";
        batch += "addr add 10.7." + std::to_string(i) + ".1/24 dev " + dev + "\n";
    }
    FILE *ip = popen("ip -batch - >&2", "w");
    if (ip == nullptr)
        return -1;
    fputs(batch.c_str(), ip);
    if (pclose(ip) != 0)
        return -1;
    return open("/proc/self/ns/net", O_RDONLY);
}

void enter(benchmark::State &state)
{
    setns(namespaceOf[static_cast<int>(state.range(0))], CLONE_NEWNET);
}

void routineAsShipped(benchmark::State &state)
{
    enter(state);
    for (auto _ : state)
        freeEthernetDetails(routine());
}

void systemCallFloor(benchmark::State &state)
{
    enter(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(enumerateFloor());
}

void getifaddrsAlternative(benchmark::State &state)
{
    enter(state);
    for (auto _ : state)
        freeEthernetDetails(enumerateWithGetifaddrs());
}

BENCHMARK(routineAsShipped)->Arg(1)->Arg(8)->Arg(25);
BENCHMARK(systemCallFloor)->Arg(1)->Arg(8)->Arg(25);
BENCHMARK(getifaddrsAlternative)->Arg(1)->Arg(8)->Arg(25);

// Keeps every run's time per call, in microseconds, for the ratio table.
class Collector : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> micros;
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name == "median")
                micros[run.run_name.str()] = run.GetAdjustedRealTime() * 1e-3;
    }
};

// Wall time of one run of argv with stdout to /dev/null, in milliseconds.
// posix_spawn, so that the size of this process does not weigh on the child.
double timeProcess(const char *const *argv)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    timespec start, end;
    clock_gettime(CLOCK_MONOTONIC, &start);
    pid_t pid = -1;
    int status = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, const_cast<char *const *>(argv), environ) == 0)
        waitpid(pid, &status, 0);
    clock_gettime(CLOCK_MONOTONIC, &end);
    posix_spawn_file_actions_destroy(&actions);
    return static_cast<double>(end.tv_sec - start.tv_sec) * 1e3 +
           static_cast<double>(end.tv_nsec - start.tv_nsec) * 1e-6;
}

// Peak resident memory of one run of argv, in KiB.  A forked child, whose
// memory before exec is only what it touches of this process's.
long peakMemory(const char *const *argv)
{
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execvp(argv[0], const_cast<char *const *>(argv));
        _exit(127);
    }
    int status;
    rusage usage = {};
    wait4(pid, &status, 0, &usage);
    return usage.ru_maxrss;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// ifreport and ip in turn, rounds times each, in the 25-entry namespace;
// /bin/true beside them shows what starting any libc program costs here.
void compareProcesses(FILE *out, const char *ifreport, int rounds)
{
    setns(namespaceOf[25], CLONE_NEWNET);
    const char *const ours[] = {ifreport, nullptr};
    const char *const ip[] = {"ip", "-4", "-o", "addr", "show", nullptr};
    const char *const startOnly[] = {"/bin/true", nullptr};
    const char *const *const commands[] = {ours, ip, startOnly};
    std::vector<double> millis[3];
    long peakKiB[3] = {0, 0, 0};
    for (int i = 0; i < rounds; i++)
        for (int c = 0; c < 3; c++) {
            millis[c].push_back(timeProcess(commands[c]));
            peakKiB[c] = std::max(peakKiB[c], peakMemory(commands[c]));
        }
    fprintf(out, "\nWhole process, 25 entries, %d alternating runs each (median wall time, peak RSS)\n",
            rounds);
    const char *const names[] = {"ifreport", "ip -4 -o addr show", "/bin/true (start-up floor)"};
    for (int c = 0; c < 3; c++)
        fprintf(out, "  %-26s %8.3f ms  %6ld KiB\n", names[c], median(millis[c]), peakKiB[c]);
    fprintf(out, "  %-26s %8.2f     %6.2f\n", "ifreport / ip", median(millis[0]) / median(millis[1]),
            static_cast<double>(peakKiB[0]) / static_cast<double>(peakKiB[1]));
}

// hyperfine's own view of the same two commands, as a cross-check.
void crossCheckWithHyperfine(FILE *out, const char *ifreport)
{
    setns(namespaceOf[25], CLONE_NEWNET);
    std::string command = std::string("hyperfine -N -i --style basic --warmup 10 --runs 100 --output=null ") +
                          ifreport + " 'ip -4 -o addr show' >&2";
    fprintf(out, "\nhyperfine, same namespace (not alternating):\n");
    fflush(out);
    int saved = dup(STDERR_FILENO);
    dup2(fileno(out), STDERR_FILENO);
    if (system(command.c_str()) != 0)
        fprintf(out, "  (hyperfine not available)\n");
    dup2(saved, STDERR_FILENO);
    close(saved);
}

// The figures and ratios per entry count; also as plain data when asked.
void printTable(FILE *out, Collector &runs, const char *dataPath)
{
    FILE *data = dataPath ? fopen(dataPath, "w") : nullptr;
    fprintf(out, "\nTime per call (us); a = routine as shipped, b = system-call floor, c = getifaddrs\n");
    fprintf(out, "  entries         a          b          c     a/b     c/a\n");
    for (int n : kSizes) {
        std::string arg = "/" + std::to_string(n);
        double a = runs.micros["routineAsShipped" + arg], b = runs.micros["systemCallFloor" + arg],
               c = runs.micros["getifaddrsAlternative" + arg];
        fprintf(out, "  %7d %9.2f  %9.2f  %9.2f  %6.2f  %6.2f\n", n, a, b, c, a / b, c / a);
        if (data != nullptr)
            fprintf(data, "%d %.3f %.3f %.3f\n", n, a, b, c);
    }
    if (data != nullptr)
        fclose(data);
}

// Our own flags, taken out before the benchmark library sees the rest.
const char *takeFlag(int *argc, char **argv, const char *prefix)
{
    for (int i = 1; i < *argc; i++)
        if (strncmp(argv[i], prefix, strlen(prefix)) == 0) {
            const char *value = argv[i] + strlen(prefix);
            std::copy(argv + i + 1, argv + *argc, argv + i);
            --*argc;
            return value;
        }
    return nullptr;
}

} // namespace

int main(int argc, char **argv)
{
    const char *dataPath = takeFlag(&argc, argv, "--data=");
    const char *rounds = takeFlag(&argc, argv, "--rounds=");
    bool hyperfine = takeFlag(&argc, argv, "--hyperfine") != nullptr;
    void *lib = dlopen(IFENUM_LIBRARY, RTLD_NOW);
    routine = lib ? reinterpret_cast<EthernetDetails *(*)()>(dlsym(lib, "getEthernetDetails")) : nullptr;
    if (routine == nullptr) {
        fprintf(stderr, "ifenum_bench: cannot load %s\n", IFENUM_LIBRARY);
        return 2;
    }
    // Without namespaces there is nothing to measure: the test runner
    // counts status 77 as skipped, like the suite's namespace tests.
    if (unshare(CLONE_NEWNET) != 0) {
        printf("skipped: cannot create a network namespace: %s\n", strerror(errno));
        return 77;
    }
    for (int n : kSizes)
        namespaceOf[n] = makeNamespace(n);
    if (namespaceOf[1] < 0 || namespaceOf[8] < 0 || namespaceOf[25] < 0) {
        fprintf(stderr, "ifenum_bench: the namespaces could not be built\n");
        return 2;
    }
    // The routine's account goes to /dev/null; our report to the real stdout.
    FILE *out = fdopen(dup(STDOUT_FILENO), "w");
    int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    benchmark::Initialize(&argc, argv);
    Collector collector;
    collector.SetOutputStream(&std::cerr);
    collector.SetErrorStream(&std::cerr);
    benchmark::RunSpecifiedBenchmarks(&collector);
    printTable(out, collector, dataPath);
    compareProcesses(out, IFREPORT_PROGRAM, rounds ? atoi(rounds) : 60);
    if (hyperfine)
        crossCheckWithHyperfine(out, IFREPORT_PROGRAM);
    fclose(out);
    return 0;
}
