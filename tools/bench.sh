#!/bin/sh
# Installs what is missing (Google Benchmark and Python among it), builds the benchmarks with the
# `bench` preset and runs them headless: Google Benchmark prints its lines and writes its JSON
# output to build/bench/bench.json, from which tools/bench-table.py prints the result table.
# Extra arguments go to the benchmark (--benchmark_filter=tick picks rows, for one). Takes about
# three minutes.
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
