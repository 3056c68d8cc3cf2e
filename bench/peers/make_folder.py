#!/usr/bin/python3
"""make_folder.py ct COUNT FOLDER: COUNT CT images of 256x256 16-bit in explicit VR little endian
(10 patients x 2 studies x 5 series), in FOLDER/Pnn/Snn/Rnn/IMnnnnn.
make_folder.py dicomdir RECORDS FILE: a DICOMDIR whose directory record sequence holds RECORDS
small records (patients, studies, series and images in a tree), written as dcmmkdir would."""
import os
import sys

import numpy as np
import pydicom
from pydicom.dataset import Dataset, FileMetaDataset
from pydicom.sequence import Sequence
from pydicom.uid import ExplicitVRLittleEndian

ROOT = "1.2.826.0.1.3680043.8.498.77"


def meta(sop_class, sop_instance):
    m = FileMetaDataset()
    m.MediaStorageSOPClassUID = sop_class
    m.MediaStorageSOPInstanceUID = sop_instance
    m.TransferSyntaxUID = ExplicitVRLittleEndian
    m.ImplementationClassUID = ROOT + ".1"
    return m


def ct_folder(count, folder):
    pixels = (np.arange(256 * 256, dtype=np.uint16) % 4096).reshape(256, 256).tobytes()
    series_count = 10 * 2 * 5
    per = max(1, count // series_count)
    n = 0
    for p in range(10):
        for s in range(2):
            for r in range(5):
                d = os.path.join(folder, "P%02d" % p, "S%02d" % s, "R%02d" % r)
                os.makedirs(d, exist_ok=True)
                for i in range(per):
                    if n >= count:
                        return
                    n += 1
                    uid = "%s.2.%d" % (ROOT, n)
                    ds = Dataset()
                    ds.file_meta = meta("1.2.840.10008.5.1.4.1.1.2", uid)
                    ds.SOPClassUID = "1.2.840.10008.5.1.4.1.1.2"
                    ds.SOPInstanceUID = uid
                    ds.StudyDate = "2020%02d%02d" % (s + 1, p + 1)
                    ds.StudyTime = "120000"
                    ds.Modality = "CT"
                    ds.PatientName = "Patient^%02d" % p
                    ds.PatientID = "ID%02d" % p
                    ds.StudyInstanceUID = "%s.3.%d.%d" % (ROOT, p, s)
                    ds.SeriesInstanceUID = "%s.4.%d.%d.%d" % (ROOT, p, s, r)
                    ds.StudyID = str(s + 1)
                    ds.SeriesNumber = r + 1
                    ds.InstanceNumber = i + 1
                    ds.ImagePositionPatient = [0, 0, i]
                    ds.ImageOrientationPatient = [1, 0, 0, 0, 1, 0]
                    ds.PixelSpacing = [0.5, 0.5]
                    ds.SliceThickness = 1
                    ds.SamplesPerPixel = 1
                    ds.PhotometricInterpretation = "MONOCHROME2"
                    ds.Rows = 256
                    ds.Columns = 256
                    ds.BitsAllocated = 16
                    ds.BitsStored = 12
                    ds.HighBit = 11
                    ds.PixelRepresentation = 0
                    ds.RescaleIntercept = -1024
                    ds.RescaleSlope = 1
                    ds.WindowCenter = 40
                    ds.WindowWidth = 400
                    ds.PixelData = pixels
                    ds.save_as(os.path.join(d, "IM%05d" % n), write_like_original=False)


def dicomdir(records, path):
    # Records in a tree: each patient has 1 study, 1 series and 47 images (50 records each).
    items = []
    n = 0
    p = 0
    while n < records:
        p += 1
        chain = [("PATIENT", [("PatientName", "Patient^%06d" % p), ("PatientID", "ID%06d" % p)]),
                 ("STUDY", [("StudyDate", "20200101"), ("StudyTime", "120000"), ("StudyID", "1"),
                            ("StudyInstanceUID", "%s.3.%d" % (ROOT, p)), ("AccessionNumber", "")]),
                 ("SERIES", [("Modality", "CT"), ("SeriesInstanceUID", "%s.4.%d" % (ROOT, p)),
                             ("SeriesNumber", "1")])]
        for i in range(47):
            chain.append(("IMAGE", [("ReferencedFileID", ["P%06d" % p, "IM%05d" % i]),
                                    ("ReferencedSOPClassUIDInFile", "1.2.840.10008.5.1.4.1.1.2"),
                                    ("ReferencedSOPInstanceUIDInFile", "%s.2.%d.%d" % (ROOT, p, i)),
                                    ("ReferencedTransferSyntaxUIDInFile", ExplicitVRLittleEndian),
                                    ("InstanceNumber", str(i + 1))]))
        for kind, attrs in chain:
            if n >= records:
                break
            item = Dataset()
            item.OffsetOfTheNextDirectoryRecord = 0
            item.RecordInUseFlag = 0xFFFF
            item.OffsetOfReferencedLowerLevelDirectoryEntity = 0
            item.DirectoryRecordType = kind
            for k, v in attrs:
                setattr(item, k, v)
            items.append(item)
            n += 1
    ds = Dataset()
    ds.file_meta = meta("1.2.840.10008.1.3.10", ROOT + ".9")
    ds.FileSetID = "BENCH"
    ds.OffsetOfTheFirstDirectoryRecordOfTheRootDirectoryEntity = 0
    ds.OffsetOfTheLastDirectoryRecordOfTheRootDirectoryEntity = 0
    ds.FileSetConsistencyFlag = 0
    ds.DirectoryRecordSequence = Sequence(items)
    ds.save_as(path, write_like_original=False)


def main():
    kind, count, target = sys.argv[1], int(sys.argv[2]), sys.argv[3]
    if kind == "ct":
        ct_folder(count, target)
    else:
        dicomdir(count, target)


if __name__ == "__main__":
    main()
