#!/usr/bin/env bash
# build_sample.sh DICOM_DUMP OUT STAGE: makes the bundled sample file set beside the executable.
# The images (data/make_real_sample.py) are made in STAGE, the file set is built there as the
# workstation's open-folder command builds it (dicom_dump --build: records, stacks, icons, the
# private pixel-data index, and our own DICOMDIR), and then OUT/SAMPLE and OUT/DICOMDIR are
# replaced by the result, with the licences of the scans in OUT/SAMPLE_LICENSES. The record tree is kept in STAGE/tree.txt.
set -euo pipefail
DUMP="$1"
OUT="$2"
STAGE="$3"
HERE="$(cd "$(dirname "$0")" && pwd)"

rm -rf "$STAGE"
mkdir -p "$STAGE"
/usr/bin/python3 "$HERE/make_real_sample.py" "$STAGE"
if ! "$DUMP" --build "$STAGE" > "$STAGE/tree.txt" 2>&1; then
  cat "$STAGE/tree.txt" >&2
  exit 1
fi
[ -f "$STAGE/DICOMDIR" ] || { echo "build_sample: no DICOMDIR was written" >&2; exit 1; }

# Replace the old sample only once the new one is complete.
rm -rf "$OUT/SAMPLE.new"
cp -r "$STAGE/SAMPLE" "$OUT/SAMPLE.new"
cp "$STAGE/DICOMDIR" "$OUT/DICOMDIR.new"
rm -rf "$OUT/SAMPLE"
mv "$OUT/SAMPLE.new" "$OUT/SAMPLE"
mv "$OUT/DICOMDIR.new" "$OUT/DICOMDIR"

# The licences of the real scans travel with them (their notices must be reproduced).
mkdir -p "$OUT/SAMPLE_LICENSES"
for package in python3-pydicom libgdcm3.0 dicom3tools; do
  copyright="/usr/share/doc/$package/copyright"
  [ -f "$copyright" ] && cp "$copyright" "$OUT/SAMPLE_LICENSES/$package.copyright"
done
cp "$HERE/README.md" "$OUT/SAMPLE_LICENSES/README.md"
