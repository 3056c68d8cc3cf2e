#!/usr/bin/env bash
# Times writing the same generated files with the workstation's writers and reading them back
# (bench_dicom_io_write, in process), and with dcmconv (read and write, one process per file)
# and dcmdump (read only, one process per file).
# usage: bench/dicom_io_write/compare.sh [COUNT] [BUILD]   (defaults 300 build/release)
set -euo pipefail
cd "$(dirname "$0")/../.."
count=${1:-300}
build=${2:-build/release}
dir=$(mktemp -d)
out=$(mktemp -d)
trap 'rm -rf "$dir" "$out"' EXIT

/usr/bin/python3 bench/dicom_io/make_files.py "$count" "$dir"
bytes=$(du -cb "$dir"/*.dcm | tail -1 | cut -f1)
echo "files: $count, bytes: $bytes"

DICOM_IO_BENCH_DIR="$dir" "$build/out/bench_dicom_io_write" --benchmark_counters_tabular=true

t0=$(date +%s.%N)
for f in "$dir"/*.dcm; do dcmconv "$f" "$out/$(basename "$f")" > /dev/null 2>&1 || true; done
t1=$(date +%s.%N)
rate() { awk -v a="$2" -v b="$3" -v n="$count" -v by="$bytes" -v what="$1" \
  'BEGIN { s = b - a; printf "%-28s %8.1f files/s %8.1f MB/s\n", what, n / s, by / s / 1e6 }'; }
rate "dcmconv (read + write)" "$t0" "$t1"
t0=$(date +%s.%N)
for f in "$out"/*.dcm; do dcmdump -q "$f" > /dev/null 2>&1 || true; done
t1=$(date +%s.%N)
rate "dcmdump (read back)" "$t0" "$t1"
