// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The ifenum authors
// Test support: programs and functions run with their stdout captured.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Output and exit status of one run.
struct RunResult {
    std::string out;
    int status; // exit status, or 128 + signal
};

// Run fn in a forked child with stdout captured; its return is the status.
RunResult runInChild(const std::function<int()> &fn);

// Run argv with stdout captured.
RunResult runProgram(const std::vector<std::string> &argv);

// Replace this process with argv; 127 if it cannot.
int execute(const std::vector<std::string> &argv);

// What fn writes to stdout.
std::string stdoutOf(const std::function<void()> &fn);

// Run fn with stdout sent to /dev/null.
void quietly(const std::function<void()> &fn);

// Whatever a shell command prints on stdout.
std::string commandOutput(const std::string &command);

// A whole file; empty if it cannot be read.
std::string readFile(const std::string &path);
