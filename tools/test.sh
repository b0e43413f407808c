#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite headless: the plain build, the
# layering check, the package checks (lintian, desktop entries, installed
# tree), the same suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# and a bounded run of every fuzz target. Any failure or sanitizer report fails.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup-debian.sh test
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

echo "== plain build"
cmake --preset default
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"

echo "== layers"
bash tools/check-layers.sh

echo "== package"
bash tools/check-package.sh

echo "== sanitizer build"
cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

echo "== fuzzing"
bash tools/fuzz.sh "${KV_FUZZ_SECONDS:-60}"
