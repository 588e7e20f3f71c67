#!/usr/bin/env bash
# The whole application (gimbal-probe, offscreen, stick held) on its network links, against
# gimbal-sim on loopback:
#   1. 1,000 reports a second over UDP for 60 s: the reports the simulator sent against those the
#      tool took and the link status's lost count, and the tool's CPU beside the same rate on a
#      pseudo-terminal at 921,600 baud (20 s);
#   2. the command cadence that the simulator receives over UDP and over TCP, and on a
#      pseudo-terminal for comparison (15 s each);
#   3. through gimbal-relay dropping 10 % and holding back 5 % of the datagrams on their way to
#      the tool (1,000 reports a second, 20 s): the cadence, and the loss the link status shows
#      against the relay's dropped count; then dropping alone and holding back alone (10 s each),
#      which tells the two apart. The relay passes the commands back untouched (--one-way), so
#      that the simulator times them as the tool sent them.
#   bench/run-network.sh [build-dir]
# It runs for about four minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target gimbal-sim gimbal-probe gimbal-relay >/dev/null

. bench/probe-common.sh

# A UDP port on 127.0.0.1 that nobody holds at the moment.
freePort() {
  python3 -c 'import socket
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])'
}

# The value of the link status count $1 ("lost", "duplicates") on the probe's last line.
probeCount() {
  grep '^t=' "$work/probe" | tail -n 1 | tr ' ' '\n' | sed -n "s/^$1=//p"
}

# The simulator's count of commands and their cadence.
cadence() {
  grep -E "^(commands received|sequence gaps|command rate|command interval)" "$work/sim" |
    paste -sd ';' | sed 's/;/; /g'
}

# listenFor SECONDS PORT TO [SIMULATOR OPTIONS...]: the probe listening on UDP at 127.0.0.1:PORT,
# and, once its link is open, the simulator sending to port TO (PORT itself, or a relay's) for
# SECONDS + 2 s with the given options; the tool's CPU over SECONDS s of it into $share. Returns
# when both have ended, the simulator 5 s before the probe, so that the probe's last line holds
# the final counts.
listenFor() {
  local seconds=$1 port=$2 to=$3
  shift 3
  rm -f "$work/probe"
  "$build/bench/gimbal-probe" --port "udp:127.0.0.1:$port" --seconds "$((seconds + 8))" \
    >"$work/probe" 2>/dev/null &
  probe=$!
  pids+=("$probe")
  until grep -qs '^t=' "$work/probe"; do
    kill -0 "$probe" 2>/dev/null || { echo "the probe did not open udp:127.0.0.1:$port"; exit 1; }
    sleep 0.1
  done
  startSimulator --udp "$to" --duration "$((seconds + 2))" "$@"
  sleep 1
  share=$(cpuShare "$probe" "$seconds")
  wait "$sim"
  wait "$probe"
}

# The reports the simulator sent against those the tool took and its lost count.
delivery() {
  printf "reports sent by the simulator %d, taken by the tool %d; link status: %d lost, " \
    "$(sed -n 's/^reports sent: //p' "$work/sim")" "$(probeCount reports)" "$(probeCount lost)"
  printf "%d duplicates, %d bad\n" "$(probeCount duplicates)" "$(probeCount bad)"
}

# throughRelay SECONDS [RELAY OPTIONS...]: listenFor at 1,000 reports a second through
# gimbal-relay, its faults one way only; the commands' cadence, and the relay's forward counts
# against the link status's.
throughRelay() {
  local seconds=$1 port relayPort
  shift
  port=$(freePort)
  rm -f "$work/relay"
  "$build/tools/relay/gimbal-relay" --listen 0 --to "$port" --one-way "$@" >"$work/relay" &
  relay=$!
  pids+=("$relay")
  until [ -s "$work/relay" ]; do sleep 0.05; done
  relayPort=$(sed -n 's/.* port \([0-9]*\), forwarding.*/\1/p' "$work/relay")
  listenFor "$seconds" "$port" "$relayPort" --rate 1000
  kill -INT "$relay"; wait "$relay"
  echo "CPU over $seconds s: ${share} %"
  cadence
  grep -E "^(forward|back):" "$work/relay"
  awk -F'[ ,]+' -v lost="$(probeCount lost)" -v dups="$(probeCount duplicates)" '
    /^forward:/ { dropped = $7; duplicated = $9; reordered = $11 }
    END { printf "link status: %d lost against %d dropped by the relay (%+d", lost, dropped,
                 lost - dropped
          if (dropped) printf ", %+.2f %%", (lost - dropped) / dropped * 100
          printf "), %d duplicates against %d duplicated + %d held back\n", dups, duplicated,
                 reordered }' \
    "$work/relay"
}

echo "== 1000 reports/s on a pseudo-terminal at 921600 baud, 20 s"
measureSeconds=20 measure 1000 --baud 921600
serialShare=$share

echo "== 1000 reports/s over UDP, 60 s"
port=$(freePort)
listenFor 60 "$port" "$port" --rate 1000
echo "CPU over 60 s: ${share} % (the pseudo-terminal's: ${serialShare} %)"
delivery
grep "frames lost" "$work/sim"

echo "== command cadence on a pseudo-terminal, 50 reports/s, 15 s"
startSimulator
measureSeconds=15 probeForCpu
cadence

echo "== command cadence over UDP, 50 reports/s, 15 s"
port=$(freePort)
listenFor 15 "$port" "$port"
echo "CPU over 15 s: ${share} %"
cadence

echo "== command cadence over TCP, 50 reports/s, 15 s"
startSimulator --tcp-listen 0
measureSeconds=15 probeForCpu
cadence

echo "== 10 % dropped and 5 % held back on the way to the tool, 1000 reports/s, 20 s"
throughRelay 20 --drop 0.1 --reorder 0.05 --seed 7
echo "== 10 % dropped alone, 10 s"
throughRelay 10 --drop 0.1 --seed 8
echo "== 5 % held back alone, 10 s"
throughRelay 10 --reorder 0.05 --seed 9
