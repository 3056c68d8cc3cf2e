#!/usr/bin/python3
"""Writes a folder of small generated DICOM images for file-set tests and benchmarks:
make_fileset_folder.py FOLDER PATIENTS STUDIES SERIES IMAGES [--broken] [--ct] [--size N]
Patients hold studies, studies series (CT and MR in turn), series images stacked along z, in
subfolders P<p>/S<s>/R<series>/ (all CT with --ct). With --broken the folder also gets files that cannot be added:
a truncated image, a Part 10 header followed by garbage, and a text file."""
import os
import sys

import numpy as np
from pydicom.dataset import Dataset, FileMetaDataset
from pydicom.uid import ExplicitVRLittleEndian

ROOT = "1.2.826.0.1.3680043.9.7777"


def image(folder, p, s, r, i, size, ct_only=False):
    modality = "CT" if r % 2 == 0 or ct_only else "MR"
    sop_class = "1.2.840.10008.5.1.4.1.1.2" if modality == "CT" else "1.2.840.10008.5.1.4.1.1.4"
    uid = "%s.%d.%d.%d.%d" % (ROOT, p, s, r, i)
    meta = FileMetaDataset()
    meta.MediaStorageSOPClassUID = sop_class
    meta.MediaStorageSOPInstanceUID = uid
    meta.TransferSyntaxUID = ExplicitVRLittleEndian
    meta.ImplementationClassUID = ROOT + ".1"
    ds = Dataset()
    ds.file_meta = meta
    ds.SpecificCharacterSet = "ISO_IR 100"
    ds.ImageType = ["ORIGINAL", "PRIMARY", "AXIAL"]
    ds.SOPClassUID = sop_class
    ds.SOPInstanceUID = uid
    ds.StudyDate = "2024%02d%02d" % (1 + p % 12, 1 + s)
    ds.StudyTime = "1010%02d" % s
    ds.SeriesDate = ds.StudyDate
    ds.SeriesTime = "1011%02d" % r
    ds.ContentDate = ds.StudyDate
    ds.ContentTime = "1012%02d" % (i % 60)
    ds.AccessionNumber = "A%d%d" % (p, s)
    ds.Modality = modality
    ds.ReferringPhysicianName = ""
    ds.PatientName = "Patient^%d" % p
    ds.PatientID = "PID%04d" % p
    ds.PatientBirthDate = "19700101"
    ds.PatientSex = "O"
    ds.StudyInstanceUID = "%s.%d.%d" % (ROOT, p, s)
    ds.SeriesInstanceUID = "%s.%d.%d.%d" % (ROOT, p, s, r)
    ds.StudyID = str(s + 1)
    ds.SeriesNumber = r + 1
    ds.InstanceNumber = i + 1
    ds.ImagePositionPatient = [0.0, 0.0, float(i) * 2.5]
    ds.ImageOrientationPatient = [1.0, 0.0, 0.0, 0.0, 1.0, 0.0]
    ds.PixelSpacing = [0.5, 0.5]
    ds.SliceThickness = 2.5
    ds.FrameOfReferenceUID = ds.StudyInstanceUID + ".9"
    ds.PositionReferenceIndicator = ""
    ds.SamplesPerPixel = 1
    ds.PhotometricInterpretation = "MONOCHROME2"
    ds.Rows = size
    ds.Columns = size
    ds.BitsAllocated = 16
    ds.BitsStored = 12
    ds.HighBit = 11
    ds.PixelRepresentation = 0
    ds.RescaleIntercept = 0
    ds.RescaleSlope = 1
    ds.KVP = 120
    pixels = (np.arange(size * size, dtype=np.uint16).reshape(size, size) + i) % 4096
    ds.PixelData = pixels.tobytes()
    ds.is_little_endian = True
    ds.is_implicit_VR = False
    path = os.path.join(folder, "P%d" % p, "S%d" % s, "R%d" % r)
    os.makedirs(path, exist_ok=True)
    name = os.path.join(path, "IM%d" % i)
    ds.save_as(name, write_like_original=False)
    return name


def main():
    folder = sys.argv[1]
    patients, studies, series, images = (int(v) for v in sys.argv[2:6])
    size = 16
    if "--size" in sys.argv:
        size = int(sys.argv[sys.argv.index("--size") + 1])
    first = None
    for p in range(patients):
        for s in range(studies):
            for r in range(series):
                for i in range(images):
                    name = image(folder, p, s, r, i, size, "--ct" in sys.argv)
                    first = first or name
    if "--broken" in sys.argv:
        data = open(first, "rb").read()
        os.makedirs(os.path.join(folder, "junk"), exist_ok=True)
        open(os.path.join(folder, "junk", "truncated.dcm"), "wb").write(data[:300])
        open(os.path.join(folder, "junk", "garbage.dcm"), "wb").write(b"\0" * 128 + b"DICM" + b"\xff" * 64)
        open(os.path.join(folder, "readme.txt"), "w").write("not DICOM\n")


if __name__ == "__main__":
    main()
