#!/usr/bin/env bash
# Runs the form screens under Xvfb when xvfb-run is there, else on the offscreen platform, and
# checks that every screenshot was written.
set -euo pipefail
program="$1"
folder="$2"
splash="$3"
shots="about_question.png about_window.png loading_bar.png"
for f in $shots; do rm -f "$folder/$f"; done
export LSAN_OPTIONS="suppressions=$(dirname "$0")/../../../platform/vcl/tests/lsan_qt.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
if command -v xvfb-run >/dev/null 2>&1 &&
   xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb "$program" "$folder" "$splash"; then
  :
else
  echo "Xvfb not available: rendering offscreen"
  QT_QPA_PLATFORM=offscreen "$program" "$folder" "$splash"
fi
for f in $shots; do
  test -s "$folder/$f"
done
