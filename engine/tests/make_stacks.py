#!/usr/bin/python3
"""Writes the test stacks of the engine tests into a folder, one subfolder per case:
ct (signed CT with rescale and a window, 3 slices), mono1 (MONOCHROME1 without a window),
rgb, palette, multiframe (4 frames), jpegll and jpegbase (lossless and baseline JPEG, by
dcmcjpeg), rle (by dcmcrle), bigendian, real (files pydicom ships). With --bench: 300 CT slices of 512x512.
The pixel values are deterministic."""
import os
import shutil
import subprocess
import sys

import numpy as np
from pydicom.dataset import Dataset, FileDataset, FileMetaDataset
from pydicom.uid import ExplicitVRLittleEndian, ExplicitVRBigEndian, generate_uid

CT = "1.2.840.10008.5.1.4.1.1.2"
SC = "1.2.840.10008.5.1.4.1.1.7"


def base(path, sop_class, rows, cols, little=True):
    meta = FileMetaDataset()
    meta.MediaStorageSOPClassUID = sop_class
    meta.MediaStorageSOPInstanceUID = generate_uid()
    meta.TransferSyntaxUID = ExplicitVRLittleEndian if little else ExplicitVRBigEndian
    ds = FileDataset(path, {}, file_meta=meta, preamble=b"\0" * 128)
    ds.is_little_endian = little
    ds.is_implicit_VR = False
    ds.SOPClassUID = sop_class
    ds.SOPInstanceUID = meta.MediaStorageSOPInstanceUID
    ds.PatientName = "Test^Engine"
    ds.PatientID = "E1"
    ds.StudyInstanceUID = "1.2.3.4"
    ds.SeriesInstanceUID = "1.2.3.4.5"
    ds.FrameOfReferenceUID = "1.2.3.4.6"
    ds.Rows = rows
    ds.Columns = cols
    return ds


def grey(ds, arr, bits, signed, photometric="MONOCHROME2"):
    ds.SamplesPerPixel = 1
    ds.PhotometricInterpretation = photometric
    ds.BitsAllocated = bits
    ds.BitsStored = bits if bits == 8 else 12 if not signed else 16
    ds.HighBit = ds.BitsStored - 1
    ds.PixelRepresentation = 1 if signed else 0
    dtype = {(8, False): "<u1", (16, False): "<u2", (16, True): "<i2"}[(bits, signed)]
    if not ds.is_little_endian:
        dtype = dtype.replace("<", ">")
    ds.PixelData = arr.astype(dtype).tobytes()


def ct_slice(rows, cols, k):
    y, x = np.mgrid[0:rows, 0:cols]
    r = np.hypot(x - cols / 2, y - rows / 2)
    a = np.where(r < cols * 0.45, 1000 + 60 * np.sin(x / 5.0 + k) + 40 * np.cos(y / 7.0), 0).astype(np.int32)
    a = np.where(r < cols * 0.15, 1024 + 300 + 20 * k, a)
    a = a + ((x * 7 + y * 3 + k * 11) % 23)
    return a - 524  # signed stored values; the rescale intercept -500 makes them HU


def write_ct(folder, n, rows, cols, little=True, name="ct"):
    os.makedirs(folder, exist_ok=True)
    for k in range(n):
        p = os.path.join(folder, "%s%03d.dcm" % (name, k))
        ds = base(p, CT, rows, cols, little)
        ds.Modality = "CT"
        ds.InstanceNumber = k + 1
        ds.ImagePositionPatient = [-100.0, -100.0, 2.5 * k]
        ds.ImageOrientationPatient = [1, 0, 0, 0, 1, 0]
        ds.PixelSpacing = [0.7, 0.7]
        ds.SliceThickness = 2.5
        ds.RescaleIntercept = -500
        ds.RescaleSlope = 1
        ds.WindowCenter = 40
        ds.WindowWidth = 400
        grey(ds, ct_slice(rows, cols, k), 16, True)
        ds.save_as(p, write_like_original=False)


