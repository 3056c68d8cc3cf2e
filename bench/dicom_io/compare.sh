#!/usr/bin/env bash
# Times reading the same generated files with the workstation's reader (bench_dicom_io, in
# process), with dcmdump (one process for all files) and with pydicom (one process), headers
# only and whole. usage: bench/dicom_io/compare.sh [COUNT] [BUILD]   (defaults 300 build/release)
set -euo pipefail
cd "$(dirname "$0")/../.."
count=${1:-300}
build=${2:-build/release}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

/usr/bin/python3 bench/dicom_io/make_files.py "$count" "$dir"
bytes=$(du -cb "$dir"/*.dcm | tail -1 | cut -f1)
echo "files: $count, bytes: $bytes"

rate() {  # label seconds
  awk -v l="$1" -v s="$2" -v n="$count" -v b="$bytes" \
    'BEGIN { printf "%-28s %8.1f files/s %8.1f MB/s\n", l, n / s, b / s / 1e6 }'
}
seconds() {  # command...: wall time of the command
  local t0 t1
  t0=$(date +%s.%N)
  "$@" > /dev/null 2>&1 || true
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" 'BEGIN { print b - a }'
}

DICOM_IO_BENCH_DIR="$dir" "$build/out/bench_dicom_io" --benchmark_counters_tabular=true

rate "dcmdump headers (+sb 7fe0,0010)" "$(seconds dcmdump -q +sb 7fe0,0010 "$dir"/*.dcm)"
rate "dcmdump whole" "$(seconds dcmdump -q "$dir"/*.dcm)"
py() {
  /usr/bin/python3 - "$dir" "$1" <<'PY'
import glob, sys, pydicom
for f in sorted(glob.glob(sys.argv[1] + "/*.dcm")):
    ds = pydicom.dcmread(f, stop_before_pixels=(sys.argv[2] == "header"))
    ds.PixelData if sys.argv[2] == "whole" and "PixelData" in ds else None
PY
}
rate "pydicom headers" "$(seconds py header)"
rate "pydicom whole" "$(seconds py whole)"
