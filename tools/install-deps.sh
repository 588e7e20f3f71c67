#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing the tool need, and generates
# the German locale that part of the suite runs in (decimal commas); with --windows also the
# packages of the Windows cross build, its packages and its tests under Wine
# (tools/build-windows.sh). Does nothing when all is there; otherwise works as root or through
# sudo.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config clang libclang-rt-14-dev clang-format
  # Qt 5 and the QML modules the interface imports
  qtbase5-dev qtdeclarative5-dev qtdeclarative5-dev-tools qtquickcontrols2-5-dev
  libqt5serialport5-dev qttools5-dev qttools5-dev-tools
  qml-module-qtquick2 qml-module-qtquick-window2 qml-module-qtquick-layouts
  qml-module-qtquick-controls2 qml-module-qtquick-templates2 qml-module-qtquick-dialogs
  qml-module-qttest
  # hot-plug on Linux, gamepads
  libudev-dev libsdl2-dev
  # benchmarks, assets and headless rendering
  libbenchmark-dev qrencode zbar-tools imagemagick fonts-wqy-microhei
  # packaging checks (CPack's Debian generator runs file)
  desktop-file-utils appstream dpkg-dev strace file
  # the German locale the suite also runs in
  locales
  # the Windows cross build (tools/build-windows.sh)
  g++-mingw-w64-x86-64-posix
)
if [ "${1:-}" = "--windows" ]; then
  packages+=(
    # Windows programs run under Wine, their windows on a virtual X display
    wine64 xvfb xauth
    # the installer and the portable zip
    nsis zip
  )
fi

# The telemetry log test reads the tool's logs with an independent MAVLink library on Node.js,
# which npm installs from the registry. A Node.js from elsewhere (with its own npm) serves as well,
# so Debian's packages come only for the commands that are missing.
command -v node >/dev/null || packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# locale-gen builds the locales enabled in /etc/locale.gen; the German one is enabled there once.
if ! locale -a | grep -x 'de_DE\.utf8' >/dev/null; then
  echo "generating the locale de_DE.UTF-8"
  if grep -q '^# *de_DE\.UTF-8 UTF-8' /etc/locale.gen; then
    "${sudo[@]}" sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  elif ! grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen; then
    echo 'de_DE.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  "${sudo[@]}" locale-gen
fi
