#!/usr/bin/env bash
# Sets everything up, builds and runs the tests.
#   scripts/test.sh          every test of a release build, then a build with AddressSanitizer and
#                            UndefinedBehaviorSanitizer (any finding fails) without the long whole-run
#                            comparisons (ctest label long), which only need running once
#   scripts/test.sh --quick  the quick suite of the release build (ctest label quick): after each change
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  "") flavours=(release sanitize) ;;
  --quick) flavours=(release) ;;
  *) echo "usage: $0 [--quick]" >&2; exit 2 ;;
esac
started=$SECONDS
scripts/setup.sh
echo "=== setup: $((SECONDS - started)) s"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

for flavour in "${flavours[@]}"; do
  case "$flavour/${1:-}" in
    release/--quick) labels=(-L quick) ;;
    release/) labels=() ;;
    sanitize/) labels=(-LE long) ;;
  esac
  step=$SECONDS
  dir=$(scripts/build.sh "$flavour" | tail -n 1)
  echo "=== $flavour build: $((SECONDS - step)) s"
  step=$SECONDS
  (cd "$dir" && ctest --output-on-failure --no-tests=error -j "$(nproc)" "${labels[@]}")
  echo "=== $flavour tests ${labels[*]}: $((SECONDS - step)) s"
done
echo "=== all: $((SECONDS - started)) s"
