#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulated gimbal and runs the tool beside it.
# Type the printed path into the port box and press the open button: the angles come alive and
# the joysticks turn the simulated gimbal. The simulator stops when the tool exits and prints
# what it received. Options after the script name go to the simulator (e.g. --rate 200).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target gimbal gimbal-sim

simulatorOutput=$(mktemp)
build/tools/simulator/gimbal-sim "$@" >"$simulatorOutput" &
simulator=$!
stopSimulator() {
  kill -TERM "$simulator" 2>/dev/null && wait "$simulator" 2>/dev/null || true
  tail -n +2 "$simulatorOutput"
  rm -f "$simulatorOutput"
}
trap stopSimulator EXIT

for _ in $(seq 50); do
  [ -s "$simulatorOutput" ] && break
  kill -0 "$simulator" 2>/dev/null || exit 1
  sleep 0.1
done
echo "Simulated gimbal on $(head -n 1 "$simulatorOutput"): type this path into the port box and press Open."

build/app/gimbal
