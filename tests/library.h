// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// Test support: the library loaded and called as a program does.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "ifenum.h"
#include "scenario.h"

#include <set>
#include <string>
#include <vector>

using Routine = EthernetDetails *(*)();

// getEthernetDetails from the shared library, looked up by its plain name.
Routine loadRoutine();

// The shared library's exported main.
int (*loadLibraryMain())();

// Call the routine with its account captured into *out.
EthernetDetails *callCapturing(Routine routine, std::string *out);

// Every record of a list against those a run printed, and each index
// against the kernel's unless the interfaces change meanwhile.
testing::AssertionResult matchesRecords(const EthernetDetails *list, const std::vector<Record> &records,
                                        bool againstKernel = true);

// The bracketed values of every dynamic-section line of file tagged tag.
std::set<std::string> dynamicEntries(const std::string &file, const std::string &tag);

// file in the other build whose directory is dir, or "" where it is not built.
std::string builtIn(const char *dir, const std::string &file);

// An architecture the packages list besides this one, built by the cross
// group in a directory of its name and run as qemu-QEMU -L /usr/TRIPLET.
struct Architecture {
    const char *name, *qemu, *triplet;
    int enosys;                   // ENOSYS there, which qemu-user answers the link-settings request with
    std::set<std::string> needed; // the C library, and its loader where the stack guard lives there
};
extern const std::vector<Architecture> kArchitectures;

// ifreport of that build under qemu-user, args passed to qemu first; {""}
// where it is not built.
std::vector<std::string> underQemu(const Architecture &arch, std::vector<std::string> args = {});

// Descriptors this process has open.
int openDescriptors();
