# Sourced by run-app.sh and run-network.sh once $build names the build directory: the offscreen
# platform, a scratch folder ($work) that goes at exit with every process started here, the CPU
# that a process uses, and gimbal-probe (the whole application, stick held) at gimbal-sim.

export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Seconds of CPU that process $1 has used so far, all its threads, from the scheduler's own
# nanosecond count (the tick-sampled user and system times miss much of a load made of short
# wake-ups).
cpuSeconds() {
  cat /proc/"$1"/task/*/schedstat | awk '{ ns += $1 } END { print ns / 1e9 }'
}
# Share of one core that process $1 uses over $2 seconds, in per cent.
cpuShare() {
  local before after
  before=$(cpuSeconds "$1"); sleep "$2"; after=$(cpuSeconds "$1")
  awk -v a="$before" -v b="$after" -v s="$2" 'BEGIN { printf "%.2f", (b - a) / s * 100 }'
}

# Starts gimbal-sim with the given options and waits for the path it prints.
startSimulator() {
  rm -f "$work/sim"
  "$build/tools/simulator/gimbal-sim" "$@" >"$work/sim" 2>&1 &
  sim=$!
  pids+=("$sim")
  until [ -s "$work/sim" ]; do sleep 0.05; done
}

# probeForCpu [PROBE OPTIONS...]: the probe at the running simulator for ${measureSeconds:-10}
# + 4 s, CPU over ${measureSeconds:-10} s of it into $share; the simulator is stopped afterwards,
# so that its summary is in $work/sim.
probeForCpu() {
  local seconds=${measureSeconds:-10}
  "$build/bench/gimbal-probe" --port "$(head -n 1 "$work/sim")" --seconds "$((seconds + 4))" \
    "$@" >"$work/probe" 2>/dev/null &
  probe=$!
  pids+=("$probe")
  sleep 3
  share=$(cpuShare "$probe" "$seconds")
  wait "$probe"
  kill -INT "$sim"; wait "$sim" || true
  echo "CPU over $seconds s: ${share} %"
}

# measure RATE [PROBE OPTIONS...]: the probe at gimbal-sim's RATE reports a second as
# probeForCpu runs it; CPU, delivery and the link status's counts over the last ticks.
measure() {
  local rate=$1
  shift
  startSimulator --rate "$rate"
  probeForCpu "$@"
  # Reports per second over the last one-second ticks, the unshown ones, the backlog, and what
  # the link status counted.
  grep '^t=' "$work/probe" | tail -n "$((${measureSeconds:-10} + 1))" |
    awk -F'[ =]' -v rate="$rate" '
    NR == 1 { t0 = $2; r0 = $4 }
    { if ($8 > maxBacklog) maxBacklog = $8; unshown = $6; t = $2; r = $4
      bad = $10; lost = $12; shownRate = $14 }
    END { printf "delivered %.1f reports/s (%.2f of the rate), not shown by the labels %d, " \
                 "largest backlog %d bytes\n", (r - r0) / (t - t0), (r - r0) / (t - t0) / rate,
                 unshown, maxBacklog
          printf "link status: %d reports/s shown, %d bad, %d lost\n", shownRate, bad, lost }'
  grep "frames lost" "$work/sim"
}
