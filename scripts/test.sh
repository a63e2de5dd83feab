#!/usr/bin/env bash
# Sets everything up, then builds and runs every test twice: a release build and a build with
# AddressSanitizer and UndefinedBehaviorSanitizer (any finding fails the run).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

for flavour in release sanitize; do
  echo "=== $flavour build"
  dir=$(scripts/build.sh "$flavour" | tail -n 1)
  echo "=== $flavour tests"
  (cd "$dir" && ctest --output-on-failure -j "$(nproc)")
done
