#!/usr/bin/python3
"""Multi-frame encapsulated files in the shapes real writers make, for the frame-finding tests.

Usage: make_frame_shapes.py DIR

A 4-frame grey image is made with pydicom, compressed by dcmtk (lossless JPEG, baseline JPEG,
RLE) and decompressed again by dcmtk into <codec>_reference.dcm. Its frames are then stored in
<codec>_<shape>.dcm with offset tables and fragments as several writers store them.
"""
import os
import struct
import subprocess
import sys

import numpy as np
import pydicom
from pydicom.dataset import FileDataset, FileMetaDataset
from pydicom.encaps import generate_pixel_data_frame
from pydicom.uid import ExplicitVRLittleEndian, generate_uid

FRAMES, ROWS, COLUMNS = 4, 32, 40


def native(path):
    meta = FileMetaDataset()
    meta.MediaStorageSOPClassUID = "1.2.840.10008.5.1.4.1.1.7"
    meta.MediaStorageSOPInstanceUID = generate_uid()
    meta.TransferSyntaxUID = ExplicitVRLittleEndian
    ds = FileDataset(path, {}, file_meta=meta, preamble=b"\0" * 128)
    ds.is_little_endian, ds.is_implicit_VR = True, False
    ds.SOPClassUID, ds.SOPInstanceUID = meta.MediaStorageSOPClassUID, meta.MediaStorageSOPInstanceUID
    ds.Modality = "OT"
    ds.SamplesPerPixel, ds.PhotometricInterpretation = 1, "MONOCHROME2"
    ds.NumberOfFrames, ds.Rows, ds.Columns = FRAMES, ROWS, COLUMNS
    ds.BitsAllocated, ds.BitsStored, ds.HighBit, ds.PixelRepresentation = 8, 8, 7, 0
    rng = np.random.default_rng(19)
    y, x = np.mgrid[0:ROWS, 0:COLUMNS]
    # Frames of different content, so that their compressed sizes differ.
    pixels = np.stack([(x * (f + 1) + y * 3 + rng.integers(0, 8 * (f + 1), (ROWS, COLUMNS))) % 256
                       for f in range(FRAMES)]).astype(np.uint8)
    ds.PixelData = pixels.tobytes()
    ds.save_as(path, write_like_original=False)


def items(table, fragments, pad):
    out = struct.pack("<HHI", 0xFFFE, 0xE000, 4 * len(table)) + b"".join(struct.pack("<I", t) for t in table)
    for f in fragments:
        body = f + b"\0" if pad and len(f) % 2 else f
        out += struct.pack("<HHI", 0xFFFE, 0xE000, len(body)) + body
    return out  # pydicom writes the sequence delimiter


def offsets(fragments, pad, extra=0):
    table, at = [], 0
    for f in fragments:
        table.append(at)
        at += 8 + len(f) + (len(f) % 2 if pad else 0) + extra
    return table, at


def store(source, path, value, frames=FRAMES):
    ds = pydicom.dcmread(source)
    ds.NumberOfFrames = frames
    ds.PixelData = value
    ds["PixelData"].VR = "OB"
    ds["PixelData"].is_undefined_length = True
    assert len(value) % 2 == 0, path  # an odd value would get a byte after its delimiter
    ds.save_as(path)


def odd(frame):
    # A JPEG stream without its padding byte, or with one trailing byte after its end marker.
    return frame[:-1] if frame.endswith(b"\xff\xd9\x00") else frame + b"\0"


def halves(frame):
    cut = len(frame) // 2 & ~1
    return [frame[:cut], frame[cut:]]


def main(out):
    os.makedirs(out, exist_ok=True)
    source = os.path.join(out, "native.dcm")
    native(source)
    codecs = {"jpeg_lossless": (["dcmcjpeg", "+e1"], "dcmdjpeg"), "jpeg_baseline": (["dcmcjpeg", "+eb"], "dcmdjpeg"),
              "rle": (["dcmcrle"], "dcmdrle")}
    for codec, (compress, decompress) in codecs.items():
        compressed = os.path.join(out, codec + ".dcm")
        subprocess.run(compress + [source, compressed], check=True)
        # As the codecs store frames when told to leave the offset table empty.
        subprocess.run(compress + ["-ot", source, os.path.join(out, codec + "_empty_table.dcm")], check=True)
        subprocess.run([decompress, "+te", compressed, os.path.join(out, codec + "_reference.dcm")], check=True)
        ds = pydicom.dcmread(compressed)
        frames = [bytes(f) for f in generate_pixel_data_frame(ds.PixelData, FRAMES)]
        shapes = {}
        # One table entry more than there are frames: the end of the last fragment.
        table, end = offsets(frames, True)
        shapes["extra_entry"] = items(table + [end], frames, True)
        # Frames over two fragments each, no table: found by their JPEG or RLE starts.
        split = [h for f in frames for h in halves(f)]
        shapes["split_no_table"] = items([], split, True)
        # Frames over two fragments each, the table one byte further off at every frame.
        table = [t + i for i, t in enumerate(offsets(frames, True, 8)[0])]
        shapes["split_bad_table"] = items(table, split, True)
        if codec != "rle":
            odds = [odd(f) for f in frames]
            # Odd-length fragments with a table that counts them as they are.
            shapes["odd_fragments"] = items(offsets(odds, False)[0], odds, False)
            # Padded fragments whose table ignores the padding bytes.
            shapes["offsets_ignore_padding"] = items(offsets(odds, False)[0], odds, True)
            # One frame short: the last frame cannot be found.
            store(compressed, os.path.join(out, codec + "_missing_frame.dcm"), items([], frames[:-1], True))
        for shape, value in shapes.items():
            store(compressed, os.path.join(out, "%s_%s.dcm" % (codec, shape)), value)


if __name__ == "__main__":
    main(sys.argv[1])
