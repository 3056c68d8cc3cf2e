#!/usr/bin/python3
"""Renders what the engine should have drawn, from the DICOM files with pydicom and numpy,
and compares it with the engine's surface pixels. Usage: render_check.py <view.json>
The view names the surface dump (raw 0xAARRGGBB little-endian words), its size, the matrix
and its cells (file, frame), zoom (null: fit), pan, window (null: the file's first window or
the full range), inverse, flips, and a palette file (768 bytes) when the palette is on.
Compressed files are decoded by dcmdjpeg or dcmdrle first. Exit 0 when every channel of
every pixel is within 1 grey level (or the view's tolerance); prints the largest difference."""
import json
import os
import subprocess
import sys
import tempfile

import numpy as np
import pydicom


def load(path):
    ds = pydicom.dcmread(path)
    ts = str(ds.file_meta.TransferSyntaxUID)
    if ts.startswith("1.2.840.10008.1.2.4.") or ts == "1.2.840.10008.1.2.5":
        tool = "dcmdrle" if ts == "1.2.840.10008.1.2.5" else "dcmdjpeg"
        out = tempfile.NamedTemporaryFile(suffix=".dcm", delete=False).name
        subprocess.run([tool, path, out], check=True)
        ds = pydicom.dcmread(out)
        os.unlink(out)
    return ds


def linear(x, c, w):
    if w <= 1:
        return np.where(x <= c - 0.5, 0.0, 255.0)
    y = ((x - (c - 0.5)) / (w - 1) + 0.5) * 255.0
    y = np.where(x <= c - 0.5 - (w - 1) / 2, 0.0, y)
    return np.where(x > c - 0.5 + (w - 1) / 2, 255.0, y)


def to8(y):
    return np.clip(np.floor(y + 0.5), 0, 255).astype(np.int64)


def image_colours(ds, frame, view):
    """The image as an (rows, cols, 3) array of 0..255 values, before geometry."""
    arr = ds.pixel_array
    frames = int(getattr(ds, "NumberOfFrames", 1) or 1)
    if frames > 1:
        arr = arr[frame]
    pi = ds.PhotometricInterpretation
    if ds.SamplesPerPixel == 3:
        rgb = arr.astype(np.int64)
        if pi.startswith("YBR"):
            rgb = pydicom.pixel_data_handlers.convert_color_space(arr, pi, "RGB").astype(np.int64)
        if view.get("inverse"):
            rgb = 255 - rgb
        return rgb
    stored = arr.astype(np.int64)
    if pi == "PALETTE COLOR":
        out = []
        for c in ("Red", "Green", "Blue"):
            d = getattr(ds, c + "PaletteColorLookupTableDescriptor")
            t = np.frombuffer(getattr(ds, c + "PaletteColorLookupTableData"), dtype="<u2").astype(np.int64)
            idx = np.clip(stored - d[1], 0, len(t) - 1)
            v = t[idx]
            out.append(v >> (d[2] - 8) if d[2] > 8 else v)
        rgb = np.stack(out, axis=-1)
        return 255 - rgb if view.get("inverse") else rgb
    slope = float(getattr(ds, "RescaleSlope", 1) or 1)
    intercept = float(getattr(ds, "RescaleIntercept", 0) or 0)
    x = stored * slope + intercept
    if view.get("window"):
        c, w = view["window"]
    elif "WindowCenter" in ds:
        wc, ww = ds.WindowCenter, ds.WindowWidth
        c = float(wc[0] if isinstance(wc, pydicom.multival.MultiValue) else wc)
        w = float(ww[0] if isinstance(ww, pydicom.multival.MultiValue) else ww)
    else:
        lo, hi = float(x.min()), float(x.max())
        w = hi - lo + 1
        c = (lo + hi) / 2 + 0.5
    g = to8(linear(x, c, w))
    if (pi == "MONOCHROME1") != bool(view.get("inverse")):
        g = 255 - g
    if view.get("palette"):
        pal = np.frombuffer(open(view["palette"], "rb").read(), dtype=np.uint8).reshape(3, 256).astype(np.int64)
        return np.stack([pal[0][g], pal[1][g], pal[2][g]], axis=-1)
    return np.stack([g, g, g], axis=-1)


def draw_cell(out, left, top, cw, ch, rgb, view):
    rows, cols = rgb.shape[:2]
    zoom = view.get("zoom") or min(cw / cols, ch / rows)
    panx, pany = view.get("pan", [0, 0])
    dy, dx = np.mgrid[0:ch, 0:cw].astype(np.float64)
    x = dx + 0.5 - (cw / 2.0 + panx)
    y = dy + 0.5 - (ch / 2.0 + pany)
    if view.get("flipH"):
        x = -x
    if view.get("flipV"):
        y = -y
    u = x / zoom + cols / 2.0
    v = y / zoom + rows / 2.0
    inside = (u >= 0) & (v >= 0) & (u < cols) & (v < rows)
    ix = np.clip(u.astype(np.int64), 0, cols - 1)
    iy = np.clip(v.astype(np.int64), 0, rows - 1)
    cell = rgb[iy, ix]
    cell[~inside] = 0
    out[top:top + ch, left:left + cw] = cell


def main(view_path):
    view = json.load(open(view_path))
    W, H = view["width"], view["height"]
    mc, mr = view.get("matrix", [1, 1])
    got = np.frombuffer(open(view["surface"], "rb").read(), dtype="<u4").reshape(H, W)
    got = np.stack([(got >> 16) & 255, (got >> 8) & 255, got & 255], axis=-1).astype(np.int64)
    want = np.zeros((H, W, 3), dtype=np.int64)
    cw, ch = W // mc, H // mr
    for i, cell in enumerate(view["cells"]):
        if cell is None:
            continue
        rgb = image_colours(load(cell["file"]), cell.get("frame", 0), view)
        draw_cell(want, (i % mc) * cw, (i // mc) * ch, cw, ch, rgb, view)
    diff = np.abs(got - want)
    worst = int(diff.max())
    print("largest difference %d at %s (engine %s, expected %s)" %
          (worst, np.unravel_index(diff.argmax(), diff.shape),
           got[np.unravel_index(diff.argmax(), diff.shape)[:2]], want[np.unravel_index(diff.argmax(), diff.shape)[:2]]))
    return 0 if worst <= view.get("tolerance", 1) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
