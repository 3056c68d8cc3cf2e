#!/usr/bin/python3
"""The peer of the engine benchmark: pydicom reads and decodes each file of a folder, numpy
applies the rescale and the file's window (the standard's linear formula) into 8-bit grey.
Prints the seconds it took for all files."""
import os
import sys
import time

import numpy as np
import pydicom

folder = sys.argv[1]
files = sorted(os.path.join(folder, f) for f in os.listdir(folder) if f.endswith(".dcm"))
start = time.perf_counter()
for f in files:
    ds = pydicom.dcmread(f)
    x = ds.pixel_array.astype(np.float64) * float(ds.RescaleSlope) + float(ds.RescaleIntercept)
    c, w = float(ds.WindowCenter), float(ds.WindowWidth)
    y = ((x - (c - 0.5)) / (w - 1) + 0.5) * 255.0
    y = np.where(x <= c - 0.5 - (w - 1) / 2, 0, np.where(x > c - 0.5 + (w - 1) / 2, 255, y))
    g = np.clip(np.floor(y + 0.5), 0, 255).astype(np.uint8)
print("%.6f" % (time.perf_counter() - start))
