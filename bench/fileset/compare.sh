#!/usr/bin/env bash
# Builds a file set and its DICOMDIR from one folder of generated CT images with the
# workstation's file set (bench_fileset, in process), with dcmmkdir and with gdcmgendir, in the
# same run. usage: bench/fileset/compare.sh [IMAGES] [BUILD]   (defaults 5000 build/release)
# The images come as 5 patients x 2 studies x 2 series; IMAGES is rounded down to a multiple of 20.
set -euo pipefail
cd "$(dirname "$0")/../.."
images=${1:-5000}
build=${2:-build/release}
per=$((images / 20))
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

/usr/bin/python3 tests/tools/make_fileset_folder.py "$dir/images" 5 2 2 "$per" --ct
count=$(find "$dir/images" -type f | wc -l)
echo "images: $count, bytes: $(du -sb "$dir/images" | cut -f1)"

FILESET_BENCH_DIR="$dir/images" "$build/out/bench_fileset" --benchmark_filter=BuildAndWriteDicomDir \
  --benchmark_counters_tabular=true

time_it() {  # label command...
  local t0 t1
  t0=$(date +%s.%N)
  "${@:2}" > /dev/null 2>&1 || echo "$1 failed"
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" -v n="$count" -v l="$1" 'BEGIN { s = b - a; printf "%-32s %8.0f ms %8.0f images/s\n", l, s * 1000, n / s }'
}
rm -f "$dir/images/DICOMDIR"
time_it "dcmmkdir +r (general purpose)" bash -c "cd '$dir/images' && dcmmkdir -q +r +id . -Pgp"
rm -f "$dir/images/DICOMDIR"
time_it "gdcmgendir -r" gdcmgendir -i "$dir/images" -o "$dir/images/DICOMDIR" -r
