#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# SPDX-FileCopyrightText: 2026 The ifenum authors
# Build and run the benchmarks (as root: they make network namespaces), print
# the table of figures and ratios, and redraw docs/benchmarks.png.
# Extra arguments go to Google Benchmark, e.g. --benchmark_repetitions=5.
# It installs nothing: `bash .ci/deps bench` brings what it needs.
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in hyperfine gnuplot; do
  command -v "$tool" >/dev/null || { echo "bench/run.sh: $tool is missing: run bash .ci/deps bench" >&2; exit 2; }
done
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-bench -j2 --target ifenum_bench >/dev/null
build-bench/bench/ifenum_bench --data=build-bench/bench.dat --hyperfine "$@" 2>build-bench/bench.log
gnuplot -e "data='build-bench/bench.dat'; output='docs/benchmarks.png'" bench/plot.gp
echo "plot: docs/benchmarks.png"
