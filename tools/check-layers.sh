#!/usr/bin/env bash
# Checks the layering of the code and its sizes:
#  - the project's CMake targets depend on one another without a cycle
#    (cmake --graphviz, ordered by tsort), shown layer by layer;
#  - the model and the frames (kv_model, kv_link_core) reach no Qt at all, the
#    link (kv_hid, kv_hidapi, kv_link, kv_unit, kv_emulator) no Qt Widgets or
#    Gui and no window library; the model's own tests link no widgets;
#  - link/ includes nothing of the windows above it;
#  - no part below the windows includes the main window's header or names the
#    main window (the translation context "TForm1" aside);
#  - no source file over 700 lines, no function over 100 outside the layout
#    code (app/*Layout.cpp).
set -euo pipefail
cd "$(dirname "$0")/.."

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake -S . -B "$work/build" -G Ninja -DKV_BUILD_BENCH=ON --graphviz="$work/deps.dot" >/dev/null
# Direct dependencies, "from to" per line, of every target (Qt's included).
sed -n 's|^ *"node[0-9]*" -> "node[0-9]*".*// \([^ ]*\) -> \([^ ]*\)$|\1 \2|p' \
    "$work/deps.dot" | sort -u >"$work/all"
grep -E '^kv_[A-Za-z0-9_]+ kv_[A-Za-z0-9_]+$' "$work/all" >"$work/edges" || true
if [ ! -s "$work/edges" ]; then
    echo "check-layers: no dependencies between the project's libraries found" >&2
    exit 1
fi
if ! tsort "$work/edges" >"$work/order" 2>"$work/tsort.err"; then
    echo "check-layers: the libraries depend on one another in a cycle:" >&2
    cat "$work/tsort.err" >&2
    exit 1
fi

# Everything a target reaches through its dependencies, one per line.
reach() {
    awk -v start="$1" '
        { next_of[$1] = next_of[$1] " " $2 }
        END {
            queue[1] = start; n = 1; seen[start] = 1
            for (i = 1; i <= n; i++) {
                k = split(next_of[queue[i]], to, " ")
                for (j = 1; j <= k; j++)
                    if (!seen[to[j]]) { seen[to[j]] = 1; queue[++n] = to[j]; print to[j] }
            }
        }' "$work/all"
}

status=0
fail() {
    echo "check-layers: $*" >&2
    status=1
}

model="kv_model kv_link_core"
link="kv_hid kv_hidapi kv_link kv_unit kv_emulator"
for t in $model; do
    bad=$(reach "$t" | grep -E '^Qt6::' | grep -v '^Qt6::moc$' || true)
    [ -z "$bad" ] || fail "$t (model) reaches Qt: $(echo $bad)"
done
for t in $link; do
    bad=$(reach "$t" | grep -E '^(Qt6::(Widgets|Gui)|kv_windows|kv_console_libs)$' || true)
    [ -z "$bad" ] || fail "$t (link) reaches the windows: $(echo $bad)"
done
for t in test_value_scales test_param_catalog test_eq_math test_peq_text test_grid_fit \
    test_preset_codec test_link_frames; do
    bad=$(reach "$t" | grep -E '^(Qt6::(Widgets|Gui)|kv_windows|kv_console_libs)$' || true)
    [ -z "$bad" ] || fail "$t (a model test) links the windows: $(echo $bad)"
done
windows=$(grep -vwE "$(echo $model $link | tr ' ' '|')" "$work/order" | grep -v _resources_ | tr '\n' ' ')
echo "layers, lowest first:"
echo "  model, no Qt:            $model"
echo "  link, Qt Core only:      $link"
echo "  windows and their users: $windows"

if grep -nE '#include "(app|presets)/|#include "params/' link/*.h link/*.cpp |
    grep -vE '"params/(ParamImage|ValueScales|ParamCatalog|UnitPort)\.h"'; then
    fail "link/ includes a header of the windows above it"
fi

# The programs over the whole console (tests, benchmarks, fuzzers, the
# screenshot tool) may use the main window; the parts below it may not.
below_app="params eq presets link emulator tools/nddt tools/unit"
if grep -rnE --include='*.h' --include='*.cpp' '#include "app/MainWindow\.h"' $below_app; then
    fail "a part below the windows includes the main window's header"
fi
if grep -rnE --include='*.h' --include='*.cpp' '(\bForm1\b|(^|[^"])\bTForm1\b)' $below_app; then
    fail "a part below the windows names the main window"
fi

sources=$(find app params eq presets link emulator tools bench fuzz tests \
    \( -name '*.cpp' -o -name '*.h' \) | sort)
long_files=$(echo "$sources" | xargs wc -l | awk '$2 != "total" && $1 > 700 { print "  " $2 " (" $1 " lines)" }')
[ -z "$long_files" ] || fail "files over 700 lines:
$long_files"
long_functions=$(echo "$sources" | grep -v 'Layout\.cpp$' |
    xargs awk -v max=100 -f tools/function-lengths.awk)
[ -z "$long_functions" ] || fail "functions over 100 lines:
$long_functions"
exit "$status"
