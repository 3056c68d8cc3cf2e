#!/bin/bash
# check_hostile_folder.sh DICOM_DUMP: the file set in folders and DICOMDIRs made to escape it.
# 1. A folder holding symbolic links out of it (to a file and to a folder), a link inside it, a
#    FIFO, an unreadable file and folder, a nested file set's DICOMDIR, a duplicate and broken
#    files is built with a reject folder (as an unprivileged user when run as root, so that the
#    permissions hold). Checksums of every file inside and outside show that nothing outside
#    changed and nothing inside was lost; the unreadable ones are logged as not readable.
# 2. A DICOMDIR whose Referenced File IDs climb out of its folder ("..", an absolute path) is
#    opened, its stacks built, its images indexed and it is saved under strace: no path of the
#    folder beside it is named by any system call, and its files stay as they were.
set -u
DUMP="$1"
TOOLS="$(cd "$(dirname "$0")" && pwd)"
PY=/usr/bin/python3
WORK="$(mktemp -d)"
trap 'chmod -R u+rwx "$WORK" 2>/dev/null; rm -rf "$WORK"' EXIT
chmod 755 "$WORK"
FAILED=0
fail() { echo "FAIL: $*"; FAILED=1; }

# Every entry below a folder: a link by its target, a file by its checksum, others by type.
listing() {
  (cd "$1" && find . -mindepth 1 | LC_ALL=C sort | while read -r p; do
    if [ -L "$p" ]; then echo "$p -> $(readlink "$p")"
    elif [ -f "$p" ]; then echo "$p $(sha256sum < "$p" | cut -c1-64)"
    elif [ -d "$p" ]; then echo "$p/"
    else echo "$p special"; fi
  done)
}

# A file's identity that survives the pixel-data index: its bytes after the meta group for a
# Part 10 file, else all its bytes.
identity() {
  "$PY" - "$1" <<'PYEOF'
import hashlib, sys
data = open(sys.argv[1], "rb").read()
if len(data) > 144 and data[128:132] == b"DICM":
    pos = 132
    while pos + 8 <= len(data) and data[pos:pos + 2] == b"\x02\x00":
        vr = data[pos + 4:pos + 6]
        if vr in (b"OB", b"OW", b"UN", b"SQ", b"UT", b"UC", b"UR", b"OD", b"OF", b"OL", b"OV"):
            pos += 12 + int.from_bytes(data[pos + 8:pos + 12], "little")
        else:
            pos += 8 + int.from_bytes(data[pos + 6:pos + 8], "little")
    data = data[pos:]
print(hashlib.sha256(data).hexdigest())
PYEOF
}

AS_USER=()
if [ "$(id -u)" = 0 ]; then AS_USER=(setpriv --reuid=65534 --regid=65534 --clear-groups); fi

# 1. The hostile folder.
SET="$WORK/set"; OUT="$WORK/outside"; REJECT="$WORK/reject"
"$PY" "$TOOLS/make_fileset_folder.py" "$SET" 1 1 2 3 --broken > /dev/null || { echo "cannot generate"; exit 1; }
"$PY" "$TOOLS/make_fileset_folder.py" "$OUT" 1 1 1 2 > /dev/null || { echo "cannot generate"; exit 1; }
echo "outside notes" > "$OUT/notes.txt"
FIRST="$(cd "$SET" && find P0 -type f | LC_ALL=C sort | head -1)"
OUTFILE="$(cd "$OUT" && find P0 -type f | LC_ALL=C sort | head -1)"
ln -s "$OUT/$OUTFILE" "$SET/link_out_file.dcm"
ln -s "$OUT" "$SET/link_out_folder"
ln -s "../outside" "$SET/link_out_relative"
ln -s "$FIRST" "$SET/link_in.dcm"
mkfifo "$SET/pipe.dcm"
cp "$SET/$FIRST" "$SET/unreadable.dcm"
mkdir "$SET/locked" && cp "$SET/$FIRST" "$SET/locked/hidden.dcm"
# The DICOMDIR of another file set, named in another letter case.
"$PY" "$TOOLS/make_fileset_folder.py" "$WORK/other" 1 1 1 1 > /dev/null
(cd "$WORK/other" && dcmmkdir -q +r +id . -Pgp) || fail "dcmmkdir"
mkdir -p "$SET/nested" && cp "$WORK/other/DICOMDIR" "$SET/nested/DicomDir"
# A copy of an image with the same SOP instance, made later: the newer file wins.
sleep 1; cp "$SET/$FIRST" "$SET/duplicate.dcm"
chmod 000 "$SET/unreadable.dcm" "$SET/locked"
mkdir "$REJECT"
if [ "${#AS_USER[@]}" -gt 0 ]; then chown -R 65534:65534 "$SET" "$OUT" "$REJECT"; chown -h 65534:65534 "$SET"/link_*; fi
OUT_BEFORE="$(listing "$OUT")"
chmod 700 "$SET/locked"
declare -A BEFORE
while read -r f; do BEFORE["$f"]="$(identity "$SET/$f")"; done < <(cd "$SET" && find . -type f | sed 's|^\./||')
chmod 000 "$SET/locked"

