#!/usr/bin/python3
"""Fixtures for the codec agreement tests, made at test time in a temporary folder.

prepare <folder>: writes one line per case into <folder>/manifest.txt:
  name kind rows columns bits samples planar tolerance frame-file reference-file
where the frame file holds one encapsulated frame and the reference file the pixels that
dcmdjpeg or dcmdrle decoded from the same file (interleaved when colour).

decode <ts> <rows> <columns> <bits> <bits-stored> <samples> <photometric> <frame> <out>: wraps
one compressed frame into a DICOM file, decodes it with dcmdjpeg or dcmdrle, writes its pixels.
"""
import os
import subprocess
import sys

import numpy as np
import pydicom
from pydicom.dataset import Dataset, FileMetaDataset
from pydicom.encaps import encapsulate, generate_pixel_data_frame
from pydicom.uid import ExplicitVRLittleEndian, generate_uid

TEST_FILES = os.path.join(os.path.dirname(pydicom.__file__), "data", "test_files")

RLE = "1.2.840.10008.1.2.5"
LOSSLESS_SV1 = "1.2.840.10008.1.2.4.70"
LOSSLESS = "1.2.840.10008.1.2.4.57"
BASELINE = "1.2.840.10008.1.2.4.50"
EXTENDED = "1.2.840.10008.1.2.4.51"


