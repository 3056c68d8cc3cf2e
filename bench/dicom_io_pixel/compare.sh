#!/usr/bin/env bash
# The conversion benchmark beside dcmtk on the same 100-frame 512 x 512 file, in one run:
# bench_dicom_io_pixel (in process), then dcmcjpeg +e1, dcmcrle, dcmcjpeg +ee (lossy 12-bit),
# dcmdjpeg and dcmdrle timed as processes. usage: bench/dicom_io_pixel/compare.sh [BUILD]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/release}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
DICOM_IO_PIXEL_BENCH_FILE="$dir/native.dcm" "$build/out/bench_dicom_io_pixel" --benchmark_counters_tabular=true
bytes=$((512 * 512 * 2 * 100))
rate() {  # label command...
  local label=$1 t0 t1
  shift
  t0=$(date +%s.%N)
  "$@" > /dev/null 2>&1
  t1=$(date +%s.%N)
  awk -v l="$label" -v a="$t0" -v b="$t1" -v n="$bytes" 'BEGIN { printf "%-22s %8.1f MB/s\n", l, n / (b - a) / 1e6 }'
}
rate "dcmcjpeg +e1" dcmcjpeg +e1 "$dir/native.dcm" "$dir/jpeg.dcm"
rate "dcmcrle" dcmcrle "$dir/native.dcm" "$dir/rle.dcm"
rate "dcmcjpeg +ee" dcmcjpeg +ee "$dir/native.dcm" "$dir/lossy.dcm"
rate "dcmdjpeg" dcmdjpeg "$dir/jpeg.dcm" "$dir/jpeg_back.dcm"
rate "dcmdjpeg (lossy)" dcmdjpeg "$dir/lossy.dcm" "$dir/lossy_back.dcm"
rate "dcmdrle" dcmdrle "$dir/rle.dcm" "$dir/rle_back.dcm"