timeout 120 "${AS_USER[@]}" "$DUMP" --build "$SET" "$REJECT" > "$WORK/built.txt" 2> "$WORK/build.err"
STATUS=$?
[ "$STATUS" = 124 ] && fail "the build did not end (a FIFO opened?)"
[ "$STATUS" = 0 ] || fail "--build: $(cat "$WORK/built.txt" "$WORK/build.err" | tail -3)"
chmod 700 "$SET/locked"; chmod 600 "$SET/unreadable.dcm"

[ "$(listing "$OUT")" = "$OUT_BEFORE" ] || fail "the folder outside changed: $(diff <(echo "$OUT_BEFORE") <(listing "$OUT") | head -5)"
grep -q "Outside" "$WORK/built.txt" && fail "a file outside was added"
for f in "${!BEFORE[@]}"; do
  if [ -f "$SET/$f" ]; then now="$(identity "$SET/$f")"
  elif [ -f "$REJECT/$(basename "$f")" ]; then now="$(identity "$REJECT/$(basename "$f")")"
  else fail "lost: $f"; continue; fi
  [ "$now" = "${BEFORE[$f]}" ] || fail "changed beyond the index: $f"
done
for l in link_out_file.dcm link_out_folder link_out_relative link_in.dcm; do
  [ -L "$SET/$l" ] || fail "$l is no longer a link"
done
[ -p "$SET/pipe.dcm" ] || fail "the FIFO is gone"
[ -f "$SET/nested/DicomDir" ] || fail "the nested DICOMDIR moved"
ls "$REJECT" | grep -qi dicomdir && fail "a DICOMDIR went to the reject folder"
LOG="$REJECT/DicomkDirErrors.log"
grep -q 'The file "unreadable.dcm" is not readable.\[ file: unreadable.dcm\]' "$LOG" ||
  fail "the unreadable file is not logged: $(cat "$LOG")"
grep -q 'The file "locked" is not readable.\[ file: locked\]' "$LOG" || fail "the unreadable folder is not logged"
[ "$(grep -c 'is not readable' "$LOG")" = 2 ] || fail "not-readable entries: $(grep 'is not readable' "$LOG")"
[ -f "$REJECT/$(basename "$FIRST")" ] || fail "the displaced duplicate is not in the reject folder: $(ls "$REJECT")"

# 2. Referenced File IDs that climb out of the folder, traced.
ESC="$WORK/esc"; ESCOUT="$WORK/esc_outside"
"$PY" "$TOOLS/make_fileset_folder.py" "$ESC" 1 1 1 3 > /dev/null || { echo "cannot generate"; exit 1; }
"$DUMP" --build "$ESC" > /dev/null 2>&1 || fail "--build of the escaping set"
mkdir -p "$ESCOUT"
"$PY" - "$ESC/DICOMDIR" "$ESCOUT" <<'PYEOF' || fail "cannot make the escaping DICOMDIR"
import shutil, sys, os
from pydicom import dcmread
path, outside = sys.argv[1], sys.argv[2]
ds = dcmread(path)
images = [r for r in ds.DirectoryRecordSequence if r.DirectoryRecordType == "IMAGE"]
folder = os.path.dirname(path)
targets = [["..", os.path.basename(outside), "one.dcm"],
           [""] + [c for c in os.path.join(outside, "two.dcm").split("/") if c],
           ["sub", "..", "..", os.path.basename(outside), "three.dcm"]]
for record, target in zip(images, targets):
    shutil.copy(os.path.join(folder, *record.ReferencedFileID), os.path.join(outside, target[-1]))
    record.ReferencedFileID = target
ds.save_as(path, write_like_original=True)
PYEOF
ESCOUT_BEFORE="$(listing "$ESCOUT")"
ESC_BEFORE="$(cd "$ESC" && find . -name '*.dcm' | LC_ALL=C sort | xargs sha256sum)"
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" timeout 120 strace -f -qq -e trace=%file,%desc -o "$WORK/trace.txt" \
  "$DUMP" --rework "$ESC/DICOMDIR" > "$WORK/rework.txt" 2> "$WORK/rework.err" || fail "--rework: $(tail -3 "$WORK/rework.txt")"
grep -q 'is out of reach of the file set' "$WORK/rework.err" || fail "the escaping files are not named: $(cat "$WORK/rework.err")"
grep -F "$(basename "$ESCOUT")" "$WORK/trace.txt" | head -3 > "$WORK/escaped.txt"
[ -s "$WORK/escaped.txt" ] && fail "a system call named the folder outside: $(cat "$WORK/escaped.txt")"
grep -q "$ESC" "$WORK/trace.txt" || fail "the trace shows no file of the set (strace did not trace?)"
[ "$(listing "$ESCOUT")" = "$ESCOUT_BEFORE" ] || fail "files outside the escaping set changed"
[ "$(grep -c ' file=' "$WORK/rework.txt")" = 3 ] || fail "the records are not all readable: $(cat "$WORK/rework.txt")"

[ "$FAILED" = 0 ] && echo "hostile folder and escaping DICOMDIR: nothing outside touched"
exit "$FAILED"