def run(args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def decoded_pixels(path, folder, options=()):
    """The pixel bytes dcmtk decodes from an encapsulated file, colour as interleaved triplets."""
    ds = pydicom.dcmread(path)
    out = os.path.join(folder, os.path.basename(path) + ".native.dcm")
    tool = "dcmdrle" if ds.file_meta.TransferSyntaxUID == RLE else "dcmdjpeg"
    run([tool, *options, path, out])
    native = pydicom.dcmread(out)
    data = native.PixelData
    rows, cols = native.Rows, native.Columns
    spp = native.SamplesPerPixel
    if spp == 3 and getattr(native, "PlanarConfiguration", 0) == 1:
        frame = rows * cols
        planes = np.frombuffer(data[: 3 * frame * int(native.get("NumberOfFrames", 1) or 1)], np.uint8)
        frames = int(native.get("NumberOfFrames", 1) or 1)
        planes = planes.reshape(frames, 3, frame)
        data = planes.transpose(0, 2, 1).tobytes()
    return native, bytes(data)


def first_frame(ds):
    frames = int(ds.get("NumberOfFrames", 1) or 1)
    return next(generate_pixel_data_frame(ds.PixelData, frames))


def add_case(lines, folder, name, kind, path, tolerance, options=()):
    ds = pydicom.dcmread(path)
    frame = first_frame(ds)
    native, reference = decoded_pixels(path, folder, options)
    bits = native.BitsAllocated
    spp = native.SamplesPerPixel
    frame_bytes = native.Rows * native.Columns * spp * (2 if bits > 8 else 1)
    reference = reference[:frame_bytes]
    frame_file = os.path.join(folder, name + ".frame")
    ref_file = os.path.join(folder, name + ".ref")
    with open(frame_file, "wb") as f:
        f.write(frame)
    with open(ref_file, "wb") as f:
        f.write(reference)
    planar = int(getattr(ds, "PlanarConfiguration", 0) or 0)
    lines.append(f"{name} {kind} {native.Rows} {native.Columns} {bits} {spp} {planar} {tolerance} {frame_file} {ref_file}")


def add_refused(lines, folder, name, path):
    """A frame the converter must refuse (RLE deeper than the codecs handle); no reference."""
    ds = pydicom.dcmread(path)
    frame_file = os.path.join(folder, name + ".frame")
    with open(frame_file, "wb") as f:
        f.write(first_frame(ds))
    planar = int(getattr(ds, "PlanarConfiguration", 0) or 0)
    lines.append(f"{name} refused {ds.Rows} {ds.Columns} {ds.BitsAllocated} {ds.SamplesPerPixel} {planar} 0 {frame_file} -")


def synthetic(folder, name, rows, cols, bits_stored, spp=1, signed=False):
    """A native image with a smooth pattern plus noise that uses the full stored range."""
    rng = np.random.default_rng(bits_stored * 31 + spp)
    bits = 8 if bits_stored <= 8 else 16
    top = (1 << bits_stored) - 1
    y, x = np.mgrid[0:rows, 0:cols]
    base = (x * 7 + y * 3) % (top + 1)
    noise = rng.integers(0, max(2, (top + 1) // 16), size=(rows, cols))
    img = (base + noise) % (top + 1)
    img[0, 0] = top
    img[0, 1] = 0
    ds = Dataset()
    ds.file_meta = FileMetaDataset()
    ds.file_meta.TransferSyntaxUID = ExplicitVRLittleEndian
    ds.file_meta.MediaStorageSOPClassUID = "1.2.840.10008.5.1.4.1.1.7"
    ds.file_meta.MediaStorageSOPInstanceUID = generate_uid()
    ds.SOPClassUID = "1.2.840.10008.5.1.4.1.1.7"
    ds.SOPInstanceUID = ds.file_meta.MediaStorageSOPInstanceUID
    ds.Rows, ds.Columns = rows, cols
    ds.BitsAllocated, ds.BitsStored, ds.HighBit = bits, bits_stored, bits_stored - 1
    ds.PixelRepresentation = 1 if signed else 0
    ds.SamplesPerPixel = spp
    if spp == 3:
        ds.PhotometricInterpretation = "RGB"
        ds.PlanarConfiguration = 0
        img = np.stack([img, (img * 3) % (top + 1), top - img], axis=-1)
    else:
        ds.PhotometricInterpretation = "MONOCHROME2"
    dtype = np.uint8 if bits == 8 else np.uint16
    ds.PixelData = img.astype(dtype).tobytes()
    path = os.path.join(folder, name + ".native.src.dcm")
    ds.save_as(path, write_like_original=False)
    return path


def prepare(folder):
    lines = []
    for name, tol in [("MR_small_RLE", 0), ("SC_rgb_rle", 0), ("SC_rgb_rle_2frame", 0),
                      ("JPEG-lossy", 1), ("JPGExtended", 1), ("SC_rgb_jpeg_dcmtk", 1),
                      ("SC_rgb_jpeg_gdcm", 0), ("SC_rgb_small_odd_jpeg", 1),
                      ("SC_rgb_jpeg_lossy_gdcm", 1), ("SC_rgb_dcmtk_+eb+cy+s2", 1)]:
        path = os.path.join(TEST_FILES, name + ".dcm")
        ds = pydicom.dcmread(path)
        ts = ds.file_meta.TransferSyntaxUID
        kind = "rle" if ts == RLE else ("lossless" if ts in (LOSSLESS, LOSSLESS_SV1) else "lossy")
        # This stream carries no colour marker (no JFIF, no Adobe segment), so a decoder that
        # reads the stream alone takes it for YCbCr; dcmdjpeg by default follows the file's
        # attribute (RGB) instead. The component reads the stream alone, as dcmdjpeg +cg does.
        options = ("+cg",) if name == "SC_rgb_jpeg_lossy_gdcm" else ()
        add_case(lines, folder, name.replace("+", "p"), kind, path, tol, options)

    for name in ("rtdose_rle_1frame", "SC_rgb_rle_16bit", "SC_rgb_rle_32bit"):
        add_refused(lines, folder, name, os.path.join(TEST_FILES, name + ".dcm"))

    # Files made here with dcmtk from native images.
    sources = {
        "CT": os.path.join(TEST_FILES, "CT_small.dcm"),
        "MR": os.path.join(TEST_FILES, "MR_small.dcm"),
        "RGBodd": os.path.join(TEST_FILES, "SC_rgb_small_odd.dcm"),
    }
    for p in (2, 5, 8, 12, 16):
        sources[f"P{p}"] = synthetic(folder, f"P{p}", 48, 40, p)
    sources["RGB"] = synthetic(folder, "RGB", 33, 27, 8, spp=3)
    made = []
    for src in ("CT", "MR", "P2", "P5", "P8", "P12", "P16", "RGB", "RGBodd"):
        made.append((f"{src}_e1", "lossless", src, ["+e1"], 0))
        made.append((f"{src}_rle", "rle", src, None, 0))
    for sv in (2, 3, 4, 5, 6, 7):
        for src in ("CT", "P12", "P5", "RGB"):
            made.append((f"{src}_sv{sv}", "lossless", src, ["+el", "+sv", str(sv)], 0))
    for src in ("P8", "P12", "MR"):
        made.append((f"{src}_ee", "lossy", src, ["+ee"], 1))
    for src in ("P8", "RGB", "RGBodd"):
        made.append((f"{src}_eb", "lossy", src, ["+eb"], 1))
    for name, kind, src, options, tol in made:
        out = os.path.join(folder, name + ".dcm")
        try:
            if options is None:
                run(["dcmcrle", sources[src], out])
            else:
                run(["dcmcjpeg"] + options + [sources[src], out])
        except subprocess.CalledProcessError:
            continue  # a combination dcmtk refuses
        add_case(lines, folder, name, kind, out, tol)
    with open(os.path.join(folder, "manifest.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


def decode(ts, rows, cols, bits, stored, spp, photometric, frame_file, out_file):
    with open(frame_file, "rb") as f:
        frame = f.read()
    ds = Dataset()
    ds.file_meta = FileMetaDataset()
    ds.file_meta.TransferSyntaxUID = ts
    ds.file_meta.MediaStorageSOPClassUID = "1.2.840.10008.5.1.4.1.1.7"
    ds.file_meta.MediaStorageSOPInstanceUID = generate_uid()
    ds.SOPClassUID = "1.2.840.10008.5.1.4.1.1.7"
    ds.SOPInstanceUID = ds.file_meta.MediaStorageSOPInstanceUID
    ds.Rows, ds.Columns = int(rows), int(cols)
    ds.BitsAllocated, ds.BitsStored, ds.HighBit = int(bits), int(stored), int(stored) - 1
    ds.PixelRepresentation = 0
    ds.SamplesPerPixel = int(spp)
    ds.PhotometricInterpretation = photometric
    if int(spp) == 3:
        ds.PlanarConfiguration = 0
    ds.PixelData = encapsulate([frame])
    ds["PixelData"].is_undefined_length = True
    ds.is_little_endian, ds.is_implicit_VR = True, False
    path = frame_file + ".dcm"
    ds.save_as(path, write_like_original=False)
    native, data = decoded_pixels(path, os.path.dirname(frame_file))
    with open(out_file, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    if sys.argv[1] == "prepare":
        prepare(sys.argv[2])
    else:
        decode(*sys.argv[2:])
