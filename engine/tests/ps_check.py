#!/usr/bin/python3
"""Renders an image under a grayscale softcopy presentation state with pydicom and numpy and
compares it with the engine's surface. Usage: ps_check.py <raw> <width> <height> <image> <state>
The state's modality rescale, VOI (window or VOI LUT), presentation LUT shape, horizontal
flip and rotation (flip first) and displayed area (scaled to fit the panel, centred) are
applied; the picture is sampled at the centres of the screen pixels (a centre on an edge
between two image pixels may show either). Exit 0 when every
pixel is within 1 grey level."""
import sys

import numpy as np
import pydicom


def to8(y):
    return np.clip(np.floor(y + 0.5), 0, 255).astype(np.int64)


def linear(x, c, w):
    y = ((x - (c - 0.5)) / (w - 1) + 0.5) * 255.0
    y = np.where(x <= c - 0.5 - (w - 1) / 2, 0.0, y)
    return np.where(x > c - 0.5 + (w - 1) / 2, 255.0, y)


def main(raw, width, height, image_path, state_path):
    W, H = int(width), int(height)
    img = pydicom.dcmread(image_path)
    ps = pydicom.dcmread(state_path)
    slope = float(getattr(ps, "RescaleSlope", getattr(img, "RescaleSlope", 1)))
    intercept = float(getattr(ps, "RescaleIntercept", getattr(img, "RescaleIntercept", 0)))
    x = img.pixel_array.astype(np.float64) * slope + intercept
    voi = ps.SoftcopyVOILUTSequence[0]
    if "VOILUTSequence" in voi:
        lut = voi.VOILUTSequence[0]
        n, first, bits = lut.LUTDescriptor
        n = n or 65536
        if intercept < 0 and first > 32767:
            first -= 65536
        data = np.array(lut.LUTData, dtype=np.int64)
        g = to8(data[np.clip(np.floor(x).astype(np.int64) - first, 0, n - 1)] * 255.0 / (2 ** bits - 1))
    else:
        g = to8(linear(x, float(voi.WindowCenter), float(voi.WindowWidth)))
    if getattr(ps, "PresentationLUTShape", "IDENTITY") == "INVERSE":
        g = 255 - g
    rows, cols = g.shape
    # The displayed area in image coordinates (pixel edges), then flip and rotation.
    area = ps.DisplayedAreaSelectionSequence[0]
    (l, t), (r, b) = area.DisplayedAreaTopLeftHandCorner, area.DisplayedAreaBottomRightHandCorner
    left, top, right, bottom = l - 1.0, t - 1.0, float(r), float(b)
    shown = g
    if getattr(ps, "ImageHorizontalFlip", "N") == "Y":
        shown = shown[:, ::-1]
        left, right = cols - right, cols - left
    for _ in range((int(getattr(ps, "ImageRotation", 0)) // 90) % 4):
        h = shown.shape[0]
        shown = np.rot90(shown, k=-1)  # clockwise: (u, v) -> (h - v, u)
        left, top, right, bottom = h - bottom, left, h - top, right
    zoom = min(W / (right - left), H / (bottom - top))
    cu, cv = (left + right) / 2, (top + bottom) / 2
    dy, dx = np.mgrid[0:H, 0:W].astype(np.float64)
    got = np.frombuffer(open(raw, "rb").read(), dtype="<u4").reshape(H, W)
    got = (got & 255).astype(np.int64)
    # A screen pixel whose centre falls exactly on an edge between image pixels may show
    # either of them: take the closest of the samples just beside it.
    diff = None
    for eu in (-1e-7, 1e-7):
        for ev in (-1e-7, 1e-7):
            u = (dx + 0.5 - W / 2.0) / zoom + cu + eu
            v = (dy + 0.5 - H / 2.0) / zoom + cv + ev
            inside = (u >= 0) & (v >= 0) & (u < shown.shape[1]) & (v < shown.shape[0])
            want = shown[np.clip(np.floor(v).astype(np.int64), 0, shown.shape[0] - 1),
                         np.clip(np.floor(u).astype(np.int64), 0, shown.shape[1] - 1)]
            want = np.where(inside, want, 0)
            d = np.abs(got - want)
            diff = d if diff is None else np.minimum(diff, d)
    print("%s: largest difference %d at %s" % (state_path, int(diff.max()), np.unravel_index(diff.argmax(), diff.shape)))
    return 0 if diff.max() <= 1 else 1


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:6]))
