#!/usr/bin/env bash
# Runs the desktop program under a virtual X server on an input file (a whole run at display
# level 0, as from the command line) and saves the screen after the run as a PNG.
# Usage: scripts/screenshot.sh [output.png] [input file] [screen size] [pictures]
#   screen size as WIDTHxHEIGHT (default 1600x1000); "pictures" opens the result pictures too,
#   "open" only opens the file (no run), "editor" opens it in the table editor as well.
#   Needs xvfb: apt-get install -y xvfb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
output=$(realpath -m "${1:-$root/docs/screenshot.png}")
input=${2:-$root/bench/data/pla/alu2.pla}
screen=${3:-1600x1000}
pictures=${4:-}
program="$build/src/ui/vormel"
[ -x "$program" ] || { echo "build the desktop program first: $program" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "xvfb-run not found: apt-get install -y xvfb" >&2; exit 1; }

# A run writes its reports beside its input: work on a copy.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$input" "$work/"
mkdir -p "$(dirname "$output")"
cd "$work"
case "$pictures" in
  pictures) export VORMEL_SCREENSHOT_PICTURES=1 ;;
  open) export VORMEL_SCREENSHOT_OPEN=1 ;;
  editor) export VORMEL_SCREENSHOT_EDITOR=1 ;;
esac
VORMEL_SCREENSHOT="$output" QT_QPA_PLATFORM=xcb timeout 120 \
  xvfb-run -a -s "-screen 0 ${screen}x24" "$program" "$work/$(basename "$input")"
echo "saved $output"
