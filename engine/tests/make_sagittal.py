#!/usr/bin/python3
"""Writes a sagittal slice in the frame of reference of an axial slice: its plane runs down
the axial image's middle column, 120 rows of 1 mm from 40 mm above the axial plane, with a
synthetic gradient for pixels. Usage: make_sagittal.py <axial file> <out file>"""
import sys

import numpy as np
import pydicom
from pydicom.dataset import FileDataset, FileMetaDataset
from pydicom.uid import ExplicitVRLittleEndian, generate_uid


def main(axial_path, out):
    ax = pydicom.dcmread(axial_path, stop_before_pixels=True)
    p = np.array([float(v) for v in ax.ImagePositionPatient])
    o = [float(v) for v in ax.ImageOrientationPatient]
    r, c = np.array(o[:3]), np.array(o[3:])
    n = np.cross(r, c)
    row_sp, col_sp = (float(v) for v in ax.PixelSpacing)
    cols, rows = int(ax.Columns), int(ax.Rows)
    top_left = p + r * col_sp * (cols / 2.0) + n * 40.0
    meta = FileMetaDataset()
    meta.MediaStorageSOPClassUID = "1.2.840.10008.5.1.4.1.1.2"
    meta.MediaStorageSOPInstanceUID = generate_uid()
    meta.TransferSyntaxUID = ExplicitVRLittleEndian
    ds = FileDataset(out, {}, file_meta=meta, preamble=b"\0" * 128)
    ds.is_little_endian, ds.is_implicit_VR = True, False
    ds.SOPClassUID = meta.MediaStorageSOPClassUID
    ds.SOPInstanceUID = meta.MediaStorageSOPInstanceUID
    ds.PatientName = getattr(ax, "PatientName", "")
    ds.Modality = "CT"
    ds.StudyInstanceUID = generate_uid()
    ds.SeriesInstanceUID = generate_uid()
    ds.FrameOfReferenceUID = ax.FrameOfReferenceUID
    # Decimal strings of at most 16 characters.
    ds.ImagePositionPatient = ["%.6f" % v for v in top_left]
    ds.ImageOrientationPatient = ["%.6f" % (v + 0.0) for v in list(c) + list(-n)]
    ds.PixelSpacing = [1.0, row_sp]
    ds.Rows, ds.Columns = 120, rows
    y, x = np.mgrid[0:120, 0:rows]
    ds.SamplesPerPixel = 1
    ds.PhotometricInterpretation = "MONOCHROME2"
    ds.BitsAllocated = ds.BitsStored = 16
    ds.HighBit = 15
    ds.PixelRepresentation = 0
    ds.PixelData = ((x * 13 + y * 31) % 2000 + 200 * ((y // 10) % 2)).astype("<u2").tobytes()
    ds.save_as(out, write_like_original=False)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
