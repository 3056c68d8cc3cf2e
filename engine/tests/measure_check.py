#!/usr/bin/python3
"""What a measurement should give, from the DICOM file with pydicom and numpy.
Usage: measure_check.py <file> <kind> <factor> <divisor> u0 v0 u1 v1 ...
Points are image coordinates (the centre of pixel (i, j) is (i + 0.5, j + 0.5)); factor is
the calibration (label units per mm, or per pixel without spacing), divisor divides the
modality values of the statistics. Prints "name value" lines: length, area, angle, density,
and min, max, mean, std (population) over the pixels whose centres lie in the region."""
import math
import sys

import numpy as np
import pydicom


def main(argv):
    ds = pydicom.dcmread(argv[1])
    kind, factor, divisor = int(argv[2]), float(argv[3]), float(argv[4])
    p = [float(v) for v in argv[5:]]
    pts = list(zip(p[0::2], p[1::2]))
    if "PixelSpacing" in ds:
        step_v, step_u = float(ds.PixelSpacing[0]), float(ds.PixelSpacing[1])
    else:
        step_u = step_v = 1.0
    values = ds.pixel_array.astype(np.float64) * float(ds.RescaleSlope) + float(ds.RescaleIntercept)
    rows, cols = values.shape
    jj, ii = np.mgrid[0:rows, 0:cols]
    cu, cv = ii + 0.5, jj + 0.5

    def phys(a, b):
        return ((b[0] - a[0]) * step_u, (b[1] - a[1]) * step_v)

    def angle(v1, v2):
        return math.degrees(abs(math.atan2(v1[0] * v2[1] - v1[1] * v2[0], v1[0] * v2[0] + v1[1] * v2[1])))

    mask = None
    if kind == 0:
        print("length %.10f" % (math.hypot(*phys(pts[0], pts[1])) * factor))
    elif kind == 1:
        (u0, v0), (u1, v1) = pts[:2]
        rx, ry = abs(u1 - u0) / 2, abs(v1 - v0) / 2
        print("area %.10f" % (math.pi * rx * ry * step_u * step_v * factor * factor))
        mask = ((cu - (u0 + u1) / 2) / rx) ** 2 + ((cv - (v0 + v1) / 2) / ry) ** 2 <= 1.0
    elif kind == 2:
        (u0, v0), (u1, v1) = pts[:2]
        print("area %.10f" % (abs(u1 - u0) * abs(v1 - v0) * step_u * step_v * factor * factor))
        mask = (cu >= min(u0, u1)) & (cu <= max(u0, u1)) & (cv >= min(v0, v1)) & (cv <= max(v0, v1))
    elif kind == 10:
        twice = sum(pts[i][0] * pts[(i + 1) % len(pts)][1] - pts[(i + 1) % len(pts)][0] * pts[i][1] for i in range(len(pts)))
        print("area %.10f" % (abs(twice) / 2 * step_u * step_v * factor * factor))
        mask = np.zeros_like(cu, dtype=bool)
        for i in range(len(pts)):
            (xa, ya), (xb, yb) = pts[i], pts[i - 1]
            crosses = (ya > cv) != (yb > cv)
            with np.errstate(divide="ignore", invalid="ignore"):
                x_at = (xb - xa) * (cv - ya) / (yb - ya) + xa
            mask ^= crosses & (cu < x_at)
    elif kind == 3:
        print("angle %.10f" % angle(phys(pts[1], pts[0]), phys(pts[1], pts[2])))
    elif kind == 4:
        a = angle(phys(pts[0], pts[1]), phys(pts[2], pts[3]))
        print("angle %.10f" % (180 - a if a > 90 else a))
    elif kind == 6:
        print("density %.10f" % (values[int(pts[0][1]), int(pts[0][0])] / divisor))
    if mask is not None:
        region = values[mask] / divisor
        print("count %d" % region.size)
        print("min %.10f" % region.min())
        print("max %.10f" % region.max())
        print("mean %.10f" % region.mean())
        print("std %.10f" % region.std())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
