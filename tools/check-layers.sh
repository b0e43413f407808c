#!/usr/bin/env bash
# Checks the layering of the code: the project's CMake targets depend on one
# another without a cycle (cmake --graphviz, ordered by tsort), and the link
# includes nothing of the windows above it (app/, presets/, params/ other than
# the cores).
set -euo pipefail
cd "$(dirname "$0")/.."

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake -S . -B "$work/build" -G Ninja -DKV_BUILD_BENCH=ON --graphviz="$work/deps.dot" >/dev/null
# Edges between two kv_ targets, "from to" per line.
sed -n 's|^ *"node[0-9]*" -> "node[0-9]*".*// \(kv_[A-Za-z0-9_]*\) -> \(kv_[A-Za-z0-9_]*\)$|\1 \2|p' \
    "$work/deps.dot" | sort -u >"$work/edges"
if [ ! -s "$work/edges" ]; then
    echo "check-layers: no dependencies between the project's libraries found" >&2
    exit 1
fi
if ! tsort "$work/edges" >"$work/order" 2>"$work/tsort.err"; then
    echo "check-layers: the libraries depend on one another in a cycle:" >&2
    cat "$work/tsort.err" >&2
    exit 1
fi
echo "libraries, users first: $(tr '\n' ' ' <"$work/order")"

status=0
if grep -nE '#include "(app|presets)/|#include "params/' link/*.h link/*.cpp |
    grep -vE '"params/(ParamImage|ValueScales|ParamCatalog|UnitPort)\.h"'; then
    echo "check-layers: link/ includes a header of the windows above it" >&2
    status=1
fi
exit "$status"
