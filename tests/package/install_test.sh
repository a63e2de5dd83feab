#!/usr/bin/env bash
# The library as a programmer gets it: `cmake --install` into a temporary prefix, then the example
# program built against it with find_package(Vormel) and with pkg-config, and the Python module
# imported from the prefix.
# usage: install_test.sh BUILD_DIR SOURCE_DIR [PYTHON]
set -euo pipefail
build=$1
source=$2
python=${3:-python3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

status=0
expect() {
  if ! eval "$2" > "$work/step.log" 2>&1; then
    echo "FAILED: $1"
    cat "$work/step.log"
    status=1
  fi
}
expect "cmake --install" "cmake --install '$build' --prefix '$prefix'"
expect "the header" "test -f '$prefix/include/vormel/vormel.h'"
expect "the package config" "test -f '$prefix/lib/cmake/Vormel/VormelConfig.cmake'"

generator=()
if command -v ninja > /dev/null; then generator=(-G Ninja); fi
expect "the example configures with find_package(Vormel)" \
  "cmake -S '$source/examples/cpp' -B '$work/example' ${generator[*]} -DCMAKE_PREFIX_PATH='$prefix'"
expect "the example builds" "cmake --build '$work/example'"
expect "the example runs" "'$work/example/half_adder' | grep -q '^SUM = /A \* B + A \* /B$'"

expect "the example builds with pkg-config" \
  "c++ -std=c++20 '$source/examples/cpp/half_adder.cpp' -o '$work/pc_adder' \
     \$(PKG_CONFIG_PATH='$prefix/lib/pkgconfig' pkg-config --define-prefix --cflags --libs vormel)"
expect "the pkg-config build runs" "'$work/pc_adder' | grep -q '^CARRY = A \* B$'"

module=$(ls "$prefix"/lib/python3*/dist-packages/vormel.*.so 2>/dev/null | head -n 1 || true)
if [ -n "$module" ]; then
  expect "the Python module from the prefix" \
    "PYTHONPATH='$(dirname "$module")' '$python' -c \"import vormel; assert 'SUM' in vormel.minimize('$source/examples/half_adder.tab').equations\""
fi

if [ "$status" -eq 0 ]; then echo "install test passed"; fi
exit "$status"
