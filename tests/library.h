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

// Call the routine with its account captured into *out, or dropped when out is null.
EthernetDetails *callCapturing(Routine routine, std::string *out);

// Every record of a list against those a run printed, and each index
// against the kernel's unless the interfaces change meanwhile.
testing::AssertionResult matchesRecords(const EthernetDetails *list, const std::vector<Record> &records,
                                        bool againstKernel = true);

// The bracketed values of every dynamic-section line of file tagged tag.
std::set<std::string> dynamicEntries(const std::string &file, const std::string &tag);

// Descriptors this process has open.
int openDescriptors();
