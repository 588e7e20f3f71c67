#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulated gimbal and runs the tool beside it with
# the simulator's port open, so that the angles come alive at once and the joysticks turn the
# simulated gimbal. The simulator keeps a stable path to its terminal; `kill -USR1` on it pulls
# the gimbal out and plugs it back in a second later, and the tool opens it again. The simulator
# stops when the tool exits and prints what it received. Options after the script name go to the
# simulator (e.g. --rate 200, --protocol v2 for a gimbal protocol v2 device, on which
# `kill -USR2` raises or lowers a failure flag, or --autopilot px4|ardupilot for a vehicle whose
# gimbal manager drives such a gimbal). With --udp first, the simulator sends over UDP to
# the tool listening on 127.0.0.1:14550 instead, and `kill -USR1` silences it for a second.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target gimbal gimbal-sim

link=${XDG_RUNTIME_DIR:-/tmp}/gimbal-sim
simulatorLine=(--link "$link")
if [ "${1:-}" = "--udp" ]; then
  shift
  link=udp:127.0.0.1:14550
  simulatorLine=(--udp 14550)
fi
simulatorOutput=$(mktemp)
build/tools/simulator/gimbal-sim "${simulatorLine[@]}" "$@" >"$simulatorOutput" &
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
echo "Simulated gimbal on $link (pull it out and back in: kill -USR1 $simulator)"
case " $* " in
  *" --protocol v2 "* | *" --protocol=v2 "*)
    echo "It speaks the gimbal protocol v2 (raise or lower a failure flag: kill -USR2 $simulator)" ;;
  *" --autopilot "* | *" --autopilot="*)
    echo "It is a vehicle: take control of its gimbal through the autopilot's gimbal manager" ;;
esac

build/app/gimbal --port "$link"
