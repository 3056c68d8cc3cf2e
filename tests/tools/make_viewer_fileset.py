#!/usr/bin/python3
"""Writes a folder of generated images that look like what a radiologist opens, for the
workstation's end-to-end tests and GUI benchmarks:

  make_viewer_fileset.py FOLDER            2 patients, 3 studies: a CT of 40 slices 512x512,
                                           an MR of 20 slices 256x256, a study with a
                                           multi-frame XA (8 frames) and a CT of 30 slices
  make_viewer_fileset.py FOLDER --bench    1 patient, 1 study, 5,000 CT images of 512x512 in 50
                                           series, the first of 300 images

Every slice differs from its neighbours (a sphere grows and shrinks through the stack, the
spine keeps its place), so a test sees the picture change when it steps. Pixel values are
deterministic. Build the DICOMDIR afterwards with `dicom_dump --build FOLDER`."""
import os
import sys

import numpy as np
from pydicom.dataset import Dataset, FileMetaDataset
from pydicom.uid import ExplicitVRLittleEndian

ROOT = "1.2.826.0.1.3680043.9.7778"
CT = "1.2.840.10008.5.1.4.1.1.2"
MR = "1.2.840.10008.5.1.4.1.1.4"
XA = "1.2.840.10008.5.1.4.1.1.12.1"


def ellipse(size, cx, cy, rx, ry):
    y, x = np.mgrid[0:size, 0:size]
    return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


class Phantom:
    """A chest-like CT section in HU: body, two lungs, a spine and a sphere whose radius
    follows the slice position."""

    def __init__(self, size):
        s = size
        self.size = s
        base = np.full((s, s), -1000, dtype=np.int16)
        base[ellipse(s, s / 2, s / 2, s * 0.42, s * 0.32)] = 40
        base[ellipse(s, s * 0.32, s * 0.47, s * 0.12, s * 0.2)] = -820
        base[ellipse(s, s * 0.68, s * 0.47, s * 0.12, s * 0.2)] = -820
        base[ellipse(s, s / 2, s * 0.72, s * 0.05, s * 0.05)] = 700
        self.base = base
        y, x = np.mgrid[0:s, 0:s]
        self.r2 = (x - s / 2) ** 2 + (y - s * 0.42) ** 2

    def slice(self, i, count):
        img = self.base.copy()
        t = (i + 0.5) / count
        radius = self.size * 0.1 * max(0.0, 1.0 - abs(2.0 * t - 1.0)) + 2
        img[self.r2 <= radius * radius] = 300
        return img


def write(ds, sop_class, uid, path):
    meta = FileMetaDataset()
    meta.MediaStorageSOPClassUID = sop_class
    meta.MediaStorageSOPInstanceUID = uid
    meta.TransferSyntaxUID = ExplicitVRLittleEndian
    meta.ImplementationClassUID = ROOT + ".1"
    ds.file_meta = meta
    ds.SOPClassUID = sop_class
    ds.SOPInstanceUID = uid
    os.makedirs(os.path.dirname(path), exist_ok=True)
    ds.is_little_endian = True
    ds.is_implicit_VR = False
    ds.save_as(path, write_like_original=False)


def common(patient, study, series, modality, date, time):
    ds = Dataset()
    ds.SpecificCharacterSet = "ISO_IR 100"
    ds.StudyDate = ds.SeriesDate = ds.ContentDate = date
    ds.StudyTime = time
    ds.SeriesTime = time
    ds.ContentTime = time
    ds.AccessionNumber = "ACC%d%d" % (patient["n"], study["n"])
    ds.Modality = modality
    ds.ReferringPhysicianName = ""
    ds.PatientName = patient["name"]
    ds.PatientID = patient["id"]
    ds.PatientBirthDate = patient["birth"]
    ds.PatientSex = patient["sex"]
    ds.StudyInstanceUID = "%s.%d.%d" % (ROOT, patient["n"], study["n"])
    ds.StudyID = str(study["n"])
    ds.StudyDescription = study["description"]
    ds.SeriesInstanceUID = "%s.%d.%d.%d" % (ROOT, patient["n"], study["n"], series["n"])
    ds.SeriesNumber = series["n"]
    ds.SeriesDescription = series["description"]
    ds.BodyPartExamined = series.get("body", "CHEST")
    ds.Manufacturer = "Vistrel test data"
    if modality != "XA":
        ds.PatientPosition = "HFS"
    return ds


