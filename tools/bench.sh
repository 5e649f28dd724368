#!/bin/sh
# Installs what is missing, builds the benchmarks with the `bench` preset, runs them headless into
# build/bench/bench.json and prints the table from it (docs/performance.md). Extra arguments go to
# the benchmark (--benchmark_filter=stall picks rows, for one).
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh libbenchmark-dev python3
cmake --preset bench >/dev/null
cmake --build --preset bench
results="$PWD/build/bench/bench.json"
QT_QPA_PLATFORM=offscreen build/bench/bench/varkoz_bench \
    --benchmark_out="$results" --benchmark_out_format=json "$@"
echo
python3 tools/bench-table.py "$results"
