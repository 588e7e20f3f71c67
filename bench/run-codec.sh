#!/usr/bin/env bash
# Runs the codec benchmark and prints the byte-at-a-time parser and the chunk parser (per read
# size) against the CRC-only floor.
#   bench/run-codec.sh [build-dir]
set -euo pipefail
build=${1:-build}
cmake --build "$build" --target bench_mavlink >/dev/null
out=$("$build/bench/bench_mavlink" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
      --benchmark_format=csv 2>/dev/null)
echo "$out" | awk -F, '
  /"parseStream_median"/          { parse = $6 }
  /"parseChunks\/[0-9]+_median"/ { split($1, name, "[/_]"); read[++n] = name[2]; chunk[n] = $6 }
  /"crcOnly_median"/              { crc = $6 }
  END {
    printf "byte parser          %8.1f MB/s   ratio %5.2f\n", parse / 1e6, crc / parse
    for (i = 1; i <= n; ++i)
      printf "chunks of %-5s      %8.1f MB/s   ratio %5.2f\n", read[i], chunk[i] / 1e6, crc / chunk[i]
    printf "crc only             %8.1f MB/s\n(ratio: crc-only / parser)\n", crc / 1e6
  }'
