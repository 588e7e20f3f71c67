#!/usr/bin/env bash
# Compiles every source of the Windows executable with the mingw-w64 cross compiler for _WIN32,
# syntax only, so that Windows-only code cannot rot unseen on a Linux machine. It is a proxy:
# the Qt headers are Debian's (configured for Linux) and nothing is linked, so it catches what
# the compiler sees (a misspelt Win32 call, a missing include, a type error behind Q_OS_WIN),
# not what only a real Windows build or link would.
set -euo pipefail
cd "$(dirname "$0")/.."

cxx=x86_64-w64-mingw32-g++-posix
qt=$(pkg-config --variable=includedir Qt5Core)
# The folders of the executable's own libraries, and the sources only Linux compiles.
folders=(app core input plot record i18n mavlink)
linuxOnly=(core/udevportwatcher.cpp core/outputqueue_posix.cpp)

# The definitions that CMake gives the sources.
version=$(sed -n 's/^project(Gimbal VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
flags=(-std=c++17 -fsyntax-only -Wall -Wextra -Werror -DUNICODE -D_UNICODE
       "-DGIMBAL_VERSION=\"$version\"" -isystem "$qt")
for module in QtCore QtGui QtQml QtQuick QtSerialPort; do
  flags+=(-isystem "$qt/$module")
done
# SDL2's public headers are the same for every system; Debian's configuration header behind them
# is found beside them through a folder of this script's own.
sdl=$(pkg-config --variable=includedir sdl2)/SDL2
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
ln -s "$(dirname "$(find /usr/include -path '*/SDL2/_real_SDL_config.h' | head -n 1)")" "$config/SDL2"
flags+=(-isystem "$sdl" -isystem "$config")
for folder in "${folders[@]}"; do
  flags+=(-I"$folder")
done

# The check means nothing unless the compiler really builds for Windows.
echo $'#include <QtGlobal>\n#ifndef Q_OS_WIN\n#error not a Windows build\n#endif' |
  "$cxx" "${flags[@]}" -x c++ -

failed=0
count=0
while IFS= read -r source; do
  [[ " ${linuxOnly[*]} " == *" $source "* ]] && continue
  count=$((count + 1))
  "$cxx" "${flags[@]}" "$source" || { echo "FAIL (Windows): $source"; failed=1; }
done < <(find "${folders[@]}" -name '*.cpp' | sort)
[ "$failed" -eq 0 ] || exit 1
echo "Windows syntax check: $count sources compile for _WIN32"
