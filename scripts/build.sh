#!/usr/bin/env bash
# Configures and builds one flavour: release (default) or sanitize (AddressSanitizer + UBSan).
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-release}
case "$flavour" in
  release)  dir=build;          flags=(-DCMAKE_BUILD_TYPE=Release) ;;
  # Line tables are all a sanitizer's stack trace needs; the benchmark programs run no test, and the
  # window's tests run in the release build (the sanitizer build checks the core and the console).
  sanitize) dir=build-sanitize; flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
                                       -DVORMEL_SANITIZE=ON -DVORMEL_BUILD_BENCH=OFF -DVORMEL_BUILD_GUI=OFF
                                       -DVORMEL_ALL_CUBE_CLASSES=OFF) ;;
  *) echo "usage: $0 [release|sanitize]" >&2; exit 2 ;;
esac
if command -v ccache >/dev/null 2>&1; then
  # Clones in other folders share the cache: paths below the parent folder hash alike.
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(cd .. && pwd)} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
  flags+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja "${flags[@]}" >/dev/null
cmake --build "$dir" -j "$(nproc)"
echo "$dir"
