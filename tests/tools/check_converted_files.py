"""Files re-encoded by dicom_dump --convert KIND into each transfer-syntax kind 1 to 7, checked
with other tools: dcmdump, gdcmdump and pydicom must read them, the meta group must name the
kind's transfer syntax (kind 4: lossless JPEG for MONOCHROME images, RLE for the rest; kinds 4
to 7 without pixel data: explicit VR little endian), the attributes must be the source's, the
pixels decoded by dcmtk (dcmdjpeg, dcmdrle) must be the source's (within a small error where
lossy JPEG is involved), and dciodvfy must report no error the source did not have.
Only sources whose samples no encoder takes (1 or 32 bits) may be refused, only for kinds 4-7.

usage: check_converted_files.py DICOM_DUMP [FILE...]
"""
import os
import subprocess
import sys
import tempfile

import warnings

import numpy
import pydicom

warnings.simplefilter("ignore")  # pydicom's notes on odd values in the test files

DATA = "/usr/lib/python3/dist-packages/pydicom/data/test_files"
FILES = ["CT_small.dcm", "MR_small.dcm", "MR_small_implicit.dcm", "MR_small_bigendian.dcm", "MR_small_RLE.dcm",
         "SC_rgb_small_odd.dcm", "SC_rgb_rle_2frame.dcm", "SC_rgb_rle_16bit.dcm", "SC_rgb_jpeg_dcmtk.dcm",
         "JPEG-lossy.dcm", "rtdose.dcm", "rtplan.dcm", "test-SR.dcm", "liver_1frame.dcm"]
UIDS = {1: "1.2.840.10008.1.2", 2: "1.2.840.10008.1.2.1", 3: "1.2.840.10008.1.2.2",
        5: "1.2.840.10008.1.2.4.70", 6: "1.2.840.10008.1.2.5", 7: "1.2.840.10008.1.2.4.51"}
JPEG = {"1.2.840.10008.1.2.4.50", "1.2.840.10008.1.2.4.51", "1.2.840.10008.1.2.4.57", "1.2.840.10008.1.2.4.70"}
LOSSY = {"1.2.840.10008.1.2.4.50", "1.2.840.10008.1.2.4.51"}
RLE = "1.2.840.10008.1.2.5"
# Faults of the pixel-data factories, reported as KNOWN while they last (an entry that passes
# prints ok): (file, kind) -> reason.
KNOWN = {("SC_rgb_rle_16bit.dcm", k): "the RLE decoder refuses this 16-bit RGB frame" for k in (1, 2, 3, 4, 5, 7)}
# Attributes that follow the pixel encoding: colour decoded to RGB, lossy compression noted.
PIXEL_DESCRIPTION = {0x00280004, 0x00280006, 0x00282110, 0x00282112, 0x00282114, 0x7FE00010}


def expected_kind(ds, kind):
    if "PixelData" not in ds:
        return 2 if kind >= 4 else kind
    if kind == 4:
        return 5 if "MONOCHROME" in str(ds.get("PhotometricInterpretation", "")) else 6
    return kind


def decoded_pixels(path, work):
    """The pixel array after dcmtk decoded the file to explicit VR little endian (big endian
    too: pydicom and dcmtk disagree on 8- and 32-bit samples in big-endian OW)."""
    ts = str(pydicom.dcmread(path, stop_before_pixels=True).file_meta.TransferSyntaxUID)
    tool = ["dcmdjpeg"] if ts in JPEG else ["dcmdrle"] if ts == RLE else ["dcmconv", "+te"] if ts == UIDS[3] else None
    if tool:
        target = os.path.join(work, "decoded.dcm")
        run = subprocess.run(tool + [path, target], capture_output=True, text=True, errors="replace")
        if run.returncode != 0:
            raise RuntimeError("%s: %s" % (tool[0], run.stderr.strip()[:200]))
        path = target
    return pydicom.dcmread(path).pixel_array.astype(numpy.float64)