def main(out):
    write_ct(os.path.join(out, "ct"), 3, 64, 64)
    write_ct(os.path.join(out, "bigendian"), 2, 64, 64, little=False)

    os.makedirs(os.path.join(out, "mono1"), exist_ok=True)
    p = os.path.join(out, "mono1", "m1.dcm")
    ds = base(p, SC, 50, 60)
    ds.Modality = "CR"
    y, x = np.mgrid[0:50, 0:60]
    grey(ds, (x * 50 + y * 13) % 4096, 16, False, "MONOCHROME1")
    ds.save_as(p, write_like_original=False)

    os.makedirs(os.path.join(out, "rgb"), exist_ok=True)
    p = os.path.join(out, "rgb", "rgb.dcm")
    ds = base(p, SC, 40, 48)
    ds.Modality = "OT"
    ds.SamplesPerPixel = 3
    ds.PhotometricInterpretation = "RGB"
    ds.PlanarConfiguration = 0
    ds.BitsAllocated = ds.BitsStored = 8
    ds.HighBit = 7
    ds.PixelRepresentation = 0
    y, x = np.mgrid[0:40, 0:48]
    rgb = np.stack([x * 5 % 256, y * 6 % 256, (x + y) * 3 % 256], axis=-1).astype(np.uint8)
    ds.PixelData = rgb.tobytes()
    ds.save_as(p, write_like_original=False)

    os.makedirs(os.path.join(out, "palette"), exist_ok=True)
    p = os.path.join(out, "palette", "pal.dcm")
    ds = base(p, SC, 32, 32)
    ds.Modality = "OT"
    y, x = np.mgrid[0:32, 0:32]
    grey(ds, (x * 8 + y) % 256, 8, False, "PALETTE COLOR")
    i = np.arange(256)
    for c, table in (("Red", i * 257), ("Green", (255 - i) * 257), ("Blue", (i * 3 % 256) * 257)):
        setattr(ds, c + "PaletteColorLookupTableDescriptor", [256, 0, 16])
        setattr(ds, c + "PaletteColorLookupTableData", table.astype("<u2").tobytes())
    ds.save_as(p, write_like_original=False)

    os.makedirs(os.path.join(out, "multiframe"), exist_ok=True)
    p = os.path.join(out, "multiframe", "mf.dcm")
    ds = base(p, SC, 30, 40)
    ds.Modality = "OT"
    ds.NumberOfFrames = 4
    y, x = np.mgrid[0:30, 0:40]
    frames = np.stack([(x * 6 + y * 2 + f * 60) % 256 for f in range(4)])
    grey(ds, frames, 8, False)
    ds.save_as(p, write_like_original=False)

    # Compressed copies made by dcmtk from native files.
    src8 = os.path.join(out, "native8")
    os.makedirs(src8, exist_ok=True)
    p8 = os.path.join(src8, "g8.dcm")
    ds = base(p8, SC, 48, 64)
    ds.Modality = "OT"
    y, x = np.mgrid[0:48, 0:64]
    grey(ds, (x * 4 + (y // 8) * 32) % 256, 8, False)
    ds.save_as(p8, write_like_original=False)
    for case, tool, args, src in (("jpegll", "dcmcjpeg", ["+e1"], os.path.join(out, "ct", "ct000.dcm")),
                                  ("jpegbase", "dcmcjpeg", ["+eb", "+q", "100"], p8),
                                  ("rle", "dcmcrle", [], os.path.join(out, "ct", "ct001.dcm"))):
        os.makedirs(os.path.join(out, case), exist_ok=True)
        subprocess.run([tool] + args + [src, os.path.join(out, case, case + ".dcm")], check=True)

    # Real files that pydicom ships: a CT slice, RLE and big-endian MR, native YBR 4:2:2,
    # RGB in RLE and in baseline JPEG.
    from pydicom.data import get_testdata_file
    os.makedirs(os.path.join(out, "real"), exist_ok=True)
    for name in ("CT_small.dcm", "MR_small_RLE.dcm", "MR_small_bigendian.dcm", "SC_ybr_full_422_uncompressed.dcm",
                 "SC_rgb_rle.dcm", "SC_rgb_dcmtk_+eb+cr.dcm", "SC_rgb_jpeg_dcmtk.dcm"):
        shutil.copy(get_testdata_file(name), os.path.join(out, "real", name))


if __name__ == "__main__":
    if sys.argv[1] == "--bench":
        # The benchmark's stack: 300 CT slices of 512 x 512 in one folder.
        write_ct(sys.argv[2], 300, 512, 512)
    else:
        main(sys.argv[1])
