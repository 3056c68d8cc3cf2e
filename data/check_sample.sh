#!/bin/bash
# check_sample.sh DICOM_DUMP OUT TOOLS: the sample file set beside the executable.
# 1. Our reader and pydicom (following the offsets) read the same record tree from OUT/DICOMDIR,
#    which holds the sample's patients and modalities, each series with its stacks.
# 2. dciodvfy finds no error in the DICOMDIR; dcmdump and gdcmdump read it.
# 3. Every image dcmdump reads, and dciodvfy reports no error in it that the same image made
#    afresh from its source (before our file set rewrote it) does not have.
set -u
DUMP="$1"
OUT="$2"
TOOLS="$3"
HERE="$(cd "$(dirname "$0")" && pwd)"
PY=/usr/bin/python3
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
FAILED=0
fail() { echo "FAIL: $*"; FAILED=1; }

[ -f "$OUT/DICOMDIR" ] || { echo "FAIL: no $OUT/DICOMDIR"; exit 1; }
"$DUMP" --fileset "$OUT/DICOMDIR" > "$WORK/mine.txt" 2>&1 || fail "dicom_dump --fileset: $(head -3 "$WORK/mine.txt")"
"$PY" "$TOOLS/fileset_tree_pydicom.py" "$OUT/DICOMDIR" --fileset > "$WORK/theirs.txt" 2> "$WORK/py.err" ||
  fail "pydicom: $(tail -1 "$WORK/py.err")"
diff "$WORK/mine.txt" "$WORK/theirs.txt" > "$WORK/diff.txt" || fail "trees differ: $(head -5 "$WORK/diff.txt")"

patients="$(grep -o '^PATIENT PatientID=[^ ]*' "$WORK/mine.txt" | sed 's/.*=//' | sort | tr '\n' ' ')"
[ "$patients" = "1CT1 4MR1 GDCM-XA PYDICOM-US VISTREL-SAMPLE crlab " ] || fail "patients: $patients"
modalities="$(grep -o '^    SERIES .*Modality=[A-Z]*' "$WORK/mine.txt" | sed 's/.*Modality=//' | sort | tr '\n' ' ')"
[ "$modalities" = "CT CT MR MR US XA " ] || fail "series modalities: $modalities"
series="$(grep -c '^    SERIES ' "$WORK/mine.txt")"
stacks="$(grep -c '^      PRIVATE .*stack=' "$WORK/mine.txt")"
[ "$stacks" -ge "$series" ] || fail "$series series but $stacks stacks"
[ "$(grep -c '^      IMAGE ' "$WORK/mine.txt")" = 8 ] || fail "expected 8 images"

dciodvfy "$OUT/DICOMDIR" > "$WORK/dciodvfy.txt" 2>&1
grep -q '^Error' "$WORK/dciodvfy.txt" && fail "dciodvfy DICOMDIR: $(grep '^Error' "$WORK/dciodvfy.txt" | head -3)"
dcmdump -q "$OUT/DICOMDIR" > /dev/null 2>&1 || fail "dcmdump cannot read the DICOMDIR"
gdcmdump "$OUT/DICOMDIR" > /dev/null 2>&1 || fail "gdcmdump cannot read the DICOMDIR"

# The images as they were before the file set rewrote them.
"$PY" "$HERE/make_real_sample.py" "$WORK/fresh" 2> /dev/null || fail "make_real_sample.py"
errors() { dciodvfy "$1" 2>&1 | grep '^Error' | grep -v -e 'Media Storage SOP' -e 'Implementation' | sort -u; }
count=0
while IFS= read -r image; do
  rel="${image#"$OUT"/}"
  count=$((count + 1))
  dcmdump -q "$image" > /dev/null 2>&1 || fail "dcmdump cannot read $rel"
  errors "$image" > "$WORK/built.err"
  errors "$WORK/fresh/$rel" > "$WORK/source.err"
  new="$(comm -23 "$WORK/built.err" "$WORK/source.err")"
  [ -z "$new" ] || fail "$rel: dciodvfy errors the source lacks: $(echo "$new" | head -3)"
done < <(find "$OUT/SAMPLE" -type f | sort)
[ "$count" = 8 ] || fail "expected 8 files below SAMPLE, found $count"

[ "$FAILED" = 0 ] && echo "sample file set: $(grep -c '^PATIENT' "$WORK/mine.txt") patients, $series series, $stacks stacks, $count files"
exit "$FAILED"
