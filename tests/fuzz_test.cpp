// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// The routine fuzzed: compiled into this file with its socket, ioctl, close,
// malloc, free, puts and fwrite renamed to this file's, whose answers the
// input decides: a failed set-up, any list length and bytes, each request
// failed, silent or written, each allocation failed or not.  Each call is
// judged against a model of the documented behaviour: the records and their
// block sizes, every printed byte, errno, the requests in their order and
// one close.  Built with libFuzzer (the fuzz preset) or, by any compiler, as
// a program that runs each input file it is given.
#include <errno.h>
#include <linux/ethtool.h>
#include <linux/sockios.h>
#include <net/if.h>
#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

// The input, a byte at a time; zeros once it is used up.
struct Input {
    const uint8_t *at, *end;
    unsigned take(unsigned n) { return at < end ? *at++ % n : 0; }
    uint32_t word() { return take(256) | take(256) << 8 | take(256) << 16 | (take(256) << 24U); }
    int err() { return 1 + static_cast<int>(take(133)); }
    bool fails() { return take(8) == 7; }     // an allocation or the socket
    unsigned answer() { return take(4) % 3; } // a request: written, silent or failed
};
constexpr unsigned kWritten = 0, kFails = 2;
constexpr int kSocket = 1000; // a descriptor nobody else has

Input actual; // what the routine's calls read
std::string printed, requests;
std::map<void *, size_t> live; // the routine's blocks and their sizes

// A failed judgement: libFuzzer keeps the input.
void expect(bool ok, const std::string &what)
{
    if (!ok) {
        fprintf(stderr, "fuzz_test: %s\n", what.c_str());
        abort();
    }
}

// The list request written from the input: n bytes, then a length.
void writeList(Input *in, ifconf *conf)
{
    unsigned bytes = (in->take(256) | in->take(256) << 8) % 1025;
    for (unsigned i = 0; i < bytes; i++)
        conf->ifc_buf[i] = static_cast<char>(in->take(256));
    conf->ifc_len = in->take(2) != 0 ? static_cast<int>(bytes) : static_cast<int>(in->word());
}

} // namespace

// The routine's C library, answering from the input.
extern "C" {

int fuzzSocket(int domain, int type, int protocol)
{
    requests += "S";
    expect(domain == AF_INET && type == (SOCK_DGRAM | SOCK_CLOEXEC) && protocol == 0, "socket");
    errno = actual.fails() ? actual.err() : 0;
    return errno != 0 ? -1 : kSocket;
}

int fuzzIoctl(int fd, unsigned long request, ...)
{
    va_list args;
    va_start(args, request);
    auto *entry = static_cast<ifreq *>(va_arg(args, void *));
    va_end(args);
    auto *settings = request == SIOCETHTOOL ? reinterpret_cast<ethtool_cmd *>(entry->ifr_data) : nullptr;
    static const std::map<unsigned long, std::string> letters{
        {SIOCGIFCONF, "L"}, {SIOCETHTOOL, "E"}, {SIOCGIFINDEX, "X"}};
    requests += letters.count(request) != 0 ? letters.at(request) : "?";
    expect(fd == kSocket, "ioctl on descriptor " + std::to_string(fd));
    expect(settings == nullptr || (live[settings] == sizeof *settings && settings->cmd == ETHTOOL_GSET),
           "link-settings request without its block");
    unsigned how = actual.answer();
    if (how == kFails)
        errno = actual.err();
    else if (how == kWritten && request == SIOCGIFCONF)
        writeList(&actual, reinterpret_cast<ifconf *>(entry));
    else if (how == kWritten && settings != nullptr)
        ethtool_cmd_speed_set(settings, actual.word());
    else if (how == kWritten)
        entry->ifr_ifindex = static_cast<int>(actual.word());
    return how == kFails ? -1 : 0;
}

int fuzzClose(int fd)
{
    requests += fd == kSocket ? "C" : "?";
    return 0;
}

void *fuzzMalloc(size_t size)
{
    errno = actual.fails() ? ENOMEM : 0;
    void *block = errno != 0 ? nullptr : memset(malloc(size), 0xa5, size); // a byte nobody wrote shows
    if (block != nullptr)
        live[block] = size;
    return block;
}

void fuzzFree(void *block)
{
    live.erase(block);
    free(block);
}

int fuzzPuts(const char *text)
{
    printed += std::string(text) + "\n";
    return 1;
}

size_t fuzzFwrite(const void *data, size_t size, size_t count, FILE *)
{
    printed.append(static_cast<const char *>(data), size * count);
    return count;
}

} // extern "C"

#define socket fuzzSocket
#define ioctl fuzzIoctl
#define close fuzzClose
#define malloc fuzzMalloc
#define free fuzzFree
#define puts fuzzPuts
#define fwrite fuzzFwrite
#include "ethernet_details.cpp"
#include "print_line.cpp"
#undef socket
#undef ioctl
#undef close
#undef malloc
#undef free
#undef puts
#undef fwrite

