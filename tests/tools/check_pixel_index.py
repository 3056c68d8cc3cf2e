"""The private pixel-data index of files written by dicom_dump --rewrite --index, checked
against where pydicom finds the pixel data: the value of native pixel data, and each fragment
item of encapsulated pixel data (files re-encoded by dcmcrle into several fragments per frame
included). Every indexed offset and length must name exactly those bytes of the file.

usage: check_pixel_index.py DICOM_DUMP
"""
import os
import struct
import subprocess
import sys
import tempfile

import pydicom
from pydicom.encaps import generate_pixel_data_fragment, get_frame_offsets

DATA = "/usr/lib/python3/dist-packages/pydicom/data/test_files"
TITLE = b"ORN_PRIVATE_PIXEL_DATA_TITLE\0"


def parse_index(value):
    """[(offsets, lengths)] per frame, as the index stores them."""
    if not value.startswith(TITLE):
        raise ValueError("index title missing")
    at = len(TITLE)
    (count,) = struct.unpack_from("<H", value, at)
    at += 2
    frames = []
    for _ in range(count):
        (n,) = struct.unpack_from("<H", value, at)
        at += 2
        offsets = list(struct.unpack_from("<%dI" % n, value, at))
        at += 4 * n
        lengths = list(struct.unpack_from("<%dI" % n, value, at))
        at += 4 * n
        frames.append((offsets, lengths))
    return frames


def expected_positions(path):
    """pydicom's view: (frames, [(offset, length)] of the pixel bytes, encapsulated flag)."""
    ds = pydicom.dcmread(path)
    raw = ds.get_item(0x7FE00010)
    frames = int(ds.get("NumberOfFrames", 1) or 1)
    start = raw.value_tell
    if raw.length != 0xFFFFFFFF:
        size = raw.length // frames
        return frames, [(start + i * size, size) for i in range(frames)], False
    pieces = []
    with open(path, "rb") as raw_file:
        fp = pydicom.filebase.DicomFileLike(raw_file)
        fp.is_little_endian = True
        fp.seek(start)
        get_frame_offsets(fp)  # the basic offset table item
        for fragment in generate_pixel_data_fragment(fp):
            pieces.append((fp.tell() - len(fragment), len(fragment)))
    return frames, pieces, True


def check(dump, source, work):
    name = os.path.basename(source)
    out = os.path.join(work, "indexed-" + name)
    run = subprocess.run([dump, "--rewrite", "--index", source, out], capture_output=True, text=True)
    if run.returncode != 0:
        return "FAIL %s: %s" % (name, run.stdout.strip())
    meta = pydicom.dcmread(out).file_meta
    if meta.get((0x0002, 0x0100)).value != "2.25.40263187551.0.20041017":
        return "FAIL %s: creator UID" % name
    index = parse_index(meta[(0x0002, 0x0102)].value)
    frames, pieces, encapsulated = expected_positions(out)
    if len(index) != frames:
        return "FAIL %s: %d frames indexed, %d in the file" % (name, len(index), frames)
    indexed = [(o, l) for offsets, lengths in index for o, l in zip(offsets, lengths)]
    if indexed != pieces:
        return "FAIL %s: index %s, pydicom %s" % (name, indexed[:4], pieces[:4])
    if encapsulated and frames > 1 and len(pieces) == frames:
        if any(len(offsets) != 1 for offsets, _ in index):
            return "FAIL %s: one fragment per frame expected" % name
    with open(out, "rb") as fp:
        data = fp.read()
    ds = pydicom.dcmread(out)
    if encapsulated:
        fragments = pydicom.encaps.decode_data_sequence(ds.PixelData)  # without the offset table
        if [data[o:o + l] for o, l in indexed] != fragments:
            return "FAIL %s: indexed bytes are not the fragments" % name
    elif b"".join(data[o:o + l] for o, l in indexed) != ds.PixelData[:sum(l for _, l in indexed)]:
        return "FAIL %s: indexed bytes are not the pixel data" % name
    kind = "encapsulated" if encapsulated else "native"
    return "ok   %s: %d frames, %d fragments, %s" % (name, frames, len(pieces), kind)


def main():
    dump = sys.argv[1]
    failed = False
    with tempfile.TemporaryDirectory() as work:
        sources = [os.path.join(DATA, f) for f in (
            "CT_small.dcm", "MR_small_implicit.dcm", "MR_small_bigendian.dcm", "rtdose.dcm",
            "SC_rgb_small_odd.dcm", "MR_small_RLE.dcm", "SC_rgb_rle_2frame.dcm", "SC_rgb_rle_16bit_2frame.dcm",
            "JPEG-lossy.dcm", "SC_rgb_jpeg_dcmtk.dcm")]
        # Several fragments per frame: dcmcrle splits into fragments of at most 1 KiB.
        for name in ("CT_small.dcm", "SC_rgb_small_odd.dcm"):
            split = os.path.join(work, "split-" + name)
            subprocess.run(["dcmcrle", "-q", "+fs", "1", os.path.join(DATA, name), split], check=True)
            sources.append(split)
        # Two frames of several fragments each.
        native = os.path.join(work, "native-2frame.dcm")
        subprocess.run(["dcmdrle", os.path.join(DATA, "SC_rgb_rle_16bit_2frame.dcm"), native], check=True)
        split = os.path.join(work, "split-2frame.dcm")
        subprocess.run(["dcmcrle", "-q", "+fs", "1", native, split], check=True)
        sources.append(split)
        # A converted multi-frame file.
        converted = os.path.join(work, "converted-rtdose.dcm")
        subprocess.run([dump, "--convert", "3", os.path.join(DATA, "rtdose.dcm"), converted], check=True)
        sources.append(converted)
        for source in sources:
            line = check(dump, source, work)
            print(line)
            failed = failed or line.startswith("FAIL")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
