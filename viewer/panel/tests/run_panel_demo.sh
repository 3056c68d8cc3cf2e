#!/usr/bin/env bash
# Runs panel_demo under Xvfb (offscreen when there is no xvfb-run) on a real CT slice (the
# CT_small.dcm that pydicom ships), drags across the panel with xdotool while the VOI tool is
# on (panel_demo_drag.sh), and checks that the screenshot was written.
set -euo pipefail
demo="$1"
out="$2"
mkdir -p "$(dirname "$out")"
rm -f "$out"
ct=$(/usr/bin/python3 -c "from pydicom.data import get_testdata_file; print(get_testdata_file('CT_small.dcm'))")
here="$(cd "$(dirname "$0")" && pwd)"
export LSAN_OPTIONS="suppressions=$here/../../../platform/vcl/tests/lsan_qt.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
if command -v xvfb-run >/dev/null 2>&1 &&
   xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb bash "$here/panel_demo_drag.sh" "$demo" "$out" "$ct"; then
  :
else
  echo "Xvfb not available: rendering offscreen"
  QT_QPA_PLATFORM=offscreen bash "$here/panel_demo_drag.sh" "$demo" "$out" "$ct"
fi
test -s "$out"
