#!/usr/bin/env bash
# The Emergency Exit window on a real X server: under openbox it is stacked above the main window
# (it once started behind it, as it set no transient-for hint) and has the window manager's title
# bar; without a window manager it is above as well and draws a title bar of its own.
# Usage: emergency_stacking.sh PROGRAM   (needs xvfb-run, openbox, xwininfo and xprop)
set -euo pipefail
program=$(realpath "$1")
for tool in xvfb-run openbox xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "missing $tool (scripts/setup.sh installs it)" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

cat > probe.sh <<'PROBE'
set -eu  # no pipefail: awk leaves xwininfo's output unread
program=$1 manager=$2
if [ "$manager" = openbox ]; then openbox >/dev/null 2>&1 & sleep 1; fi
"$program" >/dev/null 2>&1 & pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
emergency=""
for _ in $(seq 50); do
  emergency=$(xwininfo -root -tree | awk '/"Emergency Exit"/ {print $1; exit}')
  main=$(xwininfo -root -tree | awk '/"Vormel Logic Optimization": \("vormel"/ {print $1; exit}')
  [ -n "$emergency" ] && [ -n "$main" ] && break
  sleep 0.2
done
[ -n "$emergency" ] || { echo "no Emergency Exit window"; exit 1; }
sleep 1.5
height=$(xwininfo -id "$emergency" | awk '/Height:/ {print $2}')
if [ "$manager" = openbox ]; then
  xprop -id "$emergency" WM_TRANSIENT_FOR | grep -qi "$main" || { echo "not transient for the main window"; exit 1; }
  stacking=$(xprop -root _NET_CLIENT_LIST_STACKING)
  order=$(echo "$stacking" | tr -s ', ' '\n' | grep -n -i -E "^($main|$emergency)$" | cut -d: -f2 | tr '\n' ' ')
  [ "$order" = "$main $emergency " ] || { echo "stacked below the main window: $stacking"; exit 1; }
else
  # Without a window manager the top-level windows are the root's children, listed top first.
  order=$(xwininfo -root -children | awk '{print $1}' | grep -i -E "^($main|$emergency)$" | tr '\n' ' ')
  [ "$order" = "$emergency $main " ] || { echo "stacked below the main window: $order"; exit 1; }
fi
echo "$height"
PROBE

with_manager=$(QT_QPA_PLATFORM=xcb timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" bash probe.sh "$program" openbox | tail -n 1)
without=$(QT_QPA_PLATFORM=xcb timeout 60 xvfb-run -a -s "-screen 0 1024x768x24" bash probe.sh "$program" none | tail -n 1)
echo "height under openbox: $with_manager, without a window manager: $without"
[[ "$with_manager" =~ ^[0-9]+$ && "$without" =~ ^[0-9]+$ ]] || { echo "FAILED: $with_manager / $without"; exit 1; }
# Its own title bar makes it taller where nothing frames it.
(( without > with_manager )) || { echo "FAILED: no title bar of its own without a window manager"; exit 1; }
echo "PASSED"
