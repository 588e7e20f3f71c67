#!/usr/bin/env bash
# The Windows installer under Wine, end to end, in a clean prefix of its own:
#   test-package.sh BUILD_DIR LINUX_BUILD_DIR
# installs silently (per user), checks the files, the Start menu entry and the entry in the
# installed programs; starts the installed gimbal.exe on a virtual X display against gimbal-sim
# (from LINUX_BUILD_DIR) on a pseudo-terminal that Wine presents as COM7, lets it run, closes its
# window and checks the exit status and the commands the simulator received; does the same with
# the tool listening on UDP (loopback) and recording, against the report gimbal and a v2 gimbal,
# and checks what was received in the recordings; then uninstalls silently and checks that
# nothing is left.
set -euo pipefail
build=$(cd "$1" && pwd)
linux=$(cd "$2" && pwd)
seconds=${GIMBAL_WINE_RUN_SECONDS:-15}
export WINEPREFIX=$build/wine-package
source "$(dirname "$0")/wine-env.sh"

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "ok: $*"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup=$build/package/gimbal-$version-win64-setup.exe
[ -f "$setup" ] || fail "no installer $setup (tools/build-windows.sh --package)"

rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
mkdir -p "$WINEPREFIX"
make_wine_prefix
home=$WINEPREFIX/drive_c/users/$(id -un)
installed=$home/AppData/Local/Programs/Gimbal
shortcut="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Gimbal.lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Gimbal'
registry_value() { "$wine" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }

"$wine" "$setup" /S
"$wineserver" -w
[ -f "$installed/gimbal.exe" ] || fail "gimbal.exe not installed into %LOCALAPPDATA%\\Programs\\Gimbal"
[ -f "$shortcut" ] || fail "no Start menu entry"
[ "$(registry_value DisplayName)" = Gimbal ] || fail "installed programs: DisplayName"
[ "$(registry_value DisplayVersion)" = "$version" ] || fail "installed programs: DisplayVersion"
[[ "$(registry_value DisplayIcon)" == *'\gimbal.exe,0' ]] || fail "installed programs: DisplayIcon"
[[ "$(registry_value UninstallString)" == *'\uninstall.exe"' ]] || fail "installed programs: UninstallString"
pass "silent per-user install, Start menu entry, installed programs entry $version"

# Nothing but the installed folder: no WINEPATH to the build's Qt.
printed=$("$wine" "$installed/gimbal.exe" --version 2>/dev/null | tr -d '\r')
[ "$printed" = "Gimbal $version" ] || fail "gimbal.exe --version printed '$printed'"
pass "installed gimbal.exe starts on a clean prefix: $printed"

log=$(mktemp -d)
cleanup() {
  [ -n "${sim_pid:-}" ] && kill "$sim_pid" 2>/dev/null || true
  [ -n "${display_pid:-}" ] && kill "$display_pid" 2>/dev/null || true
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$log"
}
trap cleanup EXIT
# run_installed ARGS...: the installed gimbal.exe with ARGS for $seconds, its output in $log/app;
# then its window is closed as its close button does it (taskkill without /F sends WM_CLOSE), and
# it must exit with status 0.
run_installed() {
  "$wine" "$installed/gimbal.exe" --language en "$@" >"$log/app" 2>&1 &
  app=$!
  sleep "$seconds"
  kill -0 "$app" 2>/dev/null || { cat "$log/app" >&2; fail "gimbal.exe $* ended by itself"; }
  "$wine" taskkill /im gimbal.exe >/dev/null 2>&1
  local status=0
  wait "$app" || status=$?
  [ "$status" -eq 0 ] || { cat "$log/app" >&2; fail "gimbal.exe $* exited with $status after its window closed"; }
}
stop_simulator() {
  kill -TERM "$sim_pid"
  wait "$sim_pid" || true
  sim_pid=
  cat "$log/sim"
}
# A value of the simulator's summary, and the rows of a kind in a recording.
summary() { sed -n "s/^$1: //p" "$log/sim"; }
rows() { grep -c "^[0-9]*,$1," "$2" || true; }
# Under Wine the tool takes a few seconds to start and its first frame holds the event loop up
# once (about 2 s: the fonts are read); after that the commands keep their cadence.
least() { echo $(((seconds - 8) * $1)); }
check_commands() {
  local commands gaps median
  commands=$(summary "commands received")
  gaps=$(summary "sequence gaps")
  median=$(sed -n 's/^command interval ms: .*median \([0-9.]*\),.*/\1/p' "$log/sim")
  [ "${commands:-0}" -ge "$(least 50)" ] || fail "$1: only ${commands:-0} commands in ${seconds} s"
  [ "$gaps" = 0 ] || fail "$1: $gaps gaps in the commands' sequence numbers"
  awk -v m="$median" 'BEGIN { exit !(m >= 19 && m <= 21) }' || fail "$1: median command interval $median ms"
  pass "$1 opened; $commands commands, no sequence gaps, median interval $median ms"
}

start_simulator_on_com7 "$linux" "$log/sim"
start_display "$log"
export WINEQT_QUICK_BACKEND=software
make_wine_prefix
run_installed --port COM7
pass "the window closed by WM_CLOSE: exit status 0"
stop_simulator
check_commands COM7

# Receiving, over UDP on loopback, since Wine's COM ports deliver nothing to the tool: the
# installed tool listens for the report gimbal and records. The recording must hold the reports,
# and the gimbal must get the commands, which go to the address the tool learnt from them.
start_simulator_on_udp "$linux" "$log/sim"
run_installed --port "$sim_port" --record "$(windows_path "$log/report.csv")"
stop_simulator
check_commands "$sim_port"
reports=$(rows report "$log/report.csv")
[ "$reports" -ge "$(least 50)" ] || fail "$sim_port: only $reports report rows recorded"
pass "$sim_port: recorded $reports report rows and $(rows command "$log/report.csv") command rows"

# A v2 gimbal there, told by what it sends: the tool then steers it with rate demands (never sent
# to any other gimbal) and asks for its information, and the recording holds its statuses and
# the information that came back.
start_simulator_on_udp "$linux" "$log/sim" --protocol v2
run_installed --port "$sim_port" --record "$(windows_path "$log/v2.csv")"
stop_simulator
demands=$(summary "rate demands received")
statuses=$(rows v2_status "$log/v2.csv")
[ "${demands:-0}" -ge "$(least 50)" ] || fail "$sim_port: only ${demands:-0} v2 rate demands"
[ "$statuses" -ge "$(least 10)" ] || fail "$sim_port: only $statuses v2 status rows recorded"
[ "$(rows v2_information "$log/v2.csv")" -ge 1 ] || fail "$sim_port: no device information recorded"
pass "$sim_port: v2 gimbal steered with $demands rate demands; recorded $statuses status rows and its information"

uninstaller=$("$wine" reg query "$key" /v UninstallString | tr -d '\r' | sed -n 's/.*"\(.*\)".*/\1/p')
"$wine" "$uninstaller" /S
"$wineserver" -w
[ ! -e "$installed" ] || fail "left after uninstall: $(find "$installed" | head -5)"
[ ! -e "$shortcut" ] || fail "Start menu entry left after uninstall"
"$wine" reg query "$key" >/dev/null 2>&1 && fail "installed programs entry left after uninstall"
pass "silent uninstall removed the files, the Start menu entry and the installed programs entry"
