#!/usr/bin/env bash
# Installs what is needed, builds the workstation and runs it on the bundled sample file set.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j "$(nproc)"

out="$build/out"
mkdir -p "$out/screenshots"

if [ -n "${DISPLAY:-}" ]; then
  echo "Vistrel.exe opens the DICOMDIR beside it ($out/DICOMDIR, the bundled sample); answer its"
  echo "start-up question with Yes. Another DICOMDIR or a folder of DICOM files: File > open"
  echo "dicomdir file / open folder."
  "$out/Vistrel.exe" "$@"
else
  # No display: the program runs under Xvfb, the start-up question and the patient navigator
  # are answered with xdotool, and a picture of the main window is saved.
  shot="$(pwd)/$out/screenshots/run_main_window.png"
  inside=$(mktemp)
  trap 'rm -f "$inside"' EXIT
  cat >"$inside" <<INNER
set -euo pipefail
cd "$out"
VISTREL_REPORT_WINDOW=1 ./Vistrel.exe >vistrel_run.log 2>&1 &
pid=\$!
trap 'kill -9 \$pid 2>/dev/null || true' EXIT
about=\$(timeout 90 xdotool search --sync --onlyvisible --name "About Vistrel" | head -n 1)
sleep 0.5
xdotool mousemove --window "\$about" 273 290 click 1
if nav=\$(timeout 30 xdotool search --sync --onlyvisible --name "DICOMDIR Navigator" | head -n 1); then
  sleep 1
  eval \$(xdotool getwindowgeometry --shell "\$nav")
  xdotool mousemove --window "\$nav" \$((WIDTH * 812 / 982)) \$((HEIGHT - 17)) click 1
fi
for i in \$(seq 1 150); do grep -q "boxes complete" vistrel_run.log && break; sleep 0.2; done
sleep 2
import -window root "$shot"
cat vistrel_run.log
INNER
  echo "Vistrel.exe on the bundled sample file set ($out/DICOMDIR) under Xvfb:"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash "$inside"
  echo "A picture of the main window: $shot"
fi

shot="$out/screenshots/run_sample_ct.png"
ct="$out/SAMPLE/CT1/CT/IM0001"
echo
echo "The rendering engine Pixtrane.exe draws the sample's CT slice ($ct) in a work-area panel"
echo "for a few seconds (the window/level tool is on: drag with the left button):"
if [ -n "${DISPLAY:-}" ]; then "$out/panel_demo" "$shot" "$ct"; else xvfb-run -a -s "-screen 0 1280x1024x24" "$out/panel_demo" "$shot" "$ct"; fi
echo "A picture of that window: $shot"
echo "Run the tests with: bash scripts/test.sh"
