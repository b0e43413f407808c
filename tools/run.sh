#!/usr/bin/env bash
# Sets up, builds and starts the console. Without an argument it starts the
# demo (the console wired to the emulated unit); "--device" starts the console
# for a real unit on USB.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup-debian.sh
cmake --preset default >/dev/null
cmake --build --preset default --target kalviren-console kalviren-console-demo

if [ "${1:-}" = "--device" ]; then
  exec build/default/app/kalviren-console
fi
exec build/default/emulator/kalviren-console-demo
