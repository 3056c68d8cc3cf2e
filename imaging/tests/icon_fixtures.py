#!/usr/bin/python3
"""Fixtures for the icon tests, made at test time in a temporary folder.

prepare <folder>: writes one DICOM file per case and <folder>/manifest.txt with one line per
case: name file kind picture, where picture is "grey", "colour" or "frames" (what the icon
must show, see the test). A 256 × 192 picture: a left-to-right gradient, a bright (grey) or
red (colour) square at the top left, a dark (grey) or blue (colour) square at the bottom right.

dicomdir <folder> <files...>: copies the files into <folder>/dd as IMG1, IMG2, ... and has
dcmmkdir write <folder>/dd/DICOMDIR with icon images.
"""
import os
import shutil
import subprocess
import sys

import numpy as np
import pydicom
from pydicom.dataset import Dataset, FileMetaDataset
from pydicom.uid import generate_uid

ROWS, COLUMNS = 192, 256
SC = "1.2.840.10008.5.1.4.1.1.7"
EXPLICIT_LE = "1.2.840.10008.1.2.1"
IMPLICIT_LE = "1.2.840.10008.1.2"


def run(args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def grey(top, bottom_value=0, low=0):
    x = np.arange(COLUMNS, dtype=np.int64)
    picture = np.tile(low + (x * (top - low)) // (COLUMNS - 1), (ROWS, 1))
    picture[16:64, 16:64] = top
    picture[128:176, 192:240] = bottom_value
    return picture


def colour():
    g = grey(200).astype(np.uint8)
    rgb = np.stack([g, g, g], axis=-1)
    rgb[16:64, 16:64] = (255, 0, 0)
    rgb[128:176, 192:240] = (0, 0, 255)
    return rgb


def dataset(photometric, samples, bits, stored, signed, frames=None):
    ds = Dataset()
    ds.file_meta = FileMetaDataset()
    ds.file_meta.MediaStorageSOPClassUID = SC
    ds.file_meta.MediaStorageSOPInstanceUID = generate_uid()
    ds.file_meta.TransferSyntaxUID = EXPLICIT_LE
    ds.file_meta.ImplementationClassUID = generate_uid()
    ds.SOPClassUID = SC
    ds.SOPInstanceUID = ds.file_meta.MediaStorageSOPInstanceUID
    ds.StudyInstanceUID = generate_uid()
    ds.SeriesInstanceUID = generate_uid()
    ds.PatientName = "Icon^Fixture"
    ds.PatientID = "ICON1"
    ds.StudyDate = "20260101"
    ds.StudyTime = "120000"
    ds.StudyID = "1"
    ds.AccessionNumber = ""
    ds.ReferringPhysicianName = ""
    ds.PatientBirthDate = ""
    ds.PatientSex = ""
    ds.Modality = "OT"
    ds.ConversionType = "WSD"
    ds.SeriesNumber = 1
    ds.InstanceNumber = 1
    ds.PatientOrientation = ""
    ds.SamplesPerPixel = samples
    ds.PhotometricInterpretation = photometric
    if samples > 1:
        ds.PlanarConfiguration = 0
    if frames:
        ds.NumberOfFrames = frames
    ds.Rows = ROWS
    ds.Columns = COLUMNS
    ds.BitsAllocated = bits
    ds.BitsStored = stored
    ds.HighBit = stored - 1
    ds.PixelRepresentation = 1 if signed else 0
    return ds


def save(ds, pixels, path, syntax=EXPLICIT_LE):
    ds.PixelData = pixels
    ds.file_meta.TransferSyntaxUID = syntax
    ds.is_little_endian = True
    ds.is_implicit_VR = syntax == IMPLICIT_LE
    ds.save_as(path, write_like_original=False)


def ybr_full(rgb):
    r, g, b = [rgb[..., k].astype(np.float64) for k in range(3)]
    y = 0.299 * r + 0.587 * g + 0.114 * b
    cb = -0.168736 * r - 0.331264 * g + 0.5 * b + 128
    cr = 0.5 * r - 0.418688 * g - 0.081312 * b + 128
    return np.clip(np.round(np.stack([y, cb, cr], axis=-1)), 0, 255).astype(np.uint8)


def prepare(folder):
    cases = []

    def add(name, kind, picture, ds, pixels, syntax=EXPLICIT_LE):
        path = os.path.join(folder, name + ".dcm")
        save(ds, pixels, path, syntax)
        cases.append((name, path, kind, picture))
        return path

    def derived(name, kind, picture, source, tool, *options):
        path = os.path.join(folder, name + ".dcm")
        run([tool, *options, source, path])
        cases.append((name, path, kind, picture))
        return path

    add("mono2_8", 2, "grey", dataset("MONOCHROME2", 1, 8, 8, False), grey(255).astype(np.uint8).tobytes())
    add("mono1_8", 1, "grey", dataset("MONOCHROME1", 1, 8, 8, False),
        (255 - grey(255)).astype(np.uint8).tobytes(), IMPLICIT_LE)
    # Twelve stored bits with noise in the four bits above them.
    noisy = (grey(4095) | 0xA000).astype(np.uint16)
    add("mono2_16", 2, "grey", dataset("MONOCHROME2", 1, 16, 12, False), noisy.tobytes())
    clean16 = add("mono2_16_clean", 2, "grey", dataset("MONOCHROME2", 1, 16, 12, False),
                  grey(4095).astype(np.uint16).tobytes())
    add("mono1_16", 2, "grey", dataset("MONOCHROME1", 1, 16, 16, False),
        (65535 - grey(60000)).astype(np.uint16).tobytes())
    ct = dataset("MONOCHROME2", 1, 16, 16, True)
    ct.RescaleIntercept = "0"
    ct.RescaleSlope = "1"
    ct.WindowCenter = "40"
    ct.WindowWidth = "400"
    ct_path = add("ct_signed", 2, "grey", ct, grey(2000, -1024, -1000).astype(np.int16).tobytes())
    ct2 = dataset("MONOCHROME2", 1, 16, 12, False)
    ct2.RescaleIntercept = "-1024"
    ct2.RescaleSlope = "1"
    add("ct_rescaled", 2, "grey", ct2, grey(3024, 0, 24).astype(np.uint16).tobytes())

    rgb = colour()
    rgb_path = add("rgb_planar0", 2, "colour", dataset("RGB", 3, 8, 8, False), rgb.tobytes())
    planar = dataset("RGB", 3, 8, 8, False)
    planar.PlanarConfiguration = 1
    rgb_planar_path = add("rgb_planar1", 2, "colour", planar, np.ascontiguousarray(rgb.transpose(2, 0, 1)).tobytes())
    ybr = ybr_full(rgb)
    add("ybr_full", 2, "colour", dataset("YBR_FULL", 3, 8, 8, False), ybr.tobytes())
    # 4:2:2: Y Y Cb Cr for every two pixels, the chroma of the pair averaged.
    pairs = ybr.reshape(ROWS, COLUMNS // 2, 2, 3).astype(np.int32)
    chroma = (pairs[:, :, 0, 1:] + pairs[:, :, 1, 1:] + 1) // 2
    packed = np.concatenate([pairs[:, :, 0, :1], pairs[:, :, 1, :1], chroma], axis=-1).astype(np.uint8)
    add("ybr_full_422", 2, "colour", dataset("YBR_FULL_422", 3, 8, 8, False), packed.tobytes())

    palette = dataset("PALETTE COLOR", 1, 8, 8, False)
    levels = [i * 255 // 199 for i in range(200)] + [0] * 56
    red, green, blue = list(levels), list(levels), list(levels)
    red[250], green[250], blue[250] = 255, 0, 0
    red[251], green[251], blue[251] = 0, 0, 255
    for element, table in ((0x1201, red), (0x1202, green), (0x1203, blue)):
        palette.add_new((0x0028, element), "OW", np.array([v * 257 for v in table], dtype=np.uint16).tobytes())
    for element in (0x1101, 0x1102, 0x1103):
        palette.add_new((0x0028, element), "US", [256, 0, 16])
    indexes = grey(199).astype(np.uint8)
    indexes[16:64, 16:64] = 250
    indexes[128:176, 192:240] = 251
    add("palette", 2, "colour", palette, indexes.tobytes())

    mono2_8 = os.path.join(folder, "mono2_8.dcm")
    derived("jpeg_lossless_16", 5, "grey", clean16, "dcmcjpeg", "+e1")
    derived("jpeg_lossless_rgb", 5, "colour", rgb_path, "dcmcjpeg", "+e1")
    derived("jpeg_baseline_grey", 7, "grey", mono2_8, "dcmcjpeg", "+eb")
    derived("jpeg_baseline_rgb", 7, "colour", rgb_path, "dcmcjpeg", "+eb")
    derived("jpeg_extended_12", 7, "grey", clean16, "dcmcjpeg", "+ee")
    derived("rle_ct", 6, "grey", ct_path, "dcmcrle")
    derived("rle_rgb", 6, "colour", rgb_path, "dcmcrle")
    # RLE colour keeps Planar Configuration 1 in the file, yet decodes to interleaved pixels.
    rle_planar = derived("rle_rgb_planar1", 6, "colour", rgb_planar_path, "dcmcrle")
    ds = pydicom.dcmread(rle_planar)
    ds.PlanarConfiguration = 1
    ds.save_as(rle_planar)

    frames = dataset("MONOCHROME2", 1, 8, 8, False, frames=10)
    stack = []
    for k in range(10):
        picture = grey(100)
        picture[16:64, 16:64] = 20 + 20 * k
        stack.append(picture.astype(np.uint8))
    multi = add("multiframe", 2, "frames", frames, np.stack(stack).tobytes())
    derived("multiframe_rle", 6, "frames", multi, "dcmcrle")
    derived("mono2_16_big_endian", 3, "grey", clean16, "dcmconv", "+tb")

    with open(os.path.join(folder, "manifest.txt"), "w") as out:
        for case in cases:
            out.write(" ".join(str(v) for v in case) + "\n")


def dicomdir(folder, files):
    target = os.path.join(folder, "dd")
    shutil.rmtree(target, ignore_errors=True)
    os.makedirs(target)
    for i, path in enumerate(files):
        shutil.copy(path, os.path.join(target, "IMG%d" % (i + 1)))
    names = ["IMG%d" % (i + 1) for i in range(len(files))]
    subprocess.run(["dcmmkdir", "+I", "+X", "+id", target, "+D", os.path.join(target, "DICOMDIR"), *names],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


if __name__ == "__main__":
    if sys.argv[1] == "prepare":
        prepare(sys.argv[2])
    elif sys.argv[1] == "dicomdir":
        dicomdir(sys.argv[2], sys.argv[3:])
    else:
        sys.exit(2)
