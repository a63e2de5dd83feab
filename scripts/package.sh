#!/usr/bin/env bash
# Builds the release programs and the Debian package; prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
targets=(vormelc)
if cmake --build build --target help | grep -q '^vormel:'; then targets+=(vormel); fi
cmake --build build -j "$(nproc)" --target "${targets[@]}"
(cd build && cpack -G DEB -B package >/dev/null)
ls "$PWD"/build/package/*.deb
