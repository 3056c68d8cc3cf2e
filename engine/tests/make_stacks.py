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


def write_geometry(folder):
    """Images of known geometry for the measurements: 80 x 60 pixels of 0.5 mm (rows) by
    0.7 mm (columns); a disc of radius 12 pixels centred at (20, 20), a square from (44, 10)
    to (64, 30), two lines crossing at a known angle; rescale slope 2, intercept -100. Also
    the same picture without any spacing ("nospacing") and a PET copy ("pet")."""
    os.makedirs(folder, exist_ok=True)
    rows, cols = 60, 80
    y, x = np.mgrid[0:rows, 0:cols]
    a = ((x * 7 + y * 13) % 50).astype(np.int32)
    a = np.where(np.hypot(x + 0.5 - 20, y + 0.5 - 20) <= 12, a + 400, a)
    a = np.where((x >= 44) & (x < 64) & (y >= 10) & (y < 30), a + 800, a)
    a = np.where(np.abs((y - 45) - 0.5 * (x - 10)) < 0.6, 1500, a)
    for name, spacing, modality in (("geom", [0.5, 0.7], "CT"), ("nospacing", None, "CT"), ("pet", [0.5, 0.7], "PT")):
        p = os.path.join(folder, name + ".dcm")
        ds = base(p, CT, rows, cols)
        ds.Modality = modality
        ds.InstanceNumber = 1
        if spacing:
            ds.PixelSpacing = spacing
        ds.RescaleSlope = 2
        ds.RescaleIntercept = -100
        grey(ds, a, 16, False)
        ds.save_as(p, write_like_original=False)


def write_sagittal(folder):
    """Two sagittal slices in the frame of reference of the ct stack: planes x = -86 mm and
    x = -72 mm, rows running down from z = 10 mm."""
    os.makedirs(folder, exist_ok=True)
    for k, xpos in enumerate((-86.0, -72.0)):
        p = os.path.join(folder, "sag%03d.dcm" % k)
        ds = base(p, CT, 64, 64)
        ds.Modality = "CT"
        ds.InstanceNumber = k + 1
        ds.ImagePositionPatient = [xpos, -100.0, 10.0]
        ds.ImageOrientationPatient = [0, 1, 0, 0, 0, -1]
        ds.PixelSpacing = [1.0, 0.7]
        grey(ds, ct_slice(64, 64, k), 16, True)
        ds.save_as(p, write_like_original=False)


def write_states(out):
    """Presentation states made by dcmpsmk from ct000, then given what each case needs."""
    import pydicom
    folder = os.path.join(out, "ps")
    os.makedirs(folder, exist_ok=True)
    src = os.path.join(out, "ct", "ct000.dcm")
    cases = {}
    for name in ("window", "voilut", "rotflip", "area", "annotations"):
        p = os.path.join(folder, name + ".dcm")
        subprocess.run(["dcmpsmk", "+Vw", src, p], check=True)
        ps = pydicom.dcmread(p)
        ps.ContentLabel = name.upper()
        cases[name] = (p, ps)
    p, ps = cases["window"]
    ps.SoftcopyVOILUTSequence[0].WindowCenter = 200
    ps.SoftcopyVOILUTSequence[0].WindowWidth = 800
    p, ps = cases["voilut"]
    item = ps.SoftcopyVOILUTSequence[0]
    del item.WindowCenter
    del item.WindowWidth
    lut = Dataset()
    lut.LUTDescriptor = [256, (-600) & 0xFFFF, 12]
    lut.LUTData = [int(4095 * (i / 255.0) ** 0.5) for i in range(256)]
    lut["LUTDescriptor"].VR = "US"
    lut["LUTData"].VR = "US"
    from pydicom.sequence import Sequence
    item.VOILUTSequence = Sequence([lut])
    p, ps = cases["rotflip"]
    ps.ImageRotation = 90
    ps.ImageHorizontalFlip = "Y"
    p, ps = cases["area"]
    area = ps.DisplayedAreaSelectionSequence[0]
    area.DisplayedAreaTopLeftHandCorner = [9, 17]
    area.DisplayedAreaBottomRightHandCorner = [40, 32]
    area.PresentationSizeMode = "SCALE TO FIT"
    p, ps = cases["annotations"]
    ref = ps.ReferencedSeriesSequence[0].ReferencedImageSequence[0]
    layer = Dataset()
    layer.GraphicLayer = "LAYER1"
    layer.GraphicLayerOrder = 1
    ps.GraphicLayerSequence = Sequence([layer])
    ann = Dataset()
    ann.GraphicLayer = "LAYER1"
    text = Dataset()
    text.BoundingBoxAnnotationUnits = "PIXEL"
    text.UnformattedTextValue = "LESION"
    text.BoundingBoxTopLeftHandCorner = [8.0, 4.0]
    text.BoundingBoxBottomRightHandCorner = [40.0, 12.0]
    text.BoundingBoxTextHorizontalJustification = "LEFT"
    ann.TextObjectSequence = Sequence([text])
    circle = Dataset()
    circle.GraphicAnnotationUnits = "PIXEL"
    circle.GraphicDimensions = 2
    circle.NumberOfGraphicPoints = 2
    circle.GraphicData = [32.0, 32.0, 42.0, 32.0]
    circle.GraphicType = "CIRCLE"
    circle.GraphicFilled = "N"
    line = Dataset()
    line.GraphicAnnotationUnits = "PIXEL"
    line.GraphicDimensions = 2
    line.NumberOfGraphicPoints = 3
    line.GraphicData = [10.0, 50.0, 30.0, 60.0, 50.0, 50.0]
    line.GraphicType = "POLYLINE"
    line.GraphicFilled = "N"
    ann.GraphicObjectSequence = Sequence([circle, line])
    ann.ReferencedImageSequence = Sequence([ref])
    ps.GraphicAnnotationSequence = Sequence([ann])
    for p, ps in cases.values():
        ps.save_as(p)
    # A state of another image (not listed) and a file that is no state at all.
    other = os.path.join(folder, "other.dcm")
    subprocess.run(["dcmpsmk", os.path.join(out, "mono1", "m1.dcm"), other], check=True)
    shutil.copy(src, os.path.join(folder, "not-a-state.dcm"))


def main(out):
    write_ct(os.path.join(out, "ct"), 3, 64, 64)
    write_geometry(os.path.join(out, "geom"))
    write_sagittal(os.path.join(out, "sag"))
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
    write_states(out)


if __name__ == "__main__":
    if sys.argv[1] == "--bench":
        # The benchmark's stack: 300 CT slices of 512 x 512 in one folder.
        write_ct(sys.argv[2], 300, 512, 512)
    else:
        main(sys.argv[1])
