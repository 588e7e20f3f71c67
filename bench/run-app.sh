#!/usr/bin/env bash
# The whole application, offscreen: time from process start to the first frame of the main
# window and resident memory after start (with remembered settings to restore), CPU while idle
# with no port open, CPU and delivery while gimbal-sim sends 50, 200 and 2,000 reports a second,
# the same with the plot shown, at 2,000 reports a second with a recording running (its rows
# against what gimbal-sim sent, and its effect on the telemetry latency), the time from a virtual
# gamepad's move to the command that carries it, and resident memory over 100 unplug and replug
# cycles through the reopen path. A gimbal protocol v2 device (gimbal-sim --protocol v2 at 10
# statuses a second) is measured beside 50 reports a second: CPU and the command cadence it
# receives; with `v2` as the second argument only those two run.
#   bench/run-app.sh [build-dir] [v2]
# The first frame is Qt's own scene-graph timing line (qt.scenegraph.time.renderloop), stamped
# with the monotonic clock and compared with the clock just before the process is executed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target gimbal gimbal-sim gimbal-probe >/dev/null

. bench/probe-common.sh

# Settings as a user's earlier run leaves them, so that start-up restores them.
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/Lunok"
printf '[interface]\nlanguage=1\n\n[link]\nbaud=115200\nport=/dev/ttyUSB0\n' \
  >"$XDG_CONFIG_HOME/Lunok/Gimbal.conf"

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

# measureV2 STATUS_RATE: the probe at a v2 device sending STATUS_RATE statuses a second for 14 s;
# CPU over 10 s of it, and the commands the device received, with their cadence.
measureV2() {
  startSimulator --protocol v2 --status-rate "$1"
  probeForCpu
  grep -E "^(statuses sent|rate demands|commands received|sequence gaps|command (rate|interval))" \
    "$work/sim"
  grep -q "^commands received: 0$" "$work/sim" &&
    echo "(no v2 command arrived: the tool did not take the device for a v2 gimbal)"
  return 0
}

if [ "${2:-}" = v2 ]; then
  echo "== 50 reports/s"
  measure 50
  echo "== v2 device, 10 statuses/s"
  measureV2 10
  exit 0
fi

echo "== start-up (5 runs)"
for run in 1 2 3 4 5; do
  startTool
  frame=$(firstFrameMs)
  sleep 2
  rss=$(awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$tool/status")
  if [ "$run" -eq 5 ]; then
    idle=$(cpuShare "$tool" 20)
    echo "run $run: first frame ${frame} ms, resident ${rss} MB, idle CPU over 20 s ${idle} %" \
         "(no port open, SDL initialised, no pad)"
  else
    echo "run $run: first frame ${frame} ms, resident ${rss} MB"
  fi
  kill -TERM "$tool"; wait "$tool" 2>/dev/null || true
done

for rate in 50 200 2000; do
  echo "== $rate reports/s"
  measure "$rate"
done
echo "== v2 device, 10 statuses/s"
measureV2 10
for rate in 50 1000; do
  echo "== $rate reports/s, plot shown"
  measure "$rate" --plot
done

echo "== 2000 reports/s, recording"
measure 2000 --record "$work/recording.csv"
# The simulator numbers every frame it sends: the reports it sent while the recording ran are the
# report rows plus any frame missing from the rows' sequence.
awk -F, 'NR > 1 && $3 == 1 && ($2 == "report" || $2 == "heartbeat") {
    if (seen) missing += ($5 - previous + 255) % 256
    previous = $5; seen = 1; reports += $2 == "report" }
  END { printf "report rows %d, reports the simulator sent meanwhile %d\n", reports,
               reports + missing }' "$work/recording.csv"
"$build/bench/bench_link" --benchmark_filter=TelemetryLatencyRecording 2>/dev/null |
  awk '/TelemetryLatencyRecording/ { for (i = 1; i <= NF; i++) if ($i ~ /^(p50_us|p99_us|lost)=/) \
         printf "%s ", $i; print ($1 ~ /\/1\//) ? "(recording)" : "(not recording)" }'

echo "== gamepad"
"$build/bench/gimbal-probe" --pad-latency 200 2>/dev/null

echo "== 100 unplug and replug cycles"
# A cycle is longer than the one-second retry that finds a device without an arrival broadcast.
startSimulator --link "$work/gimbal" --replug-every 1.3 --unplugged-for 0.2
"$build/bench/gimbal-probe" --port "$work/gimbal" --seconds 134 >"$work/probe" 2>/dev/null
kill -INT "$sim"; wait "$sim" || true
awk -F'[ =]' '
  /^t=/ && $16 >= 10 && !at10 { at10 = $18 }
  /^t=/ && $16 >= 100 && !at100 { at100 = $18 }
  /^t=/ { cycles = $16 }
  END { printf "reopened %d times; resident at cycle 10: %.1f MB, at cycle 100: %.1f MB " \
               "(%.1f kB a cycle between)\n", cycles, at10 / 1024, at100 / 1024,
               (at100 - at10) / 90 }' "$work/probe"
grep "reopen after loss" "$work/probe"
echo "(the device is away for 0.2 s of each cycle, so a reopen comes at most 1.0 s after its return)"
