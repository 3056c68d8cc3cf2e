#!/bin/bash
# check_fileset.sh DICOM_DUMP: the file set against other tools.
# 1. pydicom's DICOMDIR test files and DICOMDIRs written by dcmmkdir and gdcmgendir over a
#    generated tree are read by dicom_dump --fileset into the tree that pydicom reads by offsets.
# 2. A DICOMDIR built by dicom_dump --build passes dciodvfy without error, is read by dcmdump,
#    gdcmdump and pydicom (FileSet), and pydicom follows its offsets to the same tree.
# 3. Building twice writes the same bytes apart from the Media Storage SOP Instance UID and the
#    stack keys, which every write and every build make new.
# 4. A folder with broken, truncated and non-DICOM files: only the broken Part 10 files move to
#    the reject folder, the log has one line per moved file in its format, no file is lost.
set -u
DUMP="$1"
TOOLS="$(cd "$(dirname "$0")" && pwd)"
PY=/usr/bin/python3
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
FAILED=0
fail() { echo "FAIL: $*"; FAILED=1; }

same_tree() {  # DICOMDIR label
  "$DUMP" --fileset "$1" > "$WORK/mine.txt" 2>&1 || fail "$2: dicom_dump --fileset: $(cat "$WORK/mine.txt")"
  "$PY" "$TOOLS/fileset_tree_pydicom.py" "$1" --fileset > "$WORK/theirs.txt" 2> "$WORK/py.err" ||
    fail "$2: pydicom: $(tail -1 "$WORK/py.err")"
  diff "$WORK/mine.txt" "$WORK/theirs.txt" > "$WORK/diff.txt" || fail "$2: trees differ: $(head -5 "$WORK/diff.txt")"
}

TESTS=/usr/lib/python3/dist-packages/pydicom/data/test_files/dicomdirtests
for f in DICOMDIR DICOMDIR-bigEnd DICOMDIR-implicit DICOMDIR-reordered DICOMDIR-empty.dcm; do
  same_tree "$TESTS/$f" "pydicom $f"
done

"$PY" "$TOOLS/make_fileset_folder.py" "$WORK/gen" 3 2 3 4 || { echo "cannot generate"; exit 1; }
cp -r "$WORK/gen" "$WORK/dcmtk"
cp -r "$WORK/gen" "$WORK/gdcm"
cp -r "$WORK/gen" "$WORK/own"
(cd "$WORK/dcmtk" && dcmmkdir -q +r +id . -Pgp) || fail "dcmmkdir"
same_tree "$WORK/dcmtk/DICOMDIR" "dcmmkdir"
gdcmgendir -i "$WORK/gdcm" -o "$WORK/gdcm/DICOMDIR" -r > /dev/null 2>&1 || fail "gdcmgendir"
same_tree "$WORK/gdcm/DICOMDIR" "gdcmgendir"

"$DUMP" --build "$WORK/own" > "$WORK/built.txt" 2> "$WORK/build.err" || fail "--build: $(cat "$WORK/built.txt")"
[ "$(grep -c 'PRIVATE stack=' "$WORK/built.txt")" = 18 ] || fail "--build: expected 18 stacks"
same_tree "$WORK/own/DICOMDIR" "own DICOMDIR"
dciodvfy "$WORK/own/DICOMDIR" > "$WORK/dciodvfy.txt" 2>&1
grep -q '^Error' "$WORK/dciodvfy.txt" && fail "dciodvfy: $(grep '^Error' "$WORK/dciodvfy.txt" | head -3)"
dcmdump -q "$WORK/own/DICOMDIR" > /dev/null 2>&1 || fail "dcmdump cannot read the DICOMDIR"
gdcmdump "$WORK/own/DICOMDIR" > /dev/null 2>&1 || fail "gdcmdump cannot read the DICOMDIR"

cp "$WORK/own/DICOMDIR" "$WORK/first"
"$DUMP" --build "$WORK/own" > /dev/null 2>&1 || fail "second --build"
"$PY" - "$WORK/first" "$WORK/own/DICOMDIR" <<'PYEOF' || fail "two builds differ beyond the UID and the stack keys"
import sys
from pydicom import dcmread
a, b = (open(p, "rb").read() for p in sys.argv[1:3])
if len(a) != len(b):
    sys.exit("lengths %d and %d" % (len(a), len(b)))
# Blank the values every write or build makes new, where each file holds them.
def blank(path, data):
    data = bytearray(data)
    ds = dcmread(path)
    for value in [ds.file_meta.MediaStorageSOPInstanceUID] + [
            r[0x00720066].value for r in ds.DirectoryRecordSequence if 0x00720066 in r]:
        raw = value.encode()
        at = data.find(raw)
        if at < 0:
            sys.exit("value not found")
        data[at:at + len(raw)] = b"x" * len(raw)
    return bytes(data)
if blank(sys.argv[1], a) != blank(sys.argv[2], b):
    sys.exit("bytes differ")
PYEOF

"$PY" "$TOOLS/make_fileset_folder.py" "$WORK/broken" 1 1 2 3 --broken || exit 1
before="$(find "$WORK/broken" -type f | wc -l)"
"$DUMP" --build "$WORK/broken" "$WORK/reject" > "$WORK/broken.txt" 2>&1 || fail "--build of the broken folder: $(cat "$WORK/broken.txt")"
[ "$(grep -c '^      IMAGE' "$WORK/broken.txt")" = 6 ] || fail "broken folder: expected 6 images"
moved="$(cd "$WORK/reject" && ls | sort | tr '\n' ' ')"
[ "$moved" = "DicomkDirErrors.log garbage.dcm truncated.dcm " ] || fail "reject folder holds: $moved"
[ -f "$WORK/broken/readme.txt" ] || fail "the text file moved"
after="$(( $(find "$WORK/broken" -type f | wc -l) + $(find "$WORK/reject" -type f -name '*.dcm' | wc -l) ))"
[ "$after" = "$((before + 1))" ] || fail "files before $before, after $after (with the new DICOMDIR)"
lines="$(grep -cE '^[0-9]{2}/[0-9]{2}/[0-9]{4} [0-9]{2}:[0-9]{2}:[0-9]{2} Error : .+\[ file: (garbage|truncated)\.dcm\]$' "$WORK/reject/DicomkDirErrors.log")"
[ "$lines" = 2 ] || fail "reject log: $(cat "$WORK/reject/DicomkDirErrors.log")"

[ "$FAILED" = 0 ] && echo "file set checks passed"
exit "$FAILED"
