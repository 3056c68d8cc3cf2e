#!/usr/bin/env bash
# Builds an optimised build and runs the benchmarks in bench/ (not part of the test command).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j "$(nproc)"
for b in "$build"/out/bench_*; do
  [ -x "$b" ] && "$b" "$@"
done
