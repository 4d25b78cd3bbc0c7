// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
#include "scenario.h"

#include "run.h"

#include <ctype.h>
#include <errno.h>
#include <sched.h>
#include <seccomp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <regex>
#include <sstream>

const std::vector<Scenario> kScenarios = {
    {"no_ipv4", "no_ipv4", {}},
    {"lo_only", "lo_only", {}},
    {"mixed", "mixed", {}},
    {"over_25", "over_25", {}},
    {"socket_emfile", "mixed", {{Call::socket, EMFILE}}},
    {"ifconf_eacces", "mixed", {{Call::ifconf, EACCES}}},
    {"ethtool_eio", "mixed", {{Call::ethtool, EIO}}},
    {"ethtool_enodev", "mixed", {{Call::ethtool, ENODEV}}},
    {"index_enxio", "mixed", {{Call::index, ENXIO}}},
    {"ethtool_eio_index_enodev", "mixed", {{Call::ethtool, EIO}, {Call::index, ENODEV}}},
};

void PrintTo(const Scenario &scenario, std::ostream *os)
{
    *os << scenario.name;
}

bool refuse(const std::vector<Refusal> &refusals)
{
    scmp_filter_ctx filter = seccomp_init(SCMP_ACT_ALLOW);
    bool ok = filter != nullptr;
    for (const Refusal &r : refusals)
        ok = ok && (r.call == Call::socket
                        ? seccomp_rule_add(filter, SCMP_ACT_ERRNO(r.err), SCMP_SYS(socket), 0)
                        : seccomp_rule_add(filter, SCMP_ACT_ERRNO(r.err), SCMP_SYS(ioctl), 1,
                                           SCMP_A1(SCMP_CMP_EQ, static_cast<unsigned long>(r.call)))) == 0;
    ok = ok && seccomp_load(filter) == 0;
    seccomp_release(filter);
    return ok;
}

std::string golden(const std::string &name)
{
    return readFile(IFENUM_SCENARIO_DIR "/" + name + ".out");
}

int printedCount(const std::string &out)
{
    const std::string countLine = "Number of interfaces : ";
    size_t at = out.find(countLine);
    return at == std::string::npos ? -1 : atoi(out.c_str() + at + countLine.size());
}

// The raw bytes of a printed name: each backslash begins three octal digits.
static std::string rawName(const std::string &printed)
{
    std::string raw;
    for (size_t i = 0; i < printed.size(); i++) {
        bool escape = printed[i] == '\\' && i + 3 < printed.size() && isdigit(printed[i + 1]);
        raw += escape ? static_cast<char>(std::stoi(printed.substr(i + 1, 3), nullptr, 8)) : printed[i];
        i += escape ? 3 : 0;
    }
    return raw;
}

std::vector<Record> printedRecords(const std::string &out)
{
    static const std::regex line(
        "INTERFACE DETAILS ==> Name : ([^ ]*), IpAddress : ([0-9.]*), Index : (-?\\d+), "
        "Bandwidth : (-?\\d+), ifErrorCode : (-?\\d+), ");
    std::vector<Record> records;
    std::istringstream lines(out);
    std::smatch m;
    for (std::string text; std::getline(lines, text);)
        if (std::regex_match(text, m, line))
            records.push_back({rawName(m[1]), m[2], std::stoi(m[3]), std::stoi(m[4]), std::stoi(m[5])});
    return records;
}

std::string accountOf(const std::string &out)
{
    std::string account;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("ifName ", 0) != 0)
            account += line + "\n";
    return account;
}

std::string exampleOutput(const std::string &run)
{
    std::string out = accountOf(run);
    char line[128];
    for (const Record &r : printedRecords(run)) {
        snprintf(line, sizeof line, "%-16s %-15s index %d speed %d error %d\n", r.name.c_str(),
                 r.address.c_str(), r.index, r.speed, r.error);
        out += line;
    }
    return out;
}

// Build the namespace: the ip lines through ip -batch, then the command
// lines through the shell (ip cannot set a link speed, and a batch cannot
// hold a control byte).  Errors go to stderr.
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

void NamespaceTest::enterNamespace(const std::string &setup)
{
    if (unshare(CLONE_NEWNET) != 0) {
        SKIP_OR_FAIL(std::string("cannot create a network namespace: ") + strerror(errno));
    }
    std::string batch = readFile(IFENUM_SCENARIO_DIR "/" + setup + ".ip");
    ASSERT_TRUE(configure(batch)) << "namespace set-up failed for:\n" << batch;
}
