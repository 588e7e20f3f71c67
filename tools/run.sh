#!/usr/bin/env bash
# Installs what is missing, builds the tool and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build
if [ ! -x build/app/gimbal ]; then
  echo "The tool's window is not built yet: only the codec and its tests exist so far."
  exit 0
fi
exec build/app/gimbal "$@"
