#!/usr/bin/env bash
# Runs the tiles demonstration under Xvfb when xvfb-run and xdotool are there (offscreen
# otherwise) and checks that the screenshot was written.
set -euo pipefail
demo="$1"
generator="$2"
scratch="$3"
out="$4"
supp="$5"
rm -f "$out"
mkdir -p "$(dirname "$out")"
export LSAN_OPTIONS="suppressions=${supp}${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
if command -v xvfb-run >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1; then
  xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb "$demo" "$generator" "$scratch" "$out"
else
  echo "Xvfb or xdotool not available: rendering offscreen"
  QT_QPA_PLATFORM=offscreen "$demo" "$generator" "$scratch" "$out"
fi
rm -rf "$scratch"
test -s "$out"
