// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// What the routine is measured against: its system-call floor, and what a
// user would write instead with getifaddrs(3).
#pragma once

#include "ifenum.h"

// The routine's socket/ioctl/close sequence alone: no allocation, no output.
// Returns the entry count, or -1.
int enumerateFloor();

// getifaddrs for the IPv4 entries, then SIOCETHTOOL and if_nametoindex for
// each, building the same records.
EthernetDetails *enumerateWithGetifaddrs();