# Lossy JPEG re-describes the samples it stores: depth, sign, smallest and largest value, padding.
LOSSY_DESCRIPTION = {0x00280101, 0x00280102, 0x00280103, 0x00280106, 0x00280107, 0x00280120}


def attributes(ds, kind):
    """Private elements lose their VR in implicit VR, so they are compared only elsewhere."""
    ignored = PIXEL_DESCRIPTION | (LOSSY_DESCRIPTION if kind == 7 else set())
    return {e.tag: e.value for e in ds
            if e.tag not in ignored and e.tag.element != 0 and (kind != 1 or not e.tag.is_private)}


def dciodvfy_errors(path):
    run = subprocess.run(["dciodvfy", path], capture_output=True, text=True, errors="replace")
    return {line for line in (run.stdout + run.stderr).splitlines() if line.startswith("Error")}


def check(dump, source, kind, work, source_errors):
    name = "%s to %d" % (os.path.basename(source), kind)
    out = os.path.join(work, "converted.dcm")
    if os.path.exists(out):
        os.remove(out)
    src = pydicom.dcmread(source)
    run = subprocess.run([dump, "--convert", str(kind), source, out], capture_output=True, text=True, errors="replace")
    if run.returncode != 0:
        if kind >= 4 and src.get("BitsAllocated") not in (8, 16):
            return "ok   %s: refused (%s)" % (name, run.stdout.strip())
        return "FAIL %s: %s" % (name, run.stdout.strip())
    got = pydicom.dcmread(out)
    for tool in (["dcmdump", "-q", out], ["gdcmdump", out]):
        run = subprocess.run(tool, capture_output=True, text=True, errors="replace")
        if run.returncode != 0 or (tool[0] == "dcmdump" and run.stderr.strip()):
            return "FAIL %s: %s: %s" % (name, tool[0], run.stderr.strip()[:200])
    want = UIDS[expected_kind(src, kind)]
    if got.file_meta.TransferSyntaxUID != want:
        return "FAIL %s: transfer syntax %s, expected %s" % (name, got.file_meta.TransferSyntaxUID, want)
    if attributes(got, kind) != attributes(src, kind):
        a, b = attributes(got, kind), attributes(src, kind)
        differ = [str(t) for t in set(a) | set(b) if a.get(t) != b.get(t)][:5]
        return "FAIL %s: attributes differ %s" % (name, differ)
    note = ""
    if "PixelData" in src:
        try:
            a = decoded_pixels(source, work)
            b = decoded_pixels(out, work)
        except RuntimeError as error:
            return "FAIL %s: %s" % (name, error)
        if a.shape != b.shape:
            return "FAIL %s: pixel shape %s, source %s" % (name, b.shape, a.shape)
        lossy = kind == 7 or str(src.file_meta.TransferSyntaxUID) in LOSSY
        difference = float(numpy.abs(a - b).mean())
        scale = 2.0 ** int(src.BitsStored)
        if (difference != 0 and not lossy) or difference > scale * 0.02:
            return "FAIL %s: pixels differ by %.3f on average" % (name, difference)
        note = " (pixels equal)" if difference == 0 else " (mean pixel error %.3f)" % difference
    new = dciodvfy_errors(out) - source_errors
    if new:
        return "FAIL %s: dciodvfy: %s" % (name, sorted(new)[:3])
    return "ok   %s%s" % (name, note)


def main():
    dump = sys.argv[1]
    files = sys.argv[2:] or [os.path.join(DATA, f) for f in FILES]
    failed = False
    with tempfile.TemporaryDirectory() as work:
        for source in files:
            errors = dciodvfy_errors(source)
            for kind in range(1, 8):
                line = check(dump, source, kind, work, errors)
                known = KNOWN.get((os.path.basename(source), kind))
                if known and line.startswith("FAIL"):
                    line = "KNOWN %s (%s)" % (line[5:], known)
                print(line, flush=True)
                failed = failed or line.startswith("FAIL")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
