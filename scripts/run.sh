#!/usr/bin/env bash
# Installs what is needed, builds the workstation and runs it on the bundled sample file set.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j "$(nproc)"

out="$build/out"
# On a desktop the windows open there; without a display they run under Xvfb.
run_gui() {
  if [ -n "${DISPLAY:-}" ]; then
    "$@"
  else
    xvfb-run -a -s "-screen 0 1280x1024x24" "$@"
  fi
}

echo "Start-up of Vistrel.exe (settings, language module, cursors, hints, colours, session"
echo "number); the main window is not built yet, so it ends after its start-up sequence:"
run_gui "$out/Vistrel.exe" "$@"

echo
echo "The bundled sample file set beside the executable ($out/DICOMDIR), as the file set reads it:"
"$build/tests/tools/dicom_dump" --fileset "$out/DICOMDIR"

shot="$out/screenshots/run_sample_ct.png"
ct="$out/SAMPLE/CT1/CT/IM0001"
echo
echo "The rendering engine Pixtrane.exe draws the sample's CT slice ($ct) in a work-area panel"
echo "for a few seconds (the window/level tool is on: drag with the left button):"
run_gui "$out/panel_demo" "$shot" "$ct"
echo "A picture of that window: $shot"
echo "Run the tests with: bash scripts/test.sh"
