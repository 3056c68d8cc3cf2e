#!/usr/bin/python3
"""Prints pydicom's reading of one DICOM file in dicom_dump's line format.

One line per element in tag order: two blanks per nesting level, "(gggg,eeee) VR len=N" and a
short value text. Items print as "(fffe,e000) na len=N"; delimiters are left out; the fragments
of encapsulated pixel data print as its items. Lengths pydicom does not keep (defined-length
sequences and items) print as "?". On a failed read: one line "error: <text>".

In implicit VR the VR printed follows the workstation's rule, so that the lines compare values
and nesting: the first VR the dictionary lists, LO for private creators, UN
for other private elements, SQ for any element of undefined length.
"""
import struct
import sys

import pydicom
from pydicom.dataelem import RawDataElement
from pydicom.datadict import dictionary_VR
from pydicom.filebase import DicomBytesIO
from pydicom.filewriter import write_data_element

TEXT_VRS = {"AE", "AS", "CS", "DA", "DS", "DT", "IS", "LO", "LT", "PN", "SH", "ST", "TM", "UC",
            "UI", "UR", "UT"}
NUMBERS = {"US": ("H", 2), "SS": ("h", 2), "UL": ("I", 4), "SL": ("i", 4), "FL": ("f", 4),
           "FD": ("d", 8)}
LONG_VRS = {"OB", "OD", "OF", "OL", "OV", "OW", "SQ", "SV", "UC", "UN", "UR", "UT", "UV"}
UNDEFINED = 0xFFFFFFFF


def text(b):
    b = b.rstrip(b" \0")[:40]
    return "".join(chr(c) if 32 <= c < 127 else "?" for c in b)


def hexs(b):
    s = b[:16].hex()
    return s + "..." if len(b) > 16 else s


def numbers(b, vr, little):
    fmt, size = NUMBERS[vr]
    n = len(b) // size
    shown = []
    for i in range(min(n, 8)):
        (v,) = struct.unpack(("<" if little else ">") + fmt, b[i * size:(i + 1) * size])
        shown.append("%.6g" % v if fmt in "fd" else str(v))
    s = "\\".join(shown)
    return s + "\\..." if n > 8 else s


def value_text(vr, b, little):
    if not b:
        return ""
    if vr in NUMBERS:
        return numbers(b, vr, little)
    return text(b) if vr in TEXT_VRS else hexs(b)


def implicit_vr(tag, length):
    group, elem = tag >> 16, tag & 0xFFFF
    if length == UNDEFINED:
        return "SQ"
    if group & 1:
        return "LO" if 0x0010 <= elem <= 0x00FF else "UN"
    try:
        return dictionary_VR(tag)[:2]
    except KeyError:
        return "UN"


def encoded_value(elem, implicit, little):
    fp = DicomBytesIO()
    fp.is_little_endian = little
    fp.is_implicit_VR = implicit
    write_data_element(fp, elem)
    b = fp.getvalue()
    header = 8 if implicit or elem.VR not in LONG_VRS else 12
    return b[header:]


def line(level, tag, vr, length, value=""):
    s = "%s(%04x,%04x) %s len=%s" % ("  " * level, tag >> 16, tag & 0xFFFF, vr, length)
    return s + (" " + value if value else "")


def fragments(level, b, out):
    at = 0
    while at + 8 <= len(b):
        tag_group, tag_elem, n = struct.unpack("<HHI", b[at:at + 8])
        if (tag_group, tag_elem) != (0xFFFE, 0xE000):
            break
        out.append(line(level, 0xFFFEE000, "na", n, hexs(b[at + 8:at + 8 + n])))
        at += 8 + n


def dump(ds, level, implicit, little, out):
    for tag in sorted(ds._dict.keys()):
        elem = ds.get_item(tag)
        if isinstance(elem, RawDataElement):
            vr = implicit_vr(tag, elem.length) if implicit or elem.VR is None else elem.VR
            if elem.length == UNDEFINED and vr != "SQ":
                out.append(line(level, tag, vr, elem.length))
                fragments(level + 1, elem.value or b"", out)
                continue
            if vr != "SQ":
                out.append(line(level, tag, vr, elem.length, value_text(vr, elem.value or b"", little)))
                continue
            elem = ds[tag]
        if elem.VR == "SQ" or isinstance(elem.value, pydicom.sequence.Sequence):
            out.append(line(level, tag, "SQ", UNDEFINED if elem.is_undefined_length else "?"))
            for item in elem.value:
                undefined = getattr(item, "is_undefined_length_sequence_item", False)
                out.append(line(level + 1, 0xFFFEE000, "na", UNDEFINED if undefined else "?"))
                dump(item, level + 2, implicit, little, out)
        else:
            # Already converted (the meta group): its bytes as pydicom writes them back.
            b = encoded_value(elem, implicit, little)
            vr = implicit_vr(tag, len(b)) if implicit else elem.VR
            out.append(line(level, tag, vr, len(b), value_text(vr, b, little)))


def main():
    # Explicit VR data keeps the VR it was stored with, as dcmdump shows it.
    pydicom.config.replace_un_with_known_vr = False
    try:
        ds = pydicom.dcmread(sys.argv[1])
        out = []
        dump(ds.file_meta, 0, False, True, out)
        dump(ds, 0, ds.is_implicit_VR, ds.is_little_endian, out)
    except Exception as e:  # noqa: BLE001 - any failure is a refusal of the file
        print("error: %s" % e)
        return 1
    print("\n".join(out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
