#!/usr/bin/python3
"""Makes the bundled sample file set's images at build time: real scans that Debian's DICOM
packages carry under licences that allow redistribution, beside the synthetic phantom of
data/sample/. Run with Debian's /usr/bin/python3 (python3-pydicom):

    make_real_sample.py STAGE

writes STAGE/SAMPLE/<patient>/<series>/IM<n> (names valid as DICOM file IDs). Files are copied
byte for byte; where a source lacks what a file set needs (a Patient ID) or holds UIDs that are
not valid UIDs, dcmodify (dcmtk) sets those attributes in the copy and changes nothing else;
the XA image is decompressed with dcmdjpeg (one of its fragments has an odd length). A source
that is missing on this machine is left out with a note on stderr. See data/README.md."""
import os
import shutil
import subprocess
import sys

import warnings

import pydicom

warnings.filterwarnings("ignore", module="pydicom")

HERE = os.path.dirname(os.path.abspath(__file__))
PYDICOM = "/usr/lib/python3/dist-packages/pydicom/data/test_files"
ROOT = "1.2.826.0.1.3680043.10.1075.9"  # the sample's own UIDs, fixed so builds repeat

# (source, patient folder, series folder, fixes)
SOURCES = [
    (os.path.join(HERE, "sample", "CT0001.dcm"), "PHANTOM", "CT", {}),
    (os.path.join(HERE, "sample", "CT0002.dcm"), "PHANTOM", "CT", {}),
    (os.path.join(HERE, "sample", "CT0003.dcm"), "PHANTOM", "CT", {}),
    (os.path.join(PYDICOM, "CT_small.dcm"), "CT1", "CT", {}),
    (os.path.join(PYDICOM, "MR_small.dcm"), "MR1", "MR", {}),
    ("/usr/share/doc/dicom3tools/examples/0051.dcm", "BRAIN", "MR", {}),
    ("/usr/share/doc/libgdcm3.0/examples/00191113.dcm", "XA", "XA",
     {"PatientID": "GDCM-XA", "uids": 1, "decompress": True, "clean": True}),
    (os.path.join(PYDICOM, "ExplVR_BigEnd.dcm"), "US", "US", {"PatientID": "PYDICOM-US", "clean": True}),
]

DATES_AND_TIMES = [("StudyDate", "0008,0020"), ("SeriesDate", "0008,0021"), ("AcquisitionDate", "0008,0022"),
                   ("ContentDate", "0008,0023"), ("StudyTime", "0008,0030"), ("SeriesTime", "0008,0031"),
                   ("AcquisitionTime", "0008,0032"), ("ContentTime", "0008,0033")]

UID_TAGS = [("StudyInstanceUID", "0020,000d"), ("SeriesInstanceUID", "0020,000e"),
            ("SOPInstanceUID", "0008,0018"), ("FrameOfReferenceUID", "0020,0052")]


def valid_uid(text):
    parts = text.split(".")
    return (0 < len(text) <= 64 and not text.startswith("999.") and
            all(p.isdigit() and (p == "0" or p[0] != "0") for p in parts))


def copy(source, target, fixes):
    if fixes.get("decompress"):
        # One fragment of this file has an odd length, which our reader refuses: dcmdjpeg
        # (dcmtk) stores the frames uncompressed instead.
        subprocess.run(["dcmdjpeg", "-q", source, target], check=True)
    else:
        shutil.copyfile(source, target)
    if not fixes:
        return
    # dcmodify changes the attributes and keeps everything else (pixel data, transfer syntax);
    # it updates the meta group's SOP instance UID with the data set's.
    ds = pydicom.dcmread(source, stop_before_pixels=True)
    edits = []
    if "PatientID" in fixes and not str(ds.get("PatientID", "")).strip():
        edits += ["-i", f"(0010,0020)={fixes['PatientID']}"]
    if fixes.get("clean"):
        # Values that are not valid for their VR: dates and times with separators lose them,
        # a Patient's Sex or Patient Orientation outside the defined terms is emptied, and a
        # missing Study ID (type 1 in the DICOMDIR's study record) becomes "1".
        for keyword, tag in DATES_AND_TIMES:
            value = str(ds.get(keyword, ""))
            if "." in value and keyword.endswith("Date") or ":" in value:
                edits += ["-m", f"({tag})={value.replace('.', '').replace(':', '')}"]
        if str(ds.get("PatientSex", "")) not in ("", "M", "F", "O"):
            edits += ["-m", "(0010,0040)="]
        orientation = ds.get("PatientOrientation", None)
        if orientation is not None and any(set(str(v)) - set("LRAPHF") for v in
                                           (orientation if isinstance(orientation, list) else [orientation])):
            edits += ["-m", "(0020,0020)="]
        if not str(ds.get("StudyID", "")).strip():
            edits += ["-i", "(0020,0010)=1"]
    if "uids" in fixes:
        # Invalid UIDs (leading zeros, the 999 test root) get stable replacements of our own.
        for n, (keyword, tag) in enumerate(UID_TAGS):
            value = str(ds.get(keyword, "")).strip()
            if value and not valid_uid(value):
                edits += ["-m", f"({tag})={ROOT}.{fixes['uids']}.{n + 1}"]
    if edits:
        subprocess.run(["dcmodify", "-q", "-nb"] + edits + [target], check=True)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_real_sample.py STAGE")
    out = os.path.join(sys.argv[1], "SAMPLE")
    shutil.rmtree(out, ignore_errors=True)
    counters = {}
    for source, patient, series, fixes in SOURCES:
        if not os.path.isfile(source):
            print(f"make_real_sample: {source} is not on this machine; left out", file=sys.stderr)
            continue
        folder = os.path.join(out, patient, series)
        os.makedirs(folder, exist_ok=True)
        counters[folder] = counters.get(folder, 0) + 1
        copy(source, os.path.join(folder, f"IM{counters[folder]:04d}"), fixes)


if __name__ == "__main__":
    main()
