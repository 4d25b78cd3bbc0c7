// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
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

constexpr size_t kListBytes = 1024;

// The interface list as the kernel writes it: whole entries over 1024 bytes.
union EntryList {
    struct ifreq entries[kListBytes / sizeof(struct ifreq)];
    char bytes[kListBytes];
};
static_assert(sizeof(EntryList) == kListBytes, "the list area is 1024 bytes");

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

// The name field is 16 bytes; never trust it to hold a terminator, and
// keep the record's promise of at most 15 characters.
char *copyName(const struct ifreq *entry)
{
    return copyText(entry->ifr_name, strnlen(entry->ifr_name, IFNAMSIZ - 1));
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
void noteSpeedFailure(EthernetDetails *found, int err)
{
    if (err != EOPNOTSUPP)
        found->ifErrorCode = err;
    printLine("Error while querying SIOCETHTOOL for fetching interface %s speed. "
              "Error code : %d SIOCETHTOOL ioctl : \n",
              found->ifName, found->ifErrorCode);
}

// SIOCETHTOOL (ETHTOOL_GSET) through the entry's own request block.
void querySpeed(int sock, struct ifreq *entry, struct ethtool_cmd *settings, EthernetDetails *found)
{
    if (settings == nullptr) {
        noteSpeedFailure(found, ENOMEM);
        return;
    }
    memset(settings, 0, sizeof *settings); // a silent success then reads speed 0
    settings->cmd = ETHTOOL_GSET;
    entry->ifr_data = reinterpret_cast<char *>(settings);
    if (ioctl(sock, SIOCETHTOOL, entry) < 0) {
        int err = errno;
        noteSpeedFailure(found, err);
        return;
    }
    found->ifSpeed = linkSpeed(settings);
}

// SIOCGIFINDEX on the same entry; its name is still intact, and the index
// field is cleared of the link-settings pointer so that a silent success
// reads 0.
void queryIndex(int sock, struct ifreq *entry, EthernetDetails *found)
{
    entry->ifr_ifindex = 0;
    if (ioctl(sock, SIOCGIFINDEX, entry) < 0) {
        int err = errno;
        printLine("Error while querying SIOCGIFINDEX for fetching interface %s index. "
                  "Error code : %d SIOCETHTOOL ioctl : \n",
                  found->ifName, err);
        return;
    }
    found->ifIndex = entry->ifr_ifindex;
}

// The heap record of what was found: a byte copy, so its padding is as
// zero as the found record's.
EthernetDetails *newRecord(const EthernetDetails *found)
{
    auto *record = static_cast<EthernetDetails *>(malloc(sizeof(EthernetDetails)));
    if (record != nullptr)
        memcpy(record, found, sizeof *record);
    return record;
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

// Query one entry and link its record at *tail; the new tail.  An entry
// whose strings or record cannot be allocated is left out, with everything
// it had allocated freed, and the tail stays where it was.
EthernetDetails **addEntry(int sock, struct ifreq *entry, EthernetDetails **tail)
{
    EthernetDetails found;
    memset(&found, 0, sizeof found);
    found.ifName = copyName(entry);
    found.ifIpAddress = found.ifName != nullptr ? copyAddress(entry) : nullptr;
    if (found.ifIpAddress == nullptr) {
        free(found.ifName);
        return tail;
    }
    auto *settings = static_cast<struct ethtool_cmd *>(malloc(sizeof(struct ethtool_cmd)));
    querySpeed(sock, entry, settings, &found);
    queryIndex(sock, entry, &found);
    EthernetDetails *record = newRecord(&found);
    if (record != nullptr) {
        *tail = record;
        tail = &record->ifNext;
        printRecord(record);
    } else {
        free(found.ifName);
        free(found.ifIpAddress);
    }
    puts("Releasing resources.");
    free(settings);
    return tail;
}

// Whole entries in the length the kernel wrote back, bounded by the area:
// an emulator or an interposed ioctl may answer any length at all.  The
// kernel writes its entries one after another and never an empty name, so
// the entries end at the first empty name: a silent answer lists none.
int entryCount(const EntryList *list, int length)
{
    if (length <= 0)
        return 0;
    size_t bytes = static_cast<size_t>(length) < kListBytes ? static_cast<size_t>(length) : kListBytes;
    int count = 0;
    while (count < static_cast<int>(bytes / sizeof(struct ifreq)) && list->entries[count].ifr_name[0] != '\0')
        count++;
    return count;
}

// SIOCGIFCONF into the call's list area, zeroed first so that no byte the
// kernel did not write is read as an entry; false, with errno, on failure.
bool listEntries(int sock, EntryList *list, int *count)
{
    memset(list, 0, sizeof *list);
    struct ifconf conf;
    conf.ifc_len = sizeof list->bytes;
    conf.ifc_buf = list->bytes;
    if (ioctl(sock, SIOCGIFCONF, &conf) < 0)
        return false;
    *count = entryCount(list, conf.ifc_len);
    return true;
}

// The whole call but for errno: the list, and in *err the errno to leave:
// that of a failed set-up, or ENOMEM when an entry was left out.
EthernetDetails *enumerate(int *err)
{
    puts("====================== Loading library for fetching ethernet details "
         "====================== ");
    int sock = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (sock < 0) {
        *err = errno;
        printLine("Error while fetching socket handle, Error code : %d\n", *err);
        return nullptr;
    }
    EntryList list;
    int count = 0;
    if (!listEntries(sock, &list, &count)) {
        *err = errno;
        printLine("Error while querying SIOCGIFCONF for interface list, Error code : %d\n", *err);
        close(sock);
        return nullptr;
    }
    printLine("Number of interfaces : %d\n", count);
    EthernetDetails *head = nullptr, **tail = &head;
    for (int i = 0; i < count; i++) {
        EthernetDetails **next = addEntry(sock, &list.entries[i], tail);
        if (next == tail)
            *err = ENOMEM;
        tail = next;
    }
    puts("Releasing socket resources.");
    close(sock);
    return head;
}

} // namespace

// errno on return is the printed error of a failed set-up, ENOMEM when an
// entry was left out for want of memory, and otherwise what the caller left
// in it.
extern "C" EthernetDetails *getEthernetDetails(void)
{
    int callerErrno = errno;
    int err = 0;
    EthernetDetails *head = enumerate(&err);
    errno = err != 0 ? err : callerErrno;
    return head;
}
