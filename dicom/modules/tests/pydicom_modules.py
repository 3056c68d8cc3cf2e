# Prints, for every file of pydicom's test set, the image pixel and image plane attributes as
# pydicom reads them: one line per file, fields separated by '|', '-' for an absent value.
import os
import sys

import pydicom

folder, out = sys.argv[1], sys.argv[2]


def value(ds, keyword, join=False):
    try:
        v = ds.get(keyword)
    except Exception:
        return "-"
    if v is None or v == "":
        return "-"
    if join:
        try:
            return "\\".join(repr(float(x)) for x in v)
        except TypeError:
            return repr(float(v))
        except ValueError:
            return "-"
    return str(v).strip()


with open(out, "w") as f:
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        if not os.path.isfile(path):
            continue
        try:
            ds = pydicom.dcmread(path, force=True)
        except Exception:
            continue
        fields = [name]
        for kw in ("SamplesPerPixel", "PhotometricInterpretation", "PlanarConfiguration", "Rows", "Columns",
                   "BitsAllocated", "BitsStored", "HighBit", "PixelRepresentation"):
            fields.append(value(ds, kw))
        par = ds.get("PixelAspectRatio")
        fields.append("\\".join(str(int(x)) for x in par) if par is not None and len(par) == 2 else "-")
        for kw in ("PixelSpacing", "ImageOrientationPatient", "ImagePositionPatient", "SliceThickness",
                   "SliceLocation"):
            fields.append(value(ds, kw, join=True))
        f.write("|".join(fields) + "\n")
