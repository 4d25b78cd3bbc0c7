// getEthernetDetails: the kernel's IPv4 interface entries as a list.
#include "ifenum.h"
#include "print_line.h"

#include <errno.h>
#include <linux/ethtool.h>
#include <linux/sockios.h>
#include <net/if.h>
#include <netinet/in.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kListBytes = 1024;

// What one entry's requests found, before it becomes a record.
struct EntryState {
    int32_t speed;
    int32_t index;
    int32_t errorCode;
};

// The head and the tail of the list being built.
struct ListBuilder {
    EthernetDetails *head;
    EthernetDetails *last;
};

// A malloc'ed copy of len bytes of text, terminated; NULL if out of memory.
char *copyText(const char *text, size_t len)
{
    char *copy = static_cast<char *>(malloc(len + 1));
    if (copy == nullptr)
        return nullptr;
    memcpy(copy, text, len);
    copy[len] = '\0';
    return copy;
}

// The name field is 16 bytes; never trust it to hold a terminator.
char *copyName(const struct ifreq *entry)
{
    return copyText(entry->ifr_name, strnlen(entry->ifr_name, IFNAMSIZ));
}

// Dotted-decimal text of an IPv4 address, as inet_ntoa writes it, into
// text[16]; its length.  Reentrant, and a tenth of inet_ntoa's cost.
size_t formatAddress(struct in_addr address, char *text)
{
    const auto *octet = reinterpret_cast<const unsigned char *>(&address.s_addr);
    size_t n = 0;
    for (int i = 0; i < 4; i++) {
        unsigned value = octet[i];
        if (value >= 100)
            text[n++] = static_cast<char>('0' + value / 100);
        if (value >= 10)
            text[n++] = static_cast<char>('0' + value / 10 % 10);
        text[n++] = static_cast<char>('0' + value % 10);
        text[n++] = '.';
    }
    text[--n] = '\0';
    return n;
}

// Read the address before the union is reused for the later requests.
char *copyAddress(const struct ifreq *entry)
{
    struct sockaddr_in addr;
    memcpy(&addr, &entry->ifr_addr, sizeof addr);
    char text[16];
    size_t len = formatAddress(addr.sin_addr, text);
    return copyText(text, len);
}

// Both 16-bit halves unsigned, stored as a signed 32-bit value.
int32_t linkSpeed(const struct ethtool_cmd *settings)
{
    return static_cast<int32_t>(ethtool_cmd_speed(settings));
}

// Record a failed link-settings request; EOPNOTSUPP is no error.
void noteSpeedFailure(EntryState *state, const char *name, int err)
{
    if (err != EOPNOTSUPP)
        state->errorCode = err;
    printLine("Error while querying SIOCETHTOOL for fetching interface %s speed. "
              "Error code : %d SIOCETHTOOL ioctl : \n",
              name, state->errorCode);
}

// SIOCETHTOOL (ETHTOOL_GSET) through the entry's own request block.
void querySpeed(int sock, struct ifreq *entry, struct ethtool_cmd *settings, EntryState *state,
                const char *name)
{
    if (settings == nullptr) {
        noteSpeedFailure(state, name, ENOMEM);
        return;
    }
    settings->cmd = ETHTOOL_GSET;
    entry->ifr_data = reinterpret_cast<char *>(settings);
    if (ioctl(sock, SIOCETHTOOL, entry) < 0) {
        int err = errno;
        noteSpeedFailure(state, name, err);
        return;
    }
    state->speed = linkSpeed(settings);
}

// SIOCGIFINDEX on the same entry; its name is still intact.
void queryIndex(int sock, struct ifreq *entry, EntryState *state, const char *name)
{
    if (ioctl(sock, SIOCGIFINDEX, entry) < 0) {
        int err = errno;
        printLine("Error while querying SIOCGIFINDEX for fetching interface %s index. "
                  "Error code : %d SIOCETHTOOL ioctl : \n",
                  name, err);
        return;
    }
    state->index = entry->ifr_ifindex;
}

// A zero-filled record holding the entry's strings and findings.
EthernetDetails *newRecord(char *name, char *address, const EntryState *state)
{
    auto *record = static_cast<EthernetDetails *>(malloc(sizeof(EthernetDetails)));
    if (record == nullptr)
        return nullptr;
    memset(record, 0, sizeof *record);
    record->ifName = name;
    record->ifSpeed = state->speed;
    record->ifIndex = state->index;
    record->ifErrorCode = state->errorCode;
    record->ifIpAddress = address;
    record->ifNext = nullptr;
    return record;
}

// Append at the tail, keeping kernel order.
void appendRecord(ListBuilder *list, EthernetDetails *record)
{
    if (list->head == nullptr)
        list->head = record;
    else
        list->last->ifNext = record;
    list->last = record;
}

// The progress line for a record just appended.
void printRecord(const EthernetDetails *record)
{
    printLine("INTERFACE DETAILS ==> "
              "Name : %s, "
              "IpAddress : %s, "
              "Index : %d, "
              "Bandwidth : %d, "
              "ifErrorCode : %d, "
              "\n",
              record->ifName, record->ifIpAddress, record->ifIndex, record->ifSpeed, record->ifErrorCode);
}

// Query one entry and append its record; an entry whose strings or record
// cannot be allocated is left out with everything it had allocated freed.
void addEntry(int sock, struct ifreq *entry, ListBuilder *list)
{
    EntryState state = {0, 0, 0};
    char *name = copyName(entry);
    if (name == nullptr)
        return;
    char *address = copyAddress(entry);
    if (address == nullptr) {
        free(name);
        return;
    }
    auto *settings = static_cast<struct ethtool_cmd *>(malloc(sizeof(struct ethtool_cmd)));
    querySpeed(sock, entry, settings, &state, name);
    queryIndex(sock, entry, &state, name);
    EthernetDetails *record = newRecord(name, address, &state);
    if (record != nullptr) {
        appendRecord(list, record);
        printRecord(record);
    } else {
        free(name);
        free(address);
    }
    puts("Releasing resources.");
    free(settings);
}

// SIOCGIFCONF into the caller's buffer; the entry count, or minus errno.
int listEntries(int sock, struct ifconf *conf, char *buffer)
{
    conf->ifc_len = kListBytes;
    conf->ifc_buf = buffer;
    if (ioctl(sock, SIOCGIFCONF, conf) < 0)
        return -errno;
    return conf->ifc_len / static_cast<int>(sizeof(struct ifreq));
}

} // namespace

extern "C" EthernetDetails *getEthernetDetails(void)
{
    puts("====================== Loading library for fetching ethernet details "
         "====================== ");
    int sock = socket(AF_INET, SOCK_DGRAM, 0);
    if (sock < 0) {
        int err = errno;
        printLine("Error while fetching socket handle, Error code : %d\n", err);
        return nullptr;
    }
    alignas(struct ifreq) char buffer[kListBytes];
    struct ifconf conf;
    int count = listEntries(sock, &conf, buffer);
    if (count < 0) {
        printLine("Error while querying SIOCGIFCONF for interface list, Error code : %d\n", -count);
        close(sock);
        return nullptr;
    }
    printLine("Number of interfaces : %d\n", count);
    ListBuilder list = {nullptr, nullptr};
    for (int i = 0; i < count; i++)
        addEntry(sock, &conf.ifc_req[i], &list);
    puts("Releasing socket resources.");
    close(sock);
    return list.head;
}
