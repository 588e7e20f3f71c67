#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine: wine-run.sh BUILD_DIR PROGRAM [ARGS...].
# The Wine prefix is BUILD_DIR/wine, made on first use: it reports Windows 10, knows the Chinese
# UI font by its Windows name, and finds the Qt DLLs and the compiler's runtime through WINEPATH.
# CTest calls it as the cross build's emulator; the packaging and end-to-end checks call it too.
set -euo pipefail
build=$(cd "$1" && pwd)
shift

export WINEPREFIX=$build/wine WINEARCH=win64 WINEDEBUG=-all
# No .NET or HTML engine: Qt programs use neither, and their installers would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
export WINEPATH="$(windows_path "$build/qt5-win64/bin");$(windows_path /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(windows_path /usr/x86_64-w64-mingw32/lib)${WINEPATH:+;$WINEPATH}"

make_prefix() {
  "$wine" wineboot --init
  "$wine" winecfg -v win10
  # 微软雅黑 is not there on Linux: the Chinese font that is stands in for it by name.
  local font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
  if [ -f "$font" ]; then
    ln -sf "$font" "$WINEPREFIX/drive_c/windows/Fonts/wqy-microhei.ttc"
    for name in '微软雅黑' 'Microsoft YaHei'; do
      "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v "$name" /t REG_SZ /d 'WenQuanYi Micro Hei' /f >/dev/null
    done
  fi
  /usr/lib/wine/wineserver64 -w
  touch "$WINEPREFIX/.ready"
}

# Tests run in parallel: one of them makes the prefix, the others wait for it.
(
  flock 9
  [ -f "$WINEPREFIX/.ready" ] || make_prefix >/dev/null 2>&1
) 9>"$build/wine.lock"

# Wine keeps the Linux Qt's settings (QT_*) from Windows programs; WINEQT_* reach them as QT_*.
while IFS='=' read -r name _; do
  [[ "$name" == QT_* ]] && export "WINE$name=${!name}"
done < <(env)
# A Windows Qt program without a console logs to the debugger; CTest reads standard output.
export WINEQT_FORCE_STDERR_LOGGING=1

# The Wine server and its services are started here, apart from the program, so that they do
# not hold the caller's output open after the program has ended.
"$wine" wineboot >/dev/null 2>&1 </dev/null
exec "$wine" "$@"
