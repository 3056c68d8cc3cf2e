#!/usr/bin/python3
"""Times dcmtk on the frames the codec benchmark uses, for comparison.

Run the benchmark once with VISTREL_BENCH_DUMP=<folder>, then:
    /usr/bin/python3 dcmtk_timing.py <folder>
Each tool runs on a file of 1 frame and on a file of 41 copies of the frame; the time per frame
is the difference divided by 40, so that the start of the process does not count.
"""
import os
import subprocess
import sys
import time

from pydicom.dataset import Dataset, FileMetaDataset
from pydicom.uid import ExplicitVRLittleEndian, generate_uid

FRAMES = 41


def native(folder, name, raw, frames, spp, bits):
    ds = Dataset()
    ds.file_meta = FileMetaDataset()
    ds.file_meta.TransferSyntaxUID = ExplicitVRLittleEndian
    ds.file_meta.MediaStorageSOPClassUID = "1.2.840.10008.5.1.4.1.1.7"
    ds.file_meta.MediaStorageSOPInstanceUID = generate_uid()
    ds.SOPClassUID = ds.file_meta.MediaStorageSOPClassUID
    ds.SOPInstanceUID = ds.file_meta.MediaStorageSOPInstanceUID
    ds.Rows = ds.Columns = 512
    ds.SamplesPerPixel = spp
    ds.PhotometricInterpretation = "RGB" if spp == 3 else "MONOCHROME2"
    if spp == 3:
        ds.PlanarConfiguration = 0
    ds.BitsAllocated = bits
    ds.BitsStored = 8 if bits == 8 else 12
    ds.HighBit = ds.BitsStored - 1
    ds.PixelRepresentation = 0
    ds.NumberOfFrames = frames
    ds.PixelData = raw * frames
    path = os.path.join(folder, f"{name}_{frames}.dcm")
    ds.save_as(path, write_like_original=False)
    return path


def timed(args, repeats=3):
    best = None
    for _ in range(repeats):
        start = time.perf_counter()
        subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
        best = elapsed if best is None else min(best, elapsed)
    return best


def main(folder):
    ct = open(os.path.join(folder, "ct16.raw"), "rb").read()
    rgb = open(os.path.join(folder, "rgb8.raw"), "rb").read()
    cases = [
        ("CT16 JPEG lossless SV1", ct, 1, 16, ["dcmcjpeg", "+e1"], ["dcmdjpeg"]),
        ("CT16 RLE", ct, 1, 16, ["dcmcrle"], ["dcmdrle"]),
        ("RGB8 JPEG baseline q90", rgb, 3, 8, ["dcmcjpeg", "+eb", "+q", "90"], ["dcmdjpeg"]),
    ]
    for title, raw, spp, bits, encoder, decoder in cases:
        per_frame = {}
        for frames in (1, FRAMES):
            src = native(folder, "src", raw, frames, spp, bits)
            packed = src + ".packed.dcm"
            unpacked = src + ".unpacked.dcm"
            enc = timed(encoder + [src, packed])
            dec = timed(decoder + [packed, unpacked])
            per_frame[frames] = (enc, dec)
        enc = (per_frame[FRAMES][0] - per_frame[1][0]) / (FRAMES - 1)
        dec = (per_frame[FRAMES][1] - per_frame[1][1]) / (FRAMES - 1)
        mb = len(raw) / (1024 * 1024)
        print(f"{title}: decode {dec * 1000:.2f} ms/frame ({mb / dec:.0f} MiB/s), "
              f"encode {enc * 1000:.2f} ms/frame ({mb / enc:.0f} MiB/s)")


if __name__ == "__main__":
    main(sys.argv[1])
