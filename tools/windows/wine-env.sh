# Sourced by the scripts that run the Windows build under Wine: the environment for a Wine prefix
# of the build folder, and the prefix's making. Set WINEPREFIX before sourcing.
export WINEARCH=win64 WINEDEBUG=-all
# No .NET or HTML engine: Qt programs use neither, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# Windows programs of the cross build BUILD_DIR find the Qt DLLs and the compiler's runtime
# through WINEPATH, as Windows finds DLLs through PATH.
use_build_dlls() {
  export WINEPATH="$(windows_path "$1/qt5-win64/bin");$(windows_path /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(windows_path /usr/x86_64-w64-mingw32/lib)${WINEPATH:+;$WINEPATH}"
}

# Wine keeps the Linux Qt's settings (QT_*) from Windows programs; WINEQT_* reach them as QT_*.
pass_qt_environment() {
  local name
  while IFS='=' read -r name _; do
    [[ "$name" == QT_* ]] && export "WINE$name=${!name}"
  done < <(env)
  # A Windows Qt program without a console logs to the debugger; the callers read its output.
  export WINEQT_FORCE_STDERR_LOGGING=1
}

# Makes the prefix once, however many callers start at the same time: Windows 10, and the Chinese
# UI font known by its Windows names (as on every Chinese Windows) through the Linux font that
# Wine finds through fontconfig.
make_wine_prefix() {
  (
    flock 9
    [ -f "$WINEPREFIX/.ready" ] && exit 0
    {
      "$wine" wineboot --init
      "$wine" winecfg -v win10
      for name in '微软雅黑' 'Microsoft YaHei'; do
        "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$name" /t REG_SZ \
          /d 'WenQuanYi Micro Hei' /f
      done
      "$wineserver" -w
    } >/dev/null 2>&1
    touch "$WINEPREFIX/.ready"
  ) 9>"$WINEPREFIX.lock"
  # The Wine server and its services are started here, apart from the programs, so that they do
  # not hold a caller's output open after its program has ended.
  "$wine" wineboot >/dev/null 2>&1 </dev/null
}

# A virtual X display for Windows windows (Qt's windows platform plugin under Wine); sets DISPLAY
# and display_pid. The server picks a free display number itself.
start_display() {
  local number=$1/display
  Xvfb -displayfd 5 -screen 0 1600x1400x24 -nolisten tcp 5>"$number" >/dev/null 2>&1 &
  display_pid=$!
  for _ in $(seq 100); do [ -s "$number" ] && break; sleep 0.1; done
  [ -s "$number" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=:$(cat "$number")
}

# Presents the pseudo-terminal PTY to the prefix as COM7. The Wine server reads the mapping when
# it starts, so the running one is let go first (wineserver -k would drop the new key).
map_com7() {
  "$wine" reg add 'HKLM\Software\Wine\Ports' /v COM7 /t REG_SZ /d "$1" /f >/dev/null 2>&1
  "$wineserver" -w
}

# gimbal-sim from the Linux build LINUX_BUILD_DIR with ARGS, its output in LOG; sets sim_pid, and
# sim_port to the port that it prints first for the tool to open.
start_simulator() {
  local linux=$1 log=$2
  shift 2
  # Emptied first, so that a former simulator's first line is not taken for this one's.
  : >"$log"
  "$linux/tools/simulator/gimbal-sim" "$@" >"$log" 2>&1 &
  sim_pid=$!
  for _ in $(seq 50); do [ -s "$log" ] && break; sleep 0.1; done
  sim_port=$(head -n 1 "$log")
}

# The simulator on a pseudo-terminal, presented as COM7.
start_simulator_on_com7() {
  start_simulator "$1" "$2"
  [ -c "$sim_port" ] || { echo "gimbal-sim gave no pseudo-terminal" >&2; return 1; }
  map_com7 "$sim_port"
}

# A free UDP port on 127.0.0.1, for the tool to listen on.
free_udp_port() {
  python3 -c 'import socket
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])'
}

# The simulator sending over UDP to a free port on 127.0.0.1, where the tool is to listen (Wine's
# sockets, unlike its COM ports, deliver what arrives); ARGS go to the simulator.
start_simulator_on_udp() {
  local linux=$1 log=$2 port
  shift 2
  port=$(free_udp_port)
  start_simulator "$linux" "$log" --udp "$port" "$@"
  [ "$sim_port" = "udp:127.0.0.1:$port" ] || { echo "gimbal-sim did not start on UDP" >&2; return 1; }
}
