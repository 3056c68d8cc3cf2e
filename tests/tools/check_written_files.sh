#!/bin/bash
# Reads pydicom test files with dicom_dump --rewrite, writes them back through each writer
# (and once with the private pixel-data index), and checks the written files with DCMTK, GDCM,
# pydicom and dciodvfy: every tool must read them, pydicom must see the same data set, and
# dciodvfy must report no error the source did not already have. Then a write under a tiny
# file-size limit must fail and leave the old file byte-identical.
# Usage: check_written_files.sh DICOM_DUMP [FILE...]
set -u
DUMP=$1; shift
DATA=/usr/lib/python3/dist-packages/pydicom/data/test_files
FILES=("$@")
[ ${#FILES[@]} -eq 0 ] && FILES=("$DATA/CT_small.dcm" "$DATA/MR_small.dcm" "$DATA/MR_small_implicit.dcm"
  "$DATA/MR_small_bigendian.dcm" "$DATA/JPEG-lossy.dcm" "$DATA/SC_rgb_rle_2frame.dcm" "$DATA/rtdose.dcm"
  "$DATA/rtplan.dcm" "$DATA/test-SR.dcm" "$DATA/waveform_ecg.dcm" "$DATA/liver_1frame.dcm")
TMP=$(mktemp -d); trap 'rm -rf "$TMP"' EXIT
fail=0
note() { echo "$*"; }
for src in "${FILES[@]}"; do
  name=$(basename "$src")
  dciodvfy "$src" 2>&1 | grep -E '^Error' | sort -u > "$TMP/src.err"
  for mode in --stream --async --mapped --index; do
    out="$TMP/$mode-$name"
    if ! "$DUMP" --rewrite $([ $mode != --stream ] && echo $mode) "$src" "$out" > "$TMP/log"; then
      note "SKIP $name $mode: $(cat "$TMP/log")"; continue
    fi
    dcmdump -q "$out" > /dev/null 2> "$TMP/dcm" || { note "FAIL dcmdump $name $mode: $(head -2 "$TMP/dcm")"; fail=1; }
    gdcmdump "$out" > /dev/null 2> "$TMP/gdcm" || { note "FAIL gdcmdump $name $mode: $(head -2 "$TMP/gdcm")"; fail=1; }
    /usr/bin/python3 - "$src" "$out" <<'PY' || fail=1
import sys, pydicom
a = pydicom.dcmread(sys.argv[1]); b = pydicom.dcmread(sys.argv[2])
if a != b:
    print("FAIL pydicom data set differs", sys.argv[2]); sys.exit(1)
for e in a.file_meta:
    if e.tag not in b.file_meta or (e.tag != 0x00020000 and b.file_meta[e.tag].value != e.value):
        print("FAIL pydicom meta differs", e.tag, sys.argv[2]); sys.exit(1)
PY
    dciodvfy "$out" 2>&1 | grep -E '^Error' | sort -u > "$TMP/out.err"
    new=$(comm -13 "$TMP/src.err" "$TMP/out.err")
    if [ -n "$new" ]; then note "FAIL dciodvfy $name $mode: $new"; fail=1; fi
  done
  note "ok   $name"
done
# The file-size limit stops the write part-way (the process is not ended by SIGXFSZ): the old
# file must stay and the reason is given.
big="$DATA/rtdose.dcm"
printf 'old file' > "$TMP/target.dcm"
for mode in "" --async --mapped; do
  (ulimit -f 4; "$DUMP" --rewrite $mode "$big" "$TMP/target.dcm") > "$TMP/log" 2>&1
  if [ "$(cat "$TMP/target.dcm")" != "old file" ]; then note "FAIL full disk ${mode:---stream}: old file changed"; fail=1
  elif [ "$(ls -A "$TMP" | grep -c '\.part$')" != 0 ]; then note "FAIL full disk ${mode:---stream}: temporary left"; fail=1
  else note "ok   full disk ${mode:---stream}: $(cat "$TMP/log")"; fi
done
exit $fail
