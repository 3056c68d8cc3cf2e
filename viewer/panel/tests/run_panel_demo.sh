#!/usr/bin/env bash
# Runs panel_demo under Xvfb (offscreen when there is no xvfb-run) on a real CT slice (the
# CT_small.dcm that pydicom ships), drags across the panel with xdotool while the VOI tool is
# on, and checks that the screenshot was written.
set -euo pipefail
demo="$1"
out="$2"
rm -f "$out"
ct=$(/usr/bin/python3 -c "from pydicom.data import get_testdata_file; print(get_testdata_file('CT_small.dcm'))")
export LSAN_OPTIONS="suppressions=$(dirname "$0")/../../../platform/vcl/tests/lsan_qt.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
inner() {
  # Start the demo, wait for its "ready x y w h" line, drag with the real mouse, wait for it.
  "$demo" "$out" "$ct" > "$out.log" 2>&1 &
  pid=$!
  for _ in $(seq 1 200); do
    grep -q '^ready' "$out.log" 2>/dev/null && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.1
  done
  if grep -q '^ready' "$out.log" && command -v xdotool >/dev/null 2>&1 && [ -n "${DISPLAY:-}" ]; then
    read -r _ x y w h < <(grep '^ready' "$out.log")
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) mousedown 1
    for step in 1 2 3 4 5 6; do xdotool mousemove $((x + w / 2 - 8 * step)) $((y + h / 2 - 4 * step)); sleep 0.05; done
    xdotool mouseup 1
  fi
  wait $pid
}
export -f inner
export demo out ct
if command -v xvfb-run >/dev/null 2>&1 && xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb bash -c inner; then
  :
else
  echo "Xvfb not available: rendering offscreen"
  QT_QPA_PLATFORM=offscreen bash -c inner
fi
cat "$out.log"
test -s "$out"
