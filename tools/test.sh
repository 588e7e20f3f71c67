#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole suite through CTest.
#   tools/test.sh              the normal build in build/, with the parser fuzzer
#   tools/test.sh --sanitize   everything under ASan and UBSan in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh

dir=build
options=()
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-sanitize
  # The fuzzer is sanitized already and its run is the normal build's.
  options=(-DGIMBAL_SANITIZE=ON -DGIMBAL_FUZZ=OFF -DGIMBAL_BENCH=OFF)
fi

cmake -S . -B "$dir" -G Ninja "${options[@]}" >/dev/null
cmake --build "$dir"
export QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software
ctest --test-dir "$dir" --output-on-failure
