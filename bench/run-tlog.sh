#!/usr/bin/env bash
# Telemetry logs in the whole application (gimbal-probe, offscreen):
#   1. the cost of recording one: CPU at 1,000 reports a second from gimbal-sim without and with
#      a telemetry log recording (three pairs, taken in turn, 10 s each), and what the last log
#      holds;
#   2. a replay at 16x of a log of a report gimbal at 1,000 reports a second (400 s of it), the
#      plot shown: the time the window shows and the reports handed on against the wall clock,
#      how far the reports fall behind the replay's time, and CPU;
#   3. a 1 GB log: how long it takes to open, seeks to 20 places at once (while its index is
#      still being built) and after the run, and resident memory while it plays at 16x against
#      the tool's idle figure.
#   bench/run-tlog.sh [build-dir]
# It runs for about three minutes and needs 1.1 GB in the temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target gimbal-sim gimbal-probe >/dev/null

. bench/probe-common.sh
export XDG_CONFIG_HOME=$work/config

echo "== 1000 reports/s, without and with a telemetry log recording"
for pair in 1 2 3; do
  measure 1000 >"$work/without"
  measure 1000 --record "$work/recording.tlog" >"$work/with"
  echo "without: $(head -n 1 "$work/without"); with: $(head -n 1 "$work/with")"
done
# The last log's frames, and its reports over its own span of time.
python3 - "$work/recording.tlog" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
frames = reports = pos = 0
times = []
while pos + 11 <= len(data):
    stx, length = data[pos + 8], data[pos + 9]
    v1 = stx == 0xFE
    times.append(int.from_bytes(data[pos:pos + 8], "big"))
    reports += (data[pos + 13] if v1 else int.from_bytes(data[pos + 15:pos + 18], "little")) == 200
    frames += 1
    pos += 8 + (8 + length if v1 else 12 + length + (13 if data[pos + 10] & 1 else 0))
span = (times[-1] - times[0]) / 1e6
print(f"last log: {frames} frames, {reports} reports in {span:.1f} s ({reports / span:.0f}/s), "
      f"{len(data) - pos} bytes after its last whole frame")
PY

echo "== replay at 16x of a log at 1000 reports/s, plot shown"
"$build/bench/gimbal-probe" --make-log "$work/400s.tlog" --seconds 400 2>/dev/null
"$build/bench/gimbal-probe" --replay "$work/400s.tlog" --speed 16 --seconds 20 --plot \
  >"$work/probe" 2>/dev/null &
probe=$!
pids+=("$probe")
sleep 4
echo "CPU over 10 s: $(cpuShare "$probe" 10) %"
wait "$probe"
grep -v '^t=' "$work/probe"

echo "== a 1 GB log, replayed at 16x"
"$build/bench/gimbal-probe" --make-log "$work/big.tlog" --seconds 17500 2>/dev/null
"$build/bench/gimbal-probe" --replay "$work/big.tlog" --speed 16 --seconds 20 --seeks 20 \
  2>/dev/null | grep -v '^t='
