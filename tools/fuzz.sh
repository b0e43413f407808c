#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time:
# first into a fresh corpus directory, seeded from the committed corpus.
# A crash, leak, time-out or sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

cmake --preset fuzz
cmake --build --preset fuzz -j "$(nproc)" --target fuzzers

status=0
export LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
export QT_QPA_PLATFORM=offscreen
for target in build/fuzz/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  seeds=fuzz/corpus/${name#fuzz_}
  work=$(mktemp -d)
  artifacts=$(mktemp -d)
  echo "-- $name for ${seconds}s"
  args=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$artifacts/")
  if ! "$target" "${args[@]}" "$work" $( [ -d "$seeds" ] && echo "$seeds" ) 2>"$work.log"; then
    tail -n 40 "$work.log"
    echo "$name: FAILED (artifacts in $artifacts)"
    status=1
  else
    grep -E 'stat::number_of_executed_units|Done' "$work.log" | tail -n 2 || true
  fi
  rm -rf "$work"
done
exit $status
