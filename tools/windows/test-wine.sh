#!/usr/bin/env bash
# Tests the Windows build under Wine: test-wine.sh BUILD_DIR LINUX_BUILD_DIR [--package]
#   - the CTest suite of the cross build, on a virtual X display, with gimbal-sim (from the Linux
#     build) behind COM7 for the device-change test;
#   - the screenshot tool with Qt's windows platform plugin: both languages at 100 %, and English
#     with the system at 150 % (144 dpi), into BUILD_DIR/screenshots/;
#   - receiving: the screenshot tool listening on UDP (loopback) to gimbal-sim of either protocol,
#     with what its window then shows;
#   - with --package, the installer end to end (test-package.sh).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
linux=$(cd "$2" && pwd)
export WINEPREFIX=$build/wine
source "$here/wine-env.sh"

log=$(mktemp -d)
cleanup() {
  [ -n "${sim_pid:-}" ] && kill "$sim_pid" 2>/dev/null || true
  [ -n "${display_pid:-}" ] && kill "$display_pid" 2>/dev/null || true
  rm -rf "$log"
}
trap cleanup EXIT

mkdir -p "$WINEPREFIX"
make_wine_prefix
start_simulator_on_com7 "$linux" "$log/sim"
start_display "$log"
GIMBAL_TEST_COM_PORT=COM7 ctest --test-dir "$build" -j "${GIMBAL_JOBS:-2}" --output-on-failure
kill "$sim_pid"
sim_pid=

# The window as rendered on Windows; PNG sizes in physical pixels.
shots=$build/screenshots
mkdir -p "$shots"
# The tool's --texts lines land in $log/texts.
screenshot() {
  local out=$1
  shift
  QT_QUICK_BACKEND=software "$here/wine-run.sh" "$build" \
    "$build/tools/screenshot/gimbal-screenshot.exe" -platform windows "$@" "$shots/$out" \
    >"$log/texts" 2>"$log/errors" || { cat "$log/errors" >&2; exit 1; }
  local size
  size=$(file -b "$shots/$out" | sed -n 's/^PNG image data, \([0-9]* x [0-9]*\),.*/\1/p')
  [ "$size" = "$expected" ] || { echo "FAIL: $out is $size, not $expected" >&2; exit 1; }
  echo "ok: $out ($size)"
}
set_dpi() {
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  "$wineserver" -w
}
set_dpi 96
expected="620 x 820"
screenshot screenshot-windows-zh.png --language zh
screenshot screenshot-windows-en.png --language en
set_dpi 144
expected="930 x 1230"
screenshot screenshot-windows-en-150.png --language en
set_dpi 96

# Receiving, which no COM port shows under Wine: the window listens on UDP and holds the right
# stick for three seconds, so the gimbal turns. Its angles must have moved off zero, its status
# line must count the reports with none bad or lost, and its protocol line must name the
# simulator's protocol, told by what came.
shown() { tr -d '\r' <"$log/texts" | sed -n "s/^$1: //p"; }
receive() {
  local protocol=$1 reports=$2 line=$3
  start_simulator_on_udp "$linux" "$log/sim" --protocol "$protocol"
  screenshot "screenshot-windows-udp-$protocol.png" --language en --port "$sim_port" --seconds 3 \
    --texts
  kill "$sim_pid"
  sim_pid=
  local angles state rate
  angles=$(shown angles)
  state=$(shown state)
  rate=$(sed -n 's/^UDP .* · Receiving \([0-9]*\) reports\/s · 0 bad · 0 lost$/\1/p' <<<"$state")
  [[ "$angles" =~ ^-?[0-9]+\.[0-9]+( -?[0-9]+\.[0-9]+){2}$ && "$angles" != "0.00 0.00 0.00" ]] ||
    { echo "FAIL: $protocol over UDP: angles '$angles'" >&2; exit 1; }
  [ "${rate:-0}" -ge "$reports" ] || { echo "FAIL: $protocol over UDP: '$state'" >&2; exit 1; }
  [[ "$(shown protocol)" == "$line"* ]] ||
    { echo "FAIL: $protocol over UDP: '$(shown protocol)'" >&2; exit 1; }
  echo "ok: $protocol over $sim_port: angles $angles; $state; $(shown protocol)"
}
# At least half of what the simulator sends: 50 reports or 10 attitude statuses a second.
expected="620 x 820"
receive report 25 "Protocol: GIMBAL_REPORT"
receive v2 5 "Protocol: v2 direct · gimbal 1/154 · "

if [ "${3:-}" = "--package" ]; then
  "$here/test-package.sh" "$build" "$linux"
fi
