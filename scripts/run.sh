#!/usr/bin/env bash
# Installs what is needed, builds the workstation and runs it on the bundled sample file set.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j "$(nproc)"

out="$build/out"
if [ -x "$out/Vistrel.exe" ]; then
  exec "$out/Vistrel.exe" "$@"
fi
echo "The workstation's main window is not built yet. Today the build makes the platform layers,"
echo "the DICOM library, the information entities and the file set, the components and the GUI"
echo "support library in $out."
dump="$build/tests/tools/dicom_dump"
if [ -x "$dump" ] && [ -f "$out/DICOMDIR" ]; then
  echo
  echo "The bundled sample file set beside the executable ($out/DICOMDIR), as the file set reads it:"
  "$dump" --fileset "$out/DICOMDIR"
  echo
  echo "Its first file, read by the DICOM library (data/sample/CT0001.dcm):"
  "$dump" data/sample/CT0001.dcm | head -n 40 || true
fi
echo "Run the tests with: bash scripts/test.sh"
