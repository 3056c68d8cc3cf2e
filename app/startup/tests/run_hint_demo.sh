#!/usr/bin/env bash
# Runs the hint demonstration under Xvfb and saves a screenshot of the screen while the hint
# windows show. Skipped (77) without xvfb-run or import.
set -euo pipefail
demo="$1"
shot="$2"
for tool in xvfb-run import xdotool; do
  command -v "$tool" >/dev/null 2>&1 || { echo "no $tool: skipped"; exit 77; }
done
mkdir -p "$(dirname "$shot")"
rm -f "$shot"
export LSAN_OPTIONS="suppressions=$(dirname "$0")/../../../platform/vcl/tests/lsan_qt.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
xvfb-run -a -s "-screen 0 640x320x24" bash -c '
  set -euo pipefail
  QT_QPA_PLATFORM=xcb timeout 120 "$0" 5000 &
  pid=$!
  trap "kill -9 $pid 2>/dev/null || true" EXIT
  timeout 60 xdotool search --sync --onlyvisible --name "Hint demo" >/dev/null
  sleep 1.5
  import -window root "$1"
  wait $pid' "$demo" "$shot"
test -s "$shot"