namespace {

std::string escaped(const std::string &name)
{
    std::string out;
    char escape[5];
    for (unsigned char c : name)
        out += c <= ' ' || c == '\\' || c == 0x7f ? (snprintf(escape, 5, "\\%03o", c), escape)
                                                  : std::string(1, c);
    return out;
}

template <typename... Args> std::string format(const char *fmt, Args... args)
{
    char line[512];
    snprintf(line, sizeof line, fmt, args...);
    return line;
}

// A request's error line for name.
std::string errorLine(const char *request, const std::string &name, const char *what, int err)
{
    return format(
        "Error while querying %s for fetching interface %s %s. Error code : %d SIOCETHTOOL ioctl : \n",
        request, escaped(name).c_str(), what, err);
}

struct Entry {
    std::string name, address;
    int32_t speed, index, error;
};
struct Expected {
    std::vector<Entry> entries;
    std::string printed = "====================== Loading library for fetching ethernet details "
                          "====================== \n",
                requests = "S";
    int err = EDOM;
};

// One entry as documented: name and address text, the link-settings block
// and its request, the index request, the record; a name, address or record
// that cannot be allocated leaves the entry out.
void modelEntry(Input *in, const char *entry, Expected *want)
{
    const auto *addr = reinterpret_cast<const uint8_t *>(entry) + 20; // sin_addr of ifr_addr
    Entry e{{entry, strnlen(entry, 15)}, format("%u.%u.%u.%u", addr[0], addr[1], addr[2], addr[3]), 0, 0, 0};
    if (in->fails() || in->fails()) {
        want->err = ENOMEM;
        return;
    }
    bool block = !in->fails();
    unsigned speed = block ? in->answer() : kFails;
    want->requests += block ? "EX" : "X";
    e.error = !block ? ENOMEM : speed == kFails ? in->err() : 0;
    e.error = e.error == EOPNOTSUPP ? 0 : e.error;
    e.speed = speed == kWritten ? static_cast<int32_t>(in->word()) : 0;
    want->printed += speed == kFails ? errorLine("SIOCETHTOOL", e.name, "speed", e.error) : "";
    unsigned index = in->answer();
    want->printed += index == kFails ? errorLine("SIOCGIFINDEX", e.name, "index", in->err()) : "";
    e.index = index == kWritten ? static_cast<int32_t>(in->word()) : 0;
    if (in->fails()) {
        want->err = ENOMEM;
    } else {
        want->entries.push_back(e);
        want->printed +=
            format("INTERFACE DETAILS ==> Name : %s, IpAddress : %s, Index : %d, Bandwidth : %d, "
                   "ifErrorCode : %d, \n",
                   escaped(e.name).c_str(), e.address.c_str(), e.index, e.speed, e.error);
    }
    want->printed += "Releasing resources.\n";
}

// The whole call as documented, from the same input.
Expected model(Input in)
{
    Expected want;
    if (in.fails()) {
        want.err = in.err();
        want.printed += format("Error while fetching socket handle, Error code : %d\n", want.err);
        return want;
    }
    char area[1024] = {};
    ifconf conf{1024, {area}};
    unsigned list = in.answer();
    want.requests += "L";
    if (list == kFails)
        want.err = in.err();
    if (list == kFails)
        want.printed +=
            format("Error while querying SIOCGIFCONF for interface list, Error code : %d\n", want.err);
    if (list == kWritten)
        writeList(&in, &conf);
    int count = 0;
    while (list != kFails && count < std::clamp(conf.ifc_len, 0, 1024) / 40 && area[40 * count] != 0)
        count++;
    want.printed += list == kFails ? "" : format("Number of interfaces : %d\n", count);
    for (int i = 0; i < count; i++)
        modelEntry(&in, area + 40 * i, &want);
    want.printed += list == kFails ? "" : "Releasing socket resources.\n";
    want.requests += "C";
    return want;
}

// The list against the model, each block at exactly its size; then freed.
void judgeList(EthernetDetails *list, const std::vector<Entry> &want)
{
    size_t n = 0;
    for (; list != nullptr; n++) {
        const Entry &e = want.at(n);
        expect(e.name == list->ifName && e.address == list->ifIpAddress && e.index == list->ifIndex &&
                   e.speed == list->ifSpeed && e.error == list->ifErrorCode && live[list] == sizeof *list &&
                   live[list->ifName] == e.name.size() + 1 && live[list->ifIpAddress] == e.address.size() + 1,
               "record " + std::to_string(n) + " or its block sizes");
        EthernetDetails *next = list->ifNext;
        for (void *block : {static_cast<void *>(list->ifName), static_cast<void *>(list->ifIpAddress),
                            static_cast<void *>(list)})
            fuzzFree(block);
        list = next;
    }
    expect(n == want.size(), "the list ends after " + std::to_string(n));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    actual = {data, data + size};
    printed.clear();
    requests.clear();
    live.clear();
    const Expected want = model(actual);
    errno = EDOM;
    EthernetDetails *list = getEthernetDetails();
    const int err = errno;
    judgeList(list, want.entries);
    expect(printed == want.printed, "printed:\n" + printed + "--- wanted:\n" + want.printed);
    expect(err == want.err, format("errno %d, wanted %d", err, want.err));
    expect(requests == want.requests, "requests " + requests + ", wanted " + want.requests);
    expect(live.empty(), "blocks left allocated");
    return 0;
}

#ifndef IFENUM_LIBFUZZER
// Without libFuzzer: each file named is one input, as libFuzzer runs it.
int main(int argc, char **argv)
{
    for (int i = 1; i < argc; i++) {
        std::ifstream file(argv[i], std::ios::binary);
        expect(file.is_open(), argv[i]);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    }
    printf("%d inputs as the model says\n", argc - 1);
    return 0;
}
#endif
