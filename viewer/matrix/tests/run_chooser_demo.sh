#!/usr/bin/env bash
# Runs the matrix chooser demo under Xvfb and drives it with real input (xdotool): the mouse
# moves onto grid cell (3, 4), the demo saves its screenshot, and a click chooses 3 x 4.
# Without xvfb-run or xdotool the demo drives itself on the offscreen platform.
set -euo pipefail
demo="$1"
out="$2"
here="$(cd "$(dirname "$0")" && pwd)"
export LSAN_OPTIONS="suppressions=$here/../../../platform/vcl/tests/lsan_qt.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

if [ "${3:-}" = "--inside" ]; then
  rm -f "$out.target"
  # The time-out ends the demo should the input never reach it.
  QT_QPA_PLATFORM=xcb timeout 40 "$demo" "$out" &
  pid=$!
  for _ in $(seq 1 150); do
    [ -s "$out.target" ] && break
    sleep 0.1
  done
  if [ -s "$out.target" ]; then
    read -r x y < "$out.target"
    xdotool mousemove 5 5
    sleep 0.3
    xdotool mousemove "$x" "$y"
    sleep 1.2
    xdotool click 1
  fi
  status=0
  wait "$pid" || status=$?
  rm -f "$out.target"
  exit "$status"
fi

mkdir -p "$(dirname "$out")"
rm -f "$out"
if command -v xvfb-run >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1; then
  xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$demo" "$out" --inside
else
  echo "Xvfb or xdotool not available: the demo drives itself offscreen"
  QT_QPA_PLATFORM=offscreen timeout 40 "$demo" "$out" --self
  rm -f "$out.target"
fi
test -s "$out"
