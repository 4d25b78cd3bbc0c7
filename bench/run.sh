#!/usr/bin/env bash
# Build and run the benchmarks (as root: they make network namespaces), print
# the table of figures and ratios, and redraw docs/benchmarks.png.
# Extra arguments go to Google Benchmark, e.g. --benchmark_repetitions=5.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v hyperfine >/dev/null || ! command -v gnuplot >/dev/null; then
  bash .ci/deps
  apt-get install -y -qq --no-install-recommends hyperfine gnuplot-nox >/dev/null
fi
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=RelWithDebInfo -DIFENUM_BENCH=ON -DIFENUM_TESTS=OFF >/dev/null
cmake --build build-bench -j2 >/dev/null
build-bench/bench/ifenum_bench --data=build-bench/bench.dat --hyperfine "$@" 2>build-bench/bench.log
if command -v gnuplot >/dev/null; then
  gnuplot -e "data='build-bench/bench.dat'; output='docs/benchmarks.png'" bench/plot.gp
  echo "plot: docs/benchmarks.png"
fi
