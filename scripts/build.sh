#!/usr/bin/env bash
# Configures and builds one flavour: release (default) or sanitize (AddressSanitizer + UBSan).
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-release}
case "$flavour" in
  release)  dir=build;          flags=(-DCMAKE_BUILD_TYPE=Release) ;;
  sanitize) dir=build-sanitize; flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORMEL_SANITIZE=ON) ;;
  *) echo "usage: $0 [release|sanitize]" >&2; exit 2 ;;
esac
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
echo "$dir"
