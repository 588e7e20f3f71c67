#!/usr/bin/env bash
# Runs the codec benchmark and prints, for the report stream, the v2 status stream and the gimbal
# manager's stream, the byte-at-a-time parser and the chunk parser (per read size) in MB/s and ns a
# byte, against the CRC-only floor; the v2 stream's cost per byte against the report stream's; and
# the manager stream's cost per byte against the v2 stream's, parsed alone and parsed and decoded.
#   bench/run-codec.sh [build-dir]
set -euo pipefail
build=${1:-build}
cmake --build "$build" --target bench_mavlink >/dev/null
out=$("$build/bench/bench_mavlink" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
      --benchmark_format=csv 2>/dev/null)
echo "$out" | awk -F, '
  # name: parseStream/<stream>_median, or parseChunks or decodeChunks/<stream>/<read>_median;
  # column 6 bytes/s.
  /"(parse|decode)(Stream|Chunks)\/[a-z0-9_]+(\/[0-9]+)?_median"/ {
    name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
    n = split(name, part, "/")
    kind = part[1] == "parseStream" ? "byte parser" \
         : part[1] == "decodeChunks" ? "decoded, chunks " part[3] : "chunks of " part[3]
    speed[part[2] "|" kind] = $6
    if (!(kind in seen)) { seen[kind] = 1; kinds[++k] = kind }
  }
  /"crcOnly_median"/ { crc = $6 }
  END {
    printf "%-20s %-10s %10s %9s %8s %12s\n", "", "stream", "MB/s", "ns/byte", "ratio", "over"
    for (i = 1; i <= k; ++i) {
      r = speed["report|" kinds[i]]; v = speed["v2_status|" kinds[i]]; m = speed["manager|" kinds[i]]
      if (r)
        printf "%-20s %-10s %10.1f %9.3f %8.2f\n", kinds[i], "report", r / 1e6, 1e9 / r, crc / r
      printf "%-20s %-10s %10.1f %9.3f %8.2f", kinds[i], "v2 status", v / 1e6, 1e9 / v, crc / v
      if (r)
        printf " %12.2f", r / v
      printf "\n%-20s %-10s %10.1f %9.3f %8.2f %12.2f\n", kinds[i], "manager", m / 1e6, 1e9 / m,
             crc / m, v / m
    }
    printf "%-20s %-10s %10.1f %9.3f\n", "crc only", "report", crc / 1e6, 1e9 / crc
    print "(ratio: crc-only / parser; over: v2 status over report, manager over v2 status, cost per byte)"
  }'
