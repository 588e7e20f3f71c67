#!/usr/bin/env bash
# The Windows installer under Wine, end to end, in a clean prefix of its own:
#   test-package.sh BUILD_DIR LINUX_BUILD_DIR
# installs silently (per user), checks the files, the Start menu entry and the entry in the
# installed programs; starts the installed gimbal.exe on a virtual X display against gimbal-sim
# (from LINUX_BUILD_DIR) on a pseudo-terminal that Wine presents as COM7, lets it run, closes its
# window and checks the exit status and the commands the simulator received; then uninstalls
# silently and checks that nothing is left.
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
start_simulator_on_com7 "$linux" "$log/sim"
start_display "$log"
export WINEQT_QUICK_BACKEND=software
make_wine_prefix
"$wine" "$installed/gimbal.exe" --port COM7 --language en >"$log/app" 2>&1 &
app=$!
sleep "$seconds"
kill -0 "$app" 2>/dev/null || { cat "$log/app" >&2; fail "gimbal.exe ended by itself"; }
# taskkill without /F closes the window (WM_CLOSE), as the window's close button does.
"$wine" taskkill /im gimbal.exe >/dev/null 2>&1
status=0
wait "$app" || status=$?
[ "$status" -eq 0 ] || { cat "$log/app" >&2; fail "gimbal.exe exited with $status after its window closed"; }
pass "the window closed by WM_CLOSE: exit status 0"
kill -TERM "$sim_pid"
wait "$sim_pid" || true
sim_pid=
cat "$log/sim"
commands=$(sed -n 's/^commands received: //p' "$log/sim")
gaps=$(sed -n 's/^sequence gaps: //p' "$log/sim")
median=$(sed -n 's/^command interval ms: .*median \([0-9.]*\),.*/\1/p' "$log/sim")
# Under Wine the tool takes a few seconds to start and its first frame holds the event loop up
# once (about 2 s: the fonts are read); after that the commands keep their cadence.
[ "${commands:-0}" -ge $(((seconds - 8) * 50)) ] || fail "only ${commands:-0} commands in ${seconds} s"
[ "$gaps" = 0 ] || fail "$gaps gaps in the commands' sequence numbers"
awk -v m="$median" 'BEGIN { exit !(m >= 19 && m <= 21) }' || fail "median command interval $median ms"
pass "COM7 opened; $commands commands, no sequence gaps, median interval $median ms"

uninstaller=$("$wine" reg query "$key" /v UninstallString | tr -d '\r' | sed -n 's/.*"\(.*\)".*/\1/p')
"$wine" "$uninstaller" /S
"$wineserver" -w
[ ! -e "$installed" ] || fail "left after uninstall: $(find "$installed" | head -5)"
[ ! -e "$shortcut" ] || fail "Start menu entry left after uninstall"
"$wine" reg query "$key" >/dev/null 2>&1 && fail "installed programs entry left after uninstall"
pass "silent uninstall removed the files, the Start menu entry and the installed programs entry"
