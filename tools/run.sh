#!/usr/bin/env bash
# Sets up, builds and starts the console. Without an argument it starts the
# demo (the console wired to the emulated unit); "--device" starts the console
# for a real unit on USB. Further arguments go to the program (a preset file,
# --factory). Installs only what building and running needs; works as a
# normal user (packages are installed with sudo).
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup-debian.sh run
cmake --preset run >/dev/null
cmake --build --preset run --target kalviren-console kalviren-console-demo

program=build/run/emulator/kalviren-console-demo
if [ "${1:-}" = "--device" ]; then
  program=build/run/app/kalviren-console
  shift
fi
exec "$program" "$@"
