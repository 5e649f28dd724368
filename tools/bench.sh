#!/bin/sh
# Installs what is missing (Google Benchmark among it), builds the benchmarks with the `bench`
# preset and runs them headless. Prints Google Benchmark's lines, then the result table: each
# hot path against the floor the platform sets, measured side by side in the same run. Extra
# arguments go to the benchmark (--rows=tick,shots,startup,process,timing,memory picks rows;
# Google Benchmark's own --benchmark_* flags work too). Takes about two minutes.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps.sh libbenchmark-dev
cmake --preset bench >/dev/null
cmake --build --preset bench
QT_QPA_PLATFORM=offscreen build/bench/bench/varkoz_bench "$@"
