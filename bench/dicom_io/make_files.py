#!/usr/bin/python3
"""make_files.py COUNT FOLDER: writes COUNT DICOM files for the reading benchmark, copies of
pydicom's test files in the transfer syntaxes the workstation reads (implicit, explicit little
and big endian, JPEG lossless and baseline, RLE), each with its own instance UID."""
import os
import sys

import pydicom

SOURCES = ["CT_small.dcm", "MR_small.dcm", "MR_small_bigendian.dcm", "MR_small_implicit.dcm",
           "MR_small_RLE.dcm", "JPEG-LL.dcm", "SC_rgb.dcm", "rtplan.dcm", "emri_small.dcm",
           "OBXXXX1A.dcm", "JPEG-lossy.dcm", "US1_UNCR.dcm"]


def main():
    count, folder = int(sys.argv[1]), sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    base = os.path.join(os.path.dirname(pydicom.__file__), "data", "test_files")
    sources = [pydicom.dcmread(os.path.join(base, s)) for s in SOURCES if os.path.exists(os.path.join(base, s))]
    for i in range(count):
        ds = sources[i % len(sources)]
        ds.SOPInstanceUID = "1.2.826.0.1.3680043.8.498.%d" % (i + 1)
        ds.file_meta.MediaStorageSOPInstanceUID = ds.SOPInstanceUID
        ds.save_as(os.path.join(folder, "file_%04d.dcm" % i))


if __name__ == "__main__":
    main()
