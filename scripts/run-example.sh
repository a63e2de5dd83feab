#!/usr/bin/env bash
# Sets everything up, builds, and runs vormelc on a shipped example (the report lands in a copy
# under build/example-run, beside the copied input).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release >/dev/null
example=${1:-examples/half_adder.tab}
mkdir -p build/example-run
cp "$example" build/example-run/
shift || true
./build/vormelc -l 1 "$@" "build/example-run/$(basename "$example")"
