#!/usr/bin/python3
"""Writes the small seed corpus of the reader fuzz target into ./corpus (run once; the files are
committed). Each seed is a tiny Part 10 file of one encoding the readers take."""
import os

import pydicom
from pydicom.dataset import Dataset, FileMetaDataset
from pydicom.sequence import Sequence
from pydicom.uid import (ExplicitVRBigEndian, ExplicitVRLittleEndian, ImplicitVRLittleEndian,
                         JPEGBaseline8Bit)

HERE = os.path.dirname(os.path.abspath(__file__))


def base():
    ds = Dataset()
    ds.SOPClassUID = "1.2.840.10008.5.1.4.1.1.7"
    ds.SOPInstanceUID = "1.2.3.4"
    ds.Modality = "OT"
    ds.PatientName = "Doe^John"
    ds.Rows = 2
    ds.Columns = 2
    ds.BitsAllocated = 8
    ds.PixelSpacing = [0.5, 0.5]
    ref = Dataset()
    ref.ReferencedSOPInstanceUID = "1.2.3.5"
    inner = Dataset()
    inner.CodeValue = "T-1"
    ref.ConceptNameCodeSequence = Sequence([inner])
    ds.ReferencedImageSequence = Sequence([ref])
    ds.PixelData = b"\x01\x02\x03\x04"
    return ds


def save(name, ds, syntax, implicit, little, undefined=False):
    meta = FileMetaDataset()
    meta.MediaStorageSOPClassUID = ds.SOPClassUID
    meta.MediaStorageSOPInstanceUID = ds.SOPInstanceUID
    meta.TransferSyntaxUID = syntax
    ds.file_meta = meta
    ds.is_implicit_VR = implicit
    ds.is_little_endian = little
    if undefined:
        ds.ReferencedImageSequence.is_undefined_length = True
        for item in ds.ReferencedImageSequence:
            item.is_undefined_length_sequence_item = True
    ds.save_as(os.path.join(HERE, "corpus", name), write_like_original=False)


def main():
    os.makedirs(os.path.join(HERE, "corpus"), exist_ok=True)
    save("implicit.dcm", base(), ImplicitVRLittleEndian, True, True)
    save("explicit_le.dcm", base(), ExplicitVRLittleEndian, False, True, undefined=True)
    save("explicit_be.dcm", base(), ExplicitVRBigEndian, False, False)
    enc = base()
    enc.PixelData = pydicom.encaps.encapsulate([b"\xff\xd8\xff\xd9"])
    enc["PixelData"].VR = "OB"
    enc["PixelData"].is_undefined_length = True
    save("encapsulated.dcm", enc, JPEGBaseline8Bit, False, True)


if __name__ == "__main__":
    main()
