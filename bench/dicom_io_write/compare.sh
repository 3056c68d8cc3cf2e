#!/usr/bin/env bash
# Times writing the same generated files with the workstation's writers (bench_dicom_io_write,
# in process, files already read) and with dcmconv (read and write, one process per file).
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
awk -v a="$t0" -v b="$t1" -v n="$count" -v by="$bytes" \
  'BEGIN { s = b - a; printf "%-28s %8.1f files/s %8.1f MB/s\n", "dcmconv (read + write)", n / s, by / s / 1e6 }'