def ct_series(folder, patient, study, series, count, size=512, date="20240312", time="101500"):
    phantom = Phantom(size)
    for i in range(count):
        ds = common(patient, study, series, "CT", date, time)
        ds.ImageType = ["ORIGINAL", "PRIMARY", "AXIAL"]
        ds.InstanceNumber = i + 1
        ds.ImagePositionPatient = [-size * 0.35, -size * 0.35, -float(i) * 2.0]
        ds.ImageOrientationPatient = [1.0, 0.0, 0.0, 0.0, 1.0, 0.0]
        ds.SliceLocation = -float(i) * 2.0
        ds.PixelSpacing = [0.7, 0.7]
        ds.SliceThickness = 2.0
        ds.FrameOfReferenceUID = ds.StudyInstanceUID + ".9"
        ds.PositionReferenceIndicator = ""
        ds.KVP = 120
        ds.AcquisitionNumber = 1
        ds.SamplesPerPixel = 1
        ds.PhotometricInterpretation = "MONOCHROME2"
        ds.Rows = ds.Columns = size
        ds.BitsAllocated = 16
        ds.BitsStored = 16
        ds.HighBit = 15
        ds.PixelRepresentation = 1
        ds.RescaleIntercept = 0
        ds.RescaleSlope = 1
        ds.RescaleType = "HU"
        ds.WindowCenter = 40
        ds.WindowWidth = 400
        ds.PixelData = phantom.slice(i, count).astype("<i2").tobytes()
        uid = "%s.%d" % (ds.SeriesInstanceUID, i + 1)
        write(ds, CT, uid, os.path.join(folder, patient["id"], "ST%d" % study["n"],
                                        "SE%d" % series["n"], "IM%04d" % (i + 1)))


def mr_series(folder, patient, study, series, count, size=256):
    y, x = np.mgrid[0:size, 0:size]
    head = ellipse(size, size / 2, size / 2, size * 0.38, size * 0.45)
    brain = ellipse(size, size / 2, size / 2, size * 0.33, size * 0.4)
    for i in range(count):
        img = np.zeros((size, size), dtype=np.uint16)
        img[head] = 300
        img[brain] = 900 + ((x[brain] * 3 + y[brain] * 5 + i * 40) % 200)
        ventricle = ellipse(size, size / 2, size / 2, size * (0.04 + 0.01 * (i % 5)), size * 0.12)
        img[ventricle] = 1800
        ds = common(patient, study, series, "MR", "20240312", "103000")
        ds.ImageType = ["ORIGINAL", "PRIMARY", "M", "NONE"]
        ds.ScanningSequence = "SE"
        ds.SequenceVariant = "NONE"
        ds.ScanOptions = ""
        ds.MRAcquisitionType = "2D"
        ds.EchoTime = 90
        ds.RepetitionTime = 4000
        ds.EchoTrainLength = 8
        ds.InstanceNumber = i + 1
        ds.ImagePositionPatient = [-120.0, -120.0, float(i) * 5.0]
        ds.ImageOrientationPatient = [1.0, 0.0, 0.0, 0.0, 1.0, 0.0]
        ds.PixelSpacing = [0.94, 0.94]
        ds.SliceThickness = 5.0
        ds.FrameOfReferenceUID = ds.StudyInstanceUID + ".8"
        ds.PositionReferenceIndicator = ""
        ds.SamplesPerPixel = 1
        ds.PhotometricInterpretation = "MONOCHROME2"
        ds.Rows = ds.Columns = size
        ds.BitsAllocated = 16
        ds.BitsStored = 12
        ds.HighBit = 11
        ds.PixelRepresentation = 0
        ds.PixelData = img.astype("<u2").tobytes()
        uid = "%s.%d" % (ds.SeriesInstanceUID, i + 1)
        write(ds, MR, uid, os.path.join(folder, patient["id"], "ST%d" % study["n"],
                                        "SE%d" % series["n"], "IM%04d" % (i + 1)))


