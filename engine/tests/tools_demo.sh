#!/usr/bin/env bash
# Runs tools_demo under Xvfb: the left panel shows the sample CT (or the CT of the engine
# tests when there is no sample), the right one a sagittal slice generated in its frame of
# reference; xdotool draws one measurement of each kind with the real mouse, then holds the
# magnifier down while the demo saves the screenshot. Without Xvfb or xdotool it fails.
set -euo pipefail
demo="$1"
out="$2"
here="$(cd "$(dirname "$0")" && pwd)"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ct="SAMPLE/CT1/CT/IM0001"
if [ ! -f "$ct" ]; then
  /usr/bin/python3 "$here/make_stacks.py" "$work/stacks" > /dev/null
  ct="$work/stacks/ct/ct000.dcm"
fi
/usr/bin/python3 "$here/make_sagittal.py" "$ct" "$work/sag.dcm"
mkdir -p "$(dirname "$out")"
rm -f "$out"
export LSAN_OPTIONS="suppressions=$here/../../platform/vcl/tests/lsan_qt.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb bash "$here/tools_demo_input.sh" "$demo" "$out" "$ct" "$work/sag.dcm"
test -s "$out"
