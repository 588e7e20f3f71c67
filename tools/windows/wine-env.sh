# Sourced by the scripts that run the Windows build under Wine: the environment for a Wine prefix
# of the build folder, and the prefix's making. Set WINEPREFIX before sourcing.
export WINEARCH=win64 WINEDEBUG=-all
# No .NET or HTML engine: Qt programs use neither, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

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
