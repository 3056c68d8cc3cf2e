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
echo "the DICOM library as far as reading files, the components and the GUI support library in $out."
sample="data/sample/CT0001.dcm"
if [ -x "$build/tests/tools/dicom_dump" ] && [ -f "$sample" ]; then
  echo "The bundled sample file, read by the DICOM library ($sample):"
  "$build/tests/tools/dicom_dump" "$sample" | head -n 40
fi
echo "Run the tests with: bash scripts/test.sh"
