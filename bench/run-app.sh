#!/usr/bin/env bash
# The whole application, offscreen: time from process start to the first frame of the main
# window, resident memory after start, CPU while idle with no port open, and CPU and delivery
# while gimbal-sim sends 200 and 2,000 reports a second.
#   bench/run-app.sh [build-dir]
# The first frame is Qt's own scene-graph timing line (qt.scenegraph.time.renderloop), stamped
# with the monotonic clock and compared with the clock just before the process is executed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target gimbal gimbal-sim gimbal-probe >/dev/null

export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
ticks=$(getconf CLK_TCK)
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Seconds of CPU (user + system) that process $1 has used so far.
cpuSeconds() {
  awk -v t="$ticks" '{ sub(/^.*\) /, ""); print ($12 + $13) / t }' "/proc/$1/stat"
}
# Share of one core that process $1 uses over $2 seconds, in per cent.
cpuShare() {
  local before after
  before=$(cpuSeconds "$1"); sleep "$2"; after=$(cpuSeconds "$1")
  awk -v a="$before" -v b="$after" -v s="$2" 'BEGIN { printf "%.2f", (b - a) / s * 100 }'
}

# Starts the tool with the monotonic time of its start in $work/start and its log in $work/log.
startTool() {
  QT_LOGGING_RULES="qt.scenegraph.time.renderloop=true" \
  QT_MESSAGE_PATTERN="%{time boot} %{category} %{message}" \
  python3 -c 'import os, sys, time
open(sys.argv[1], "w").write("%.6f" % time.clock_gettime(time.CLOCK_MONOTONIC))
os.execv(sys.argv[2], sys.argv[2:])' "$work/start" "$build/app/gimbal" >"$work/log" 2>&1 &
  tool=$!
  pids+=("$tool")
}

firstFrameMs() {
  for _ in $(seq 100); do
    grep -q "qt.scenegraph.time.renderloop" "$work/log" && break
    sleep 0.05
  done
  awk -v start="$(cat "$work/start")" '/qt.scenegraph.time.renderloop/ {
    printf "%.0f", ($1 - start) * 1000; exit }' "$work/log"
}

echo "== start-up (5 runs)"
for run in 1 2 3 4 5; do
  startTool
  frame=$(firstFrameMs)
  sleep 2
  rss=$(awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$tool/status")
  if [ "$run" -eq 5 ]; then
    idle=$(cpuShare "$tool" 20)
    echo "run $run: first frame ${frame} ms, resident ${rss} MB, idle CPU over 20 s ${idle} %"
  else
    echo "run $run: first frame ${frame} ms, resident ${rss} MB"
  fi
  kill -TERM "$tool"; wait "$tool" 2>/dev/null || true
done

for rate in 200 2000; do
  echo "== $rate reports/s"
  "$build/tools/simulator/gimbal-sim" --rate "$rate" >"$work/sim-$rate" 2>&1 &
  sim=$!
  pids+=("$sim")
  until [ -s "$work/sim-$rate" ]; do sleep 0.05; done
  "$build/bench/gimbal-probe" --port "$(head -n 1 "$work/sim-$rate")" --seconds 14 \
    >"$work/probe" 2>/dev/null &
  probe=$!
  pids+=("$probe")
  sleep 3
  share=$(cpuShare "$probe" 10)
  wait "$probe"
  kill -INT "$sim"; wait "$sim" || true
  echo "CPU over 10 s: ${share} %"
  # Reports per second over the last ten one-second ticks, the unshown ones and the backlog.
  tail -n 11 "$work/probe" | awk -F'[ =]' -v rate="$rate" '
    NR == 1 { t0 = $2; r0 = $4 }
    { if ($8 > maxBacklog) maxBacklog = $8; unshown = $6; t = $2; r = $4 }
    END { printf "delivered %.1f reports/s (%.2f of the rate), not shown by the labels %d, " \
                 "largest backlog %d bytes\n", (r - r0) / (t - t0), (r - r0) / (t - t0) / rate,
                 unshown, maxBacklog }'
  grep "frames lost" "$work/sim-$rate"
done
