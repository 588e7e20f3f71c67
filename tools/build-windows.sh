#!/usr/bin/env bash
# Cross-builds the tool for 64-bit Windows in build-windows/ with mingw-w64 and the prebuilt Qt
# for Windows (shared/qt5-win64/ beside the clone, unpacked into the build folder):
#   tools/build-windows.sh             gimbal.exe, the screenshot tool and the platform-neutral tests
#   tools/build-windows.sh --package   ... and makes the portable zip and the installer
#   tools/build-windows.sh --test      ... and tests under Wine: the tests through CTest, the
#                                      screenshots, and with --package the installer end to end
#                                      (tools/windows/test-wine.sh)
# Options combine. GIMBAL_QT_WIN64_ARCHIVE names another copy of qt5-win64-mingw.tar.xz.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --windows

test=0
package=0
for option in "$@"; do
  case "$option" in
    --test) test=1 ;;
    --package) package=1 ;;
    *) echo "usage: $0 [--test] [--package]" >&2; exit 2 ;;
  esac
done

dir=build-windows
archive=${GIMBAL_QT_WIN64_ARCHIVE:-}
if [ -z "$archive" ]; then
  # A CI clone has shared/ beside it; a worktree under wt/ has it one level further up.
  for candidate in ../shared ../../shared; do
    if [ -f "$candidate/qt5-win64/qt5-win64-mingw.tar.xz" ]; then
      archive=$candidate/qt5-win64/qt5-win64-mingw.tar.xz
      break
    fi
  done
fi
[ -n "$archive" ] || { echo "qt5-win64-mingw.tar.xz not found in ../shared/qt5-win64/" >&2; exit 1; }

qt=$PWD/$dir/qt5-win64
mkdir -p "$dir"
if [ ! -f "$qt/.unpacked" ] || [ "$archive" -nt "$qt/.unpacked" ]; then
  rm -rf "$qt"
  tar -xJf "$archive" -C "$dir"
  touch "$qt/.unpacked"
fi

launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja "${launcher[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_TESTING=ON -DCMAKE_CROSSCOMPILING_EMULATOR="$PWD/tools/windows/wine-run.sh;$PWD/$dir" >/dev/null
cmake --build "$dir" -j "${GIMBAL_JOBS:-2}"

if [ "$package" -eq 1 ]; then
  tools/windows/package.sh "$dir"
fi

if [ "$test" -eq 1 ]; then
  # gimbal-sim, the far end of the COM port, is a Linux program of the Linux build.
  if [ ! -x build/tools/simulator/gimbal-sim ]; then
    cmake -S . -B build -G Ninja "${launcher[@]}" >/dev/null
    cmake --build build -j "${GIMBAL_JOBS:-2}" --target gimbal-sim
  fi
  packaged=()
  [ "$package" -eq 1 ] && packaged=(--package)
  tools/windows/test-wine.sh "$dir" build "${packaged[@]}"
fi
