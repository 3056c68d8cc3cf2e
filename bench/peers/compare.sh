#!/usr/bin/env bash
# Side by side with dcmtk, in one run: the commands of each job alternate run by run and the
# medians of wall time, CPU (user, system) and peak memory are reported with their ratio
# (ours / peer; below 1 means ours is faster or smaller).
#   headers   read_folder --headers       vs dcmdump -q -M +sd +r
#   whole     read_folder --whole         vs dcmdump -q +sd +r
#   fileset   dicom_dump --build          vs dcmmkdir +r +id . +D DICOMDIR +I
#   dicomdir  dicom_dump DICOMDIR (N records, 25,000 50,000 100,000) vs dcmdump -q DICOMDIR
# usage: bench/peers/compare.sh [IMAGES] [RUNS] [BUILD] [JOBS]
#   defaults 5000 5 build/release "headers whole fileset dicomdir"; the folder is generated once
#   under $BENCH_DATA (default /tmp/vistrel-bench) and kept for later runs.
set -euo pipefail
cd "$(dirname "$0")/../.."
images=${1:-5000}
runs=${2:-5}
build=${3:-build/release}
jobs=${4:-headers whole fileset dicomdir}
data=${BENCH_DATA:-/tmp/vistrel-bench}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

folder="$data/ct$images"
if [ ! -f "$folder.complete" ]; then
  rm -rf "$folder"
  /usr/bin/python3 bench/peers/make_folder.py ct "$images" "$folder"
  touch "$folder.complete"
fi
echo "folder: $(find "$folder" -type f -name 'IM*' | wc -l) files, $(du -sb "$folder" | cut -f1) bytes"

# measure NAME LABEL command...: one run, appends "wall user sys maxrss_kb" to $out/NAME.LABEL
measure() {
  local name=$1 label=$2
  shift 2
  /usr/bin/time -f "%e %U %S %M" -o "$out/t" "$@" > /dev/null 2> "$out/err" || {
    echo "$name/$label failed: $(tail -2 "$out/err")"
  }
  cat "$out/t" >> "$out/$name.$label"
}

report() {  # NAME: medians and ratios of ours against the peer
  /usr/bin/python3 - "$out/$1.ours" "$out/$1.peer" "$1" <<'PY'
import statistics, sys
def load(p):
    rows = [list(map(float, l.split())) for l in open(p) if l.strip() and l.split()[0][0].isdigit()]
    return [statistics.median(c) for c in zip(*rows)]
o, p = load(sys.argv[1]), load(sys.argv[2])
name = sys.argv[3]
print(f"{name:18} {'wall s':>8} {'user s':>8} {'sys s':>8} {'sys/cpu':>8} {'peak MB':>8}")
for label, v in (("ours", o), ("peer", p)):
    cpu = v[1] + v[2]
    print(f"  {label:16} {v[0]:8.2f} {v[1]:8.2f} {v[2]:8.2f} {v[2] / cpu if cpu else 0:8.2f} {v[3] / 1024:8.1f}")
print(f"  {'ratio ours/peer':16} {o[0] / p[0]:8.2f} {o[1] / p[1] if p[1] else 0:8.2f} "
      f"{o[2] / p[2] if p[2] else 0:8.2f} {'':8} {o[3] / p[3]:8.2f}")
PY
}

for job in $jobs; do
  case $job in
    headers)
      for ((i = 0; i < runs; i++)); do
        measure headers ours "$build/out/read_folder" --headers "$folder"
        measure headers peer dcmdump -q -M +sd +r "$folder"
      done
      report headers ;;
    whole)
      for ((i = 0; i < runs; i++)); do
        measure whole ours "$build/out/read_folder" --whole "$folder"
        measure whole peer dcmdump -q +sd +r "$folder"
      done
      report whole ;;
    fileset)
      for ((i = 0; i < runs; i++)); do
        rm -f "$folder/DICOMDIR"
        measure fileset ours "$build/tests/tools/dicom_dump" --build "$folder"
        rm -f "$folder/DICOMDIR"
        measure fileset peer bash -c "cd '$folder' && exec dcmmkdir -q +r +id . +D DICOMDIR +I"
      done
      rm -f "$folder/DICOMDIR"
      report fileset ;;
    dicomdir)
      for n in 25000 50000 100000; do
        dir="$data/DICOMDIR$n"
        [ -f "$dir" ] || /usr/bin/python3 bench/peers/make_folder.py dicomdir "$n" "$dir"
        for ((i = 0; i < runs; i++)); do
          measure "dicomdir$n" ours "$build/tests/tools/dicom_dump" "$dir"
          measure "dicomdir$n" peer dcmdump -q "$dir"
        done
        report "dicomdir$n"
      done ;;
  esac
done
