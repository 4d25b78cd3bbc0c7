// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
#include "alternatives.h"

#include <arpa/inet.h>
#include <errno.h>
#include <ifaddrs.h>
#include <linux/ethtool.h>
#include <linux/sockios.h>
#include <net/if.h>
#include <netinet/in.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

int enumerateFloor()
{
    int sock = socket(AF_INET, SOCK_DGRAM, 0);
    if (sock < 0)
        return -1;
    struct ifreq entries[25];
    struct ifconf conf;
    conf.ifc_len = sizeof entries;
    conf.ifc_req = entries;
    int count =
        ioctl(sock, SIOCGIFCONF, &conf) < 0 ? -1 : conf.ifc_len / static_cast<int>(sizeof(struct ifreq));
    for (int i = 0; i < count; i++) {
        struct ethtool_cmd settings = {};
        settings.cmd = ETHTOOL_GSET;
        entries[i].ifr_data = reinterpret_cast<char *>(&settings);
        ioctl(sock, SIOCETHTOOL, &entries[i]);
        ioctl(sock, SIOCGIFINDEX, &entries[i]);
    }
    close(sock);
    return count;
}

// Link speed of name through SIOCETHTOOL; error code as the routine keeps it.
static void querySpeed(int sock, const char *name, EthernetDetails *record)
{
    struct ethtool_cmd settings = {};
    settings.cmd = ETHTOOL_GSET;
    struct ifreq request = {};
    strncpy(request.ifr_name, name, IFNAMSIZ - 1);
    request.ifr_data = reinterpret_cast<char *>(&settings);
    if (ioctl(sock, SIOCETHTOOL, &request) == 0)
        record->ifSpeed = static_cast<int32_t>(ethtool_cmd_speed(&settings));
    else if (errno != EOPNOTSUPP)
        record->ifErrorCode = errno;
}

static EthernetDetails *recordFor(int sock, const struct ifaddrs *entry)
{
    auto *record = static_cast<EthernetDetails *>(calloc(1, sizeof(EthernetDetails)));
    char address[INET_ADDRSTRLEN];
    const auto *in = reinterpret_cast<const struct sockaddr_in *>(entry->ifa_addr);
    inet_ntop(AF_INET, &in->sin_addr, address, sizeof address);
    record->ifName = strdup(entry->ifa_name);
    record->ifIpAddress = strdup(address);
    querySpeed(sock, entry->ifa_name, record);
    record->ifIndex = static_cast<int32_t>(if_nametoindex(entry->ifa_name));
    return record;
}

EthernetDetails *enumerateWithGetifaddrs()
{
    struct ifaddrs *all = nullptr;
    if (getifaddrs(&all) != 0)
        return nullptr;
    int sock = socket(AF_INET, SOCK_DGRAM, 0);
    EthernetDetails *head = nullptr, **tail = &head;
    for (const struct ifaddrs *entry = all; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        *tail = recordFor(sock, entry);
        tail = &(*tail)->ifNext;
    }
    close(sock);
    freeifaddrs(all);
    return head;
}
