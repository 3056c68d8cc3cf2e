#!/usr/bin/python3
"""Prints the record tree of a DICOMDIR as pydicom reads it, following the offsets from (0004,1200)
to the items at the file positions pydicom read them from, in the line format of
dicom_dump --fileset, so that the two can be compared. Exits with 1 when an offset names no item.
With --fileset the DICOMDIR must also load into pydicom's FileSet."""
import sys

from pydicom import dcmread
from pydicom.fileset import FileSet

KEYS = [
    (0x00100020, "PatientID"), (0x00100010, "PatientName"), (0x0020000D, "StudyInstanceUID"),
    (0x0020000E, "SeriesInstanceUID"), (0x00080060, "Modality"), (0x00200011, "SeriesNumber"),
    (0x00041511, "SOPInstanceUID"), (0x00200013, "InstanceNumber"),
]


def text(value):
    if value is None:
        return ""
    if isinstance(value, (list, tuple)) or type(value).__name__ == "MultiValue":
        return "\\".join(str(v) for v in value).strip()
    return str(value).strip(" \0\t\r\n")


def write(record, level, out, items):
    line = " " * (2 * level) + text(record.DirectoryRecordType)
    for tag, name in KEYS:
        if tag in record:
            line += " %s=%s" % (name, text(record[tag].value))
    if 0x00041500 in record:
        line += " file=" + text(record[0x00041500].value)
    if 0x00720066 in record:
        indexes = record[0x0072007A].value if 0x0072007A in record else None
        # One index reads as a number, several as a list.
        count = 0 if indexes is None else 1 if isinstance(indexes, int) else len(indexes)
        if not isinstance(record[0x0072007A].value, (list, tuple)) and type(record[0x0072007A].value).__name__ != "MultiValue":
            count = 1 if record[0x0072007A].value is not None else 0
        line += " stack=%s images=%d" % (text(record[0x00720066].value), count)
    out.append(line)
    chain(record.OffsetOfReferencedLowerLevelDirectoryEntity, level + 1, out, items)


def chain(offset, level, out, items):
    seen = set()
    while offset:
        if offset not in items or offset in seen:
            sys.stderr.write("offset %d names no item\n" % offset)
            sys.exit(1)
        seen.add(offset)
        record = items[offset]
        write(record, level, out, items)
        offset = record.OffsetOfTheNextDirectoryRecord


def main():
    ds = dcmread(sys.argv[1])
    if "--fileset" in sys.argv:
        FileSet(ds)
    items = {item.seq_item_tell: item for item in ds.DirectoryRecordSequence}
    out = []
    chain(ds.OffsetOfTheFirstDirectoryRecordOfTheRootDirectoryEntity, 0, out, items)
    sys.stdout.write("".join(line + "\n" for line in out))


if __name__ == "__main__":
    main()
