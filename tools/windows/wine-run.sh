#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine: wine-run.sh BUILD_DIR PROGRAM [ARGS...].
# The prefix is BUILD_DIR/wine (see wine-env.sh); the Qt DLLs and the compiler's runtime are
# found through WINEPATH. CTest calls it as the cross build's emulator.
set -euo pipefail
build=$(cd "$1" && pwd)
shift
export WINEPREFIX=$build/wine
source "$(dirname "$0")/wine-env.sh"

export WINEPATH="$(windows_path "$build/qt5-win64/bin");$(windows_path /usr/lib/gcc/x86_64-w64-mingw32/12-posix);$(windows_path /usr/x86_64-w64-mingw32/lib)${WINEPATH:+;$WINEPATH}"
pass_qt_environment
make_wine_prefix
exec "$wine" "$@"
