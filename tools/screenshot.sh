#!/usr/bin/env bash
# Starts a console program under Xvfb, waits, and grabs the screen.
#   tools/screenshot.sh PROGRAM OUT.png [SECONDS] [ARGS...]
set -euo pipefail
program=$1; out=$2; wait=${3:-3}; shift $(( $# >= 3 ? 3 : $# ))
command -v import >/dev/null || { echo "needs imagemagick (import)" >&2; exit 1; }
display=:$(( 90 + RANDOM % 100 ))
Xvfb "$display" -screen 0 1280x760x24 -nolisten tcp &
xvfb=$!
trap 'kill $app $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$display QT_QPA_PLATFORM=xcb "$program" "$@" &
app=$!
sleep "$wait"
DISPLAY=$display import -window root "$out"
# Crop to the window area.
convert "$out" -trim +repage "$out" 2>/dev/null || true
echo "wrote $out"
