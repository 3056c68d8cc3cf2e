#!/usr/bin/env bash
# Runs the widget screens under Xvfb (xdotool moves the real pointer) when xvfb-run is there,
# else on the offscreen platform, and checks that every screenshot was written.
set -euo pipefail
program="$1"
folder="$2"
rm -f "$folder"/popup_item_painter.png "$folder"/study_status_dropdown.png "$folder"/free_matrix_chooser.png
export LSAN_OPTIONS="suppressions=$(dirname "$0")/../../../platform/vcl/tests/lsan_qt.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
if command -v xvfb-run >/dev/null 2>&1 &&
   xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb "$program" "$folder"; then
  :
else
  echo "Xvfb not available: rendering offscreen"
  QT_QPA_PLATFORM=offscreen "$program" "$folder"
fi
for f in popup_item_painter.png study_status_dropdown.png free_matrix_chooser.png; do
  test -s "$folder/$f"
done
