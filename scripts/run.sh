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
echo "The workstation's main window is not built yet: today the build makes the platform"
echo "layer and the base library (with their tests and benchmarks) in $out."
echo "Run the tests with: bash scripts/test.sh"
