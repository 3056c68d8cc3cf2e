#!/usr/bin/env bash
# Runs the studies panel demonstration under Xvfb when xvfb-run is there (offscreen otherwise) and
# checks that the screenshot was written.
set -euo pipefail
demo="$1"
out="$2"
supp="$3"
rm -f "$out"
export LSAN_OPTIONS="suppressions=${supp}${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
if command -v xvfb-run >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1; then
  xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb "$demo" "$out"
else
  echo "Xvfb or xdotool not available: rendering offscreen"
  QT_QPA_PLATFORM=offscreen "$demo" "$out"
fi
test -s "$out"
