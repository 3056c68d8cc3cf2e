"""Prints how pydicom decodes every text element of the DICOM files in a folder.

One line per element, tab-separated:
    file  tag-path  VR  charset-hex  raw-hex  text-hex
charset-hex is the raw value of Specific Character Set (0008,0005) in force for the element
(the nearest one up the sequence nesting), raw-hex the element's value bytes as stored and
text-hex pydicom's decoded text in UTF-8: values joined with "\\", a person name's component
groups joined with "=". Prints "SKIP <reason>" alone when pydicom cannot be imported.

Usage: python3 pydicom_texts.py <folder>
"""
import os
import sys
import warnings

try:
    import pydicom
    from pydicom.dataelem import RawDataElement
except ImportError as e:
    print(f"SKIP pydicom is not available: {e}")
    sys.exit(0)

TEXT_VRS = {"PN", "LO", "SH", "ST", "LT", "UT", "UC"}
CHARSET = 0x00080005


def text_of(value):
    if isinstance(value, (list, tuple)) or type(value).__name__ == "MultiValue":
        return "\\".join(str(v) for v in value)
    return str(value)


def walk(name, ds, charset_raw, path, out):
    raw_cs = ds._dict.get(CHARSET)
    if raw_cs is not None:
        if isinstance(raw_cs, RawDataElement):
            charset_raw = raw_cs.value or b""
        else:
            value = raw_cs.value
            charset_raw = text_of(value).encode("ascii") if value else b""
    for tag in sorted(ds._dict.keys()):
        raw = ds._dict[tag]
        vr = raw.VR
        raw_bytes = raw.value if isinstance(raw, RawDataElement) else None
        elem = ds[tag]
        vr = elem.VR
        where = f"{path}({tag.group:04X},{tag.element:04X})"
        if vr == "SQ":
            for i, item in enumerate(elem.value):
                walk(name, item, charset_raw, f"{where}[{i}]", out)
            continue
        if vr not in TEXT_VRS or raw_bytes is None:
            continue
        text = "" if elem.value is None else text_of(elem.value)
        out.append("\t".join([name, where, vr, charset_raw.hex(), raw_bytes.hex(),
                              text.encode("utf-8").hex()]))


def main():
    folder = sys.argv[1]
    warnings.simplefilter("ignore")
    out = []
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".dcm"):
            continue
        ds = pydicom.dcmread(os.path.join(folder, name))
        walk(name, ds, b"", "", out)
    print("\n".join(out))


if __name__ == "__main__":
    main()