def xa_multiframe(folder, patient, study, series, frames=8, size=256):
    y, x = np.mgrid[0:size, 0:size]
    data = []
    for f in range(frames):
        img = np.full((size, size), 180, dtype=np.uint8)
        # A vessel that fills with contrast frame by frame.
        reach = size * (f + 1) / frames
        vessel = (np.abs(y - (size / 2 + 30 * np.sin(x / 25.0))) < 5) & (x < reach)
        img[vessel] = 40
        data.append(img)
    ds = common(patient, study, series, "XA", "20240501", "091500")
    ds.ImageType = ["ORIGINAL", "PRIMARY", "SINGLE PLANE"]
    ds.InstanceNumber = 1
    ds.KVP = 80
    ds.PatientOrientation = ""
    ds.RadiationSetting = "GR"
    ds.XRayTubeCurrent = 500
    ds.ExposureTime = 8
    ds.PositionerMotion = "STATIC"
    ds.PositionerPrimaryAngle = 30
    ds.PositionerSecondaryAngle = 20
    ds.NumberOfFrames = frames
    ds.FrameIncrementPointer = (0x0018, 0x1063)
    ds.FrameTime = 66.7
    ds.SamplesPerPixel = 1
    ds.PhotometricInterpretation = "MONOCHROME2"
    ds.Rows = ds.Columns = size
    ds.BitsAllocated = 8
    ds.BitsStored = 8
    ds.HighBit = 7
    ds.PixelRepresentation = 0
    ds.PixelIntensityRelationship = "LIN"
    ds.PixelData = np.stack(data).tobytes()
    uid = "%s.1" % ds.SeriesInstanceUID
    write(ds, XA, uid, os.path.join(folder, patient["id"], "ST%d" % study["n"],
                                    "SE%d" % series["n"], "IM0001"))


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    if "--bench" in sys.argv:
        patient = {"n": 1, "name": "Bench^Chest", "id": "BENCH1", "birth": "19600101", "sex": "F"}
        study = {"n": 1, "description": "CT chest"}
        ct_series(folder, patient, study, {"n": 1, "description": "Axial 2 mm"}, 300)
        rest, series = 5000 - 300, 49
        for k in range(series):
            count = rest // series + (1 if k < rest % series else 0)
            ct_series(folder, patient, study, {"n": k + 2, "description": "Series %d" % (k + 2)}, count)
        return
    ann = {"n": 1, "name": "Alpha^Ann", "id": "PID0001", "birth": "19580214", "sex": "F"}
    bob = {"n": 2, "name": "Bravo^Bob", "id": "PID0002", "birth": "19720830", "sex": "M"}
    ct_series(folder, ann, {"n": 1, "description": "CT chest"}, {"n": 1, "description": "Axial 2 mm"}, 40)
    mr_series(folder, ann, {"n": 2, "description": "MR brain"},
              {"n": 1, "description": "T2 axial", "body": "HEAD"}, 20)
    cardiac = {"n": 3, "description": "Cardiac"}
    xa_multiframe(folder, bob, cardiac, {"n": 1, "description": "LCA run", "body": "HEART"})
    ct_series(folder, bob, cardiac, {"n": 2, "description": "Axial 2 mm"}, 30, date="20240620",
              time="141000")

if __name__ == "__main__":
    main()
