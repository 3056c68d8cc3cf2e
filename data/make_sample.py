#!/usr/bin/python3
"""Makes the small bundled sample file set: one patient, one CT study with a series of three
64x64 slices (explicit VR little endian). Run with Debian's /usr/bin/python3 (python3-pydicom).
The output is committed; run again only to change it."""
import datetime
import os

import numpy as np
from pydicom.dataset import Dataset, FileMetaDataset
from pydicom.uid import ExplicitVRLittleEndian

ROOT = "1.2.826.0.1.3680043.10.1075"  # sample UIDs: fixed so the files never change
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "sample")


def slice_file(index):
    meta = FileMetaDataset()
    meta.MediaStorageSOPClassUID = "1.2.840.10008.5.1.4.1.1.2"
    meta.MediaStorageSOPInstanceUID = f"{ROOT}.3.{index + 1}"
    meta.TransferSyntaxUID = ExplicitVRLittleEndian
    meta.ImplementationClassUID = f"{ROOT}.0"

    ds = Dataset()
    ds.file_meta = meta
    ds.SpecificCharacterSet = "ISO_IR 100"
    ds.SOPClassUID = meta.MediaStorageSOPClassUID
    ds.SOPInstanceUID = meta.MediaStorageSOPInstanceUID
    ds.StudyDate = ds.SeriesDate = "20260101"
    ds.StudyTime = "120000"
    ds.Modality = "CT"
    ds.PatientName = "Sample^Phantom"
    ds.PatientID = "VISTREL-SAMPLE"
    ds.PatientBirthDate = "19700101"
    ds.PatientSex = "O"
    ds.StudyInstanceUID = f"{ROOT}.1"
    ds.SeriesInstanceUID = f"{ROOT}.2"
    ds.StudyID = "1"
    ds.ReferringPhysicianName = ""
    ds.AccessionNumber = ""
    ds.PatientPosition = "HFS"
    ds.Laterality = ""
    ds.FrameOfReferenceUID = f"{ROOT}.4"
    ds.PositionReferenceIndicator = ""
    ds.Manufacturer = "Vistrel sample"
    ds.ImageType = ["ORIGINAL", "PRIMARY", "AXIAL"]
    ds.KVP = 120
    ds.AcquisitionNumber = 1
    ds.SeriesNumber = 1
    ds.InstanceNumber = index + 1
    ds.ImagePositionPatient = [-32.0, -32.0, float(index * 5)]
    ds.ImageOrientationPatient = [1.0, 0.0, 0.0, 0.0, 1.0, 0.0]
    ds.SliceThickness = 5.0
    ds.PixelSpacing = [1.0, 1.0]
    ds.SamplesPerPixel = 1
    ds.PhotometricInterpretation = "MONOCHROME2"
    ds.Rows = ds.Columns = 64
    ds.BitsAllocated = 16
    ds.BitsStored = 12
    ds.HighBit = 11
    ds.PixelRepresentation = 0
    ds.RescaleIntercept = -1024
    ds.RescaleSlope = 1
    ds.WindowCenter = 40
    ds.WindowWidth = 400
    # A disc of soft tissue in air with a brighter core that grows from slice to slice.
    y, x = np.mgrid[-32:32, -32:32]
    r = np.hypot(x, y)
    image = np.where(r < 28, 1064, 24) + np.where(r < 6 + 3 * index, 300, 0)
    ds.PixelData = image.astype(np.uint16).tobytes()
    ds.is_little_endian = True
    ds.is_implicit_VR = False
    ds.save_as(os.path.join(OUT, f"CT{index + 1:04d}.dcm"), write_like_original=False)


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    for i in range(3):
        slice_file(i)
