#!/usr/bin/env bash
# Runs a Windows program of the cross build under Wine: wine-run.sh BUILD_DIR PROGRAM [ARGS...].
# The prefix is BUILD_DIR/wine (see wine-env.sh). CTest calls it as the cross build's emulator.
set -euo pipefail
build=$(cd "$1" && pwd)
shift
export WINEPREFIX=$build/wine
source "$(dirname "$0")/wine-env.sh"

use_build_dlls "$build"
pass_qt_environment
make_wine_prefix
exec "$wine" "$@"
