#!/usr/bin/env bash
# Runs the codec benchmark and prints the parser's throughput against the CRC-only floor.
#   bench/run-codec.sh [build-dir]
set -euo pipefail
build=${1:-build}
cmake --build "$build" --target bench_mavlink >/dev/null
out=$("$build/bench/bench_mavlink" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
      --benchmark_format=csv 2>/dev/null)
echo "$out" | awk -F, '
  /"parseStream_median"/ { parse = $6 }
  /"crcOnly_median"/     { crc = $6 }
  END {
    printf "parser   %8.1f MB/s\ncrc only %8.1f MB/s\nratio    %8.2f (crc-only / parser)\n",
           parse / 1e6, crc / 1e6, crc / parse
  }'
