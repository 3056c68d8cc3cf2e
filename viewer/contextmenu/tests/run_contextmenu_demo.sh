#!/usr/bin/env bash
# Runs the context-menu demo under Xvfb and drives it with real input (xdotool): a right
# click opens the menu, the mouse rests on "Palette presets" until its submenu opens (the
# demo saves its screenshot then), and a click chooses the second preset. Each step's point
# comes from the demo through <png>.target. Without xvfb-run or xdotool the demo drives
# itself on the offscreen platform.
set -euo pipefail
demo="$1"
out="$2"
here="$(cd "$(dirname "$0")" && pwd)"
export LSAN_OPTIONS="suppressions=$here/../../../platform/vcl/tests/lsan_qt.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

if [ "${3:-}" = "--inside" ]; then
  rm -f "$out.target"
  # The time-out ends the demo should the input never reach it.
  QT_QPA_PLATFORM=xcb timeout 60 "$demo" "$out" &
  pid=$!
  done_step=0
  for _ in $(seq 1 400); do
    if [ -s "$out.target" ]; then
      read -r step x y < "$out.target" || true
      if [ -n "${step:-}" ] && [ "$step" -gt "$done_step" ]; then
        case "$step" in
          1) xdotool mousemove "$x" "$y"; sleep 0.3; xdotool click 3 ;;
          2) xdotool mousemove "$x" "$y" ;;
          3) sleep 0.3; xdotool mousemove "$x" "$y"; sleep 0.4; xdotool click 1 ;;
        esac
        done_step="$step"
      fi
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
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
  QT_QPA_PLATFORM=offscreen timeout 60 "$demo" "$out" --self
  rm -f "$out.target"
fi
test -s "$out"
