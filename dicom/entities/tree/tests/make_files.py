#!/usr/bin/python3
"""Writes small Part 10 files for the record-tree tests.

Each line of the list file names one file: path|key=value|key=value...
Keys: sopclass, sopuid (meta group and data set), ts (implicit or explicit, default explicit),
pixels (1 gives a 2x2 16-bit image pixel module and pixel data), mtime (seconds since 1970 for
the file's times); any other key is a pydicom keyword set as text (an empty value is written
as an empty element).
"""
import os
import sys

import pydicom
from pydicom.dataset import Dataset, FileDataset, FileMetaDataset
from pydicom.uid import ExplicitVRLittleEndian, ImplicitVRLittleEndian


def write(line):
    fields = line.rstrip("\n").split("|")
    path, pairs = fields[0], dict(f.split("=", 1) for f in fields[1:] if f)
    meta = FileMetaDataset()
    meta.MediaStorageSOPClassUID = pairs.pop("sopclass", "1.2.840.10008.5.1.4.1.1.7")
    meta.MediaStorageSOPInstanceUID = pairs.pop("sopuid", "1.2.3.4")
    implicit = pairs.pop("ts", "explicit") == "implicit"
    meta.TransferSyntaxUID = ImplicitVRLittleEndian if implicit else ExplicitVRLittleEndian
    meta.ImplementationClassUID = "1.2.826.0.1.3680043.9.7433.1"
    ds = FileDataset(path, Dataset(), file_meta=meta, preamble=b"\0" * 128)
    ds.is_implicit_VR = implicit
    ds.is_little_endian = True
    ds.SOPClassUID = meta.MediaStorageSOPClassUID
    ds.SOPInstanceUID = meta.MediaStorageSOPInstanceUID
    mtime = pairs.pop("mtime", None)
    if pairs.pop("pixels", "1") == "1":
        ds.SamplesPerPixel = 1
        ds.PhotometricInterpretation = "MONOCHROME2"
        ds.Rows = 2
        ds.Columns = 2
        ds.BitsAllocated = 16
        ds.BitsStored = 12
        ds.HighBit = 11
        ds.PixelRepresentation = 0
        ds.PixelData = b"\1\0\2\0\3\0\4\0"
    for keyword, value in pairs.items():
        setattr(ds, keyword, value)
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    ds.save_as(path, write_like_original=False)
    if mtime is not None:
        os.utime(path, (int(mtime), int(mtime)))


def main():
    with open(sys.argv[1]) as listing:
        for line in listing:
            if line.strip():
                write(line)


if __name__ == "__main__":
    main()
