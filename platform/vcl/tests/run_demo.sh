#!/usr/bin/env bash
# Runs the demonstration form under Xvfb when xvfb-run is there (falling back to the offscreen
# platform when there is none or the X server does not start) and checks that the
# screenshot was written.
set -euo pipefail
demo="$1"
out="$2"
rm -f "$out"
# System libraries under the X11 plugin keep some allocations until exit.
export LSAN_OPTIONS="suppressions=$(dirname "$0")/lsan_qt.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
if command -v xvfb-run >/dev/null 2>&1 &&
   xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb "$demo" "$out"; then
  :
else
  echo "Xvfb not available: rendering offscreen"
  QT_QPA_PLATFORM=offscreen "$demo" "$out"
fi
test -s "$out"
