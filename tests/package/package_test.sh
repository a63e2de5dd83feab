#!/usr/bin/env bash
# The Debian package as a user gets it: built by CPack from a finished build, unpacked into a
# temporary root, and the programs run from there.
# usage: package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! (cd "$build" && cpack -G DEB -B "$work/package" > "$work/cpack.log" 2>&1); then
  cat "$work/cpack.log"
  exit 1
fi
deb=$(ls "$work"/package/*.deb)
dpkg-deb -x "$deb" "$work/root"

status=0
expect() {
  if ! eval "$2"; then
    echo "FAILED: $1"
    status=1
  fi
}
expect "vormelc installed" "test -x '$work/root/usr/bin/vormelc'"
expect "vormelc man page" "gzip -t '$work/root/usr/share/man/man1/vormelc.1.gz'"
expect "copyright file" "grep -q '^Copyright:' '$work/root/usr/share/doc/vormel/copyright'"
expect "changelog" "zcat '$work/root/usr/share/doc/vormel/changelog.gz' | grep -q '^vormel ('"
expect "user guide" "grep -q '^# Vormel user guide' '$work/root/usr/share/doc/vormel/user_guide.md'"
expect "runtime libraries among the dependencies" "dpkg-deb -f '$deb' Depends | grep -q libfmt"
if test -x "$build/src/ui/vormel"; then
  expect "vormel installed" "test -x '$work/root/usr/bin/vormel'"
  expect "vormel man page" "gzip -t '$work/root/usr/share/man/man1/vormel.1.gz'"
  expect "desktop entry" "grep -q '^Exec=vormel' '$work/root/usr/share/applications/vormel.desktop'"
  expect "icon" "test -s '$work/root/usr/share/icons/hicolor/scalable/apps/vormel.svg'"
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
expect "vormelc --version from the package" "'$work/root/usr/bin/vormelc' --version | grep -q '$version'"
if test -x "$work/root/usr/bin/vormel"; then
  # Without any display: the answers come before a window is made.
  no_display="env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM"
  expect "vormel --version without a display" "$no_display '$work/root/usr/bin/vormel' --version | grep -q '$version'"
  expect "vormel --help without a display" "$no_display '$work/root/usr/bin/vormel' --help | grep -q '^Usage: vormel'"
fi
if command -v lintian > /dev/null; then
  expect "lintian finds no error or warning" \
    "lintian --fail-on error,warning '$deb' > '$work/lintian.log' 2>&1 || { cat '$work/lintian.log'; false; }"
fi
cp "$source/examples/full_adder.tab" "$work/full_adder.tab"
expect "a whole job from the package" \
  "(cd '$work' && '$work/root/usr/bin/vormelc' -q full_adder.tab --export blif --summary full_adder.json)"
expect "its report" "grep -q 'Comparison with original expanded Inputs successful' '$work/full_adder.tab.rpt'"
expect "its export" "grep -q '^.model full_adder' '$work/full_adder.tab.blif'"
expect "its summary" "grep -q '\"proof\": \"passed\"' '$work/full_adder.json'"

module_dir=$work/root/usr/lib/python3/dist-packages
if ls "$module_dir"/vormel.*.so > /dev/null 2>&1; then
  expect "the Python module from the package" \
    "PYTHONPATH='$module_dir' ${PYTHON:-python3} -c \"import vormel; assert vormel.minimize('$work/full_adder.tab').proof == 'proven equal'\""
fi

if [ "$status" -eq 0 ]; then echo "package test: $(basename "$deb") passed"; fi
exit "$status"
