#!/usr/bin/env bash
# The Windows build under Wine beside the Linux build, in one run, both on one virtual X display
# (Qt's windows and xcb platform plugins) with the software renderer: time from start to the first frame and resident memory (three starts, no
# port), CPU and memory with gimbal-sim sending 50 reports a second to the open port and, over UDP
# on loopback, to the tool listening, and the command cadence timed at the port's far end for 30 s
# (bench/farend.py); then the sizes of the Windows zip and installer when they are built. Wine is
# not Windows: its figures are Wine's, and they leave out Wine's server, which does part of a
# socket's work. Under Wine the tool receives nothing on a COM port (the Wine serial layer never
# completes Qt's wait for input), so there its CPU at 50 reports/s on the port is that of an open
# port that sends and does not receive; the UDP run is the one that receives.
#   bench/run-windows.sh [linux-build-dir] [windows-build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
linux=$(cd "${1:-build}" && pwd)
windows=$(cd "${2:-build-windows}" && pwd)
cmake --build "$linux" --target gimbal gimbal-sim >/dev/null
cmake --build "$windows" --target gimbal >/dev/null

export WINEPREFIX=$windows/wine
source tools/windows/wine-env.sh
use_build_dlls "$windows"
export QT_QUICK_BACKEND=software
export QT_LOGGING_RULES="qt.scenegraph.time.renderloop=true"
pass_qt_environment
export QT_QPA_PLATFORM=xcb WINEQT_QPA_PLATFORM=windows
make_wine_prefix

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -TERM "$pid" 2>/dev/null || true; done
  [ -n "${display_pid:-}" ] && kill "$display_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
start_display "$work"

# Seconds of CPU that process $1 has used so far, all its threads (the scheduler's count).
cpuSeconds() { cat /proc/"$1"/task/*/schedstat | awk '{ ns += $1 } END { print ns / 1e9 }'; }
cpuShare() {
  local before after
  before=$(cpuSeconds "$1"); sleep "$2"; after=$(cpuSeconds "$1")
  awk -v a="$before" -v b="$after" -v s="$2" 'BEGIN { printf "%.1f", (b - a) / s * 100 }'
}
rssMb() { awk '/^VmRSS/ { printf "%.1f", $2 / 1024 }' "/proc/$1/status"; }

# startTool linux|wine [ARGS...]: the tool, with the monotonic time of its start in $work/start
# and its log in $work/log; sets tool. Under Wine the server is running already (the prefix was
# just used), as it is on any start but the first after a login.
startTool() {
  local platform=$1
  shift
  local command=("$linux/app/gimbal")
  if [ "$platform" = wine ]; then
    "$wine" wineboot >/dev/null 2>&1
    command=("$wine" "$windows/app/gimbal.exe")
  fi
  python3 -c 'import os, sys, time
open(sys.argv[1], "w").write("%.6f" % time.monotonic())
os.execv(sys.argv[2], sys.argv[2:])' "$work/start" "${command[@]}" "$@" >"$work/log" 2>&1 &
  tool=$!
  pids+=("$tool")
}
firstFrameMs() {
  until [ -s "$work/start" ]; do sleep 0.01; done
  python3 -c 'import sys, time
start = float(open(sys.argv[1]).read())
while time.monotonic() - start < 60:
    if "qt.scenegraph.time.renderloop" in open(sys.argv[2], errors="replace").read():
        print("%.0f" % ((time.monotonic() - start) * 1000)); break
    time.sleep(0.005)
else:
    print("none")' "$work/start" "$work/log"
}
stopTool() { kill -TERM "$tool" 2>/dev/null || true; wait "$tool" 2>/dev/null || true; }

# atPeer PLATFORM LOG COMMAND...: starts COMMAND, a far end that prints its pseudo-terminal's
# path (presented as COM7 under Wine) or its UDP address first into LOG, then the tool with that
# port open; sets peer.
atPeer() {
  local platform=$1 log=$2
  shift 2
  # Emptied first, so that a former far end's first line is not taken for this one's.
  : >"$log"
  "$@" >"$log" 2>&1 &
  peer=$!
  pids+=("$peer")
  until [ -s "$log" ]; do sleep 0.05; done
  local port
  port=$(head -n 1 "$log")
  if [ "$platform" = wine ] && [ -c "$port" ]; then
    map_com7 "$port"
    port=COM7
  fi
  startTool "$platform" --port "$port"
}

for platform in linux wine; do
  echo "== $platform: start-up (3 runs)"
  for run in 1 2 3; do
    startTool "$platform"
    frame=$(firstFrameMs)
    sleep 3
    echo "run $run: first frame ${frame} ms, resident $(rssMb "$tool") MB"
    stopTool
  done

  for link in serial udp; do
    echo "== $platform: gimbal-sim at 50 reports/s ($link)"
    linkArgs=()
    [ "$link" = udp ] && linkArgs=(--udp "$(free_udp_port)")
    atPeer "$platform" "$work/sim" "$linux/tools/simulator/gimbal-sim" --rate 50 "${linkArgs[@]}"
    firstFrameMs >/dev/null
    sleep 3
    echo "CPU over 10 s: $(cpuShare "$tool" 10) %, resident $(rssMb "$tool") MB"
    stopTool
    kill -INT "$peer"; wait "$peer" || true
    grep -E "^(reports sent|commands received|sequence gaps):" "$work/sim" | paste -sd ' '
  done

  echo "== $platform: command cadence at the far end, 30 s"
  atPeer "$platform" "$work/farend" python3 bench/farend.py 30
  wait "$peer" || true
  tail -n 1 "$work/farend"
  stopTool
done

echo "== Windows packages"
for file in "$windows"/package/gimbal-*-win64.zip "$windows"/package/gimbal-*-win64-setup.exe; do
  [ -f "$file" ] && echo "$(basename "$file"): $(du -b "$file" | awk '{ printf "%.1f", $1 / 1048576 }') MB"
done
exit 0
