"""Makes the module fixtures with dcmtk and pydicom and writes, for each, what pydicom reads from
it: one fact a line, "file|place|kind|index|fact", where place is "top" or the tag of the item
sequence whose first item holds the module (a presentation state's (0028,3110)), kind the
module kind (9 modality, 7 VOI, 10 presentation LUT, 20 relationship, 28 functional groups).
LUT outputs come from pydicom's apply_modality_lut and apply_voi_lut; presentation tables,
which pydicom does not apply, are looked up in the entries pydicom reads, clamped at both ends.

usage: pydicom_lut_fixtures.py OUTDIR FACTS
"""
import copy
import math
import os
import subprocess
import sys
import warnings

import numpy
import pydicom
from pydicom.dataset import Dataset
from pydicom.pixel_data_handlers.util import apply_modality_lut, apply_voi_lut
from pydicom.sequence import Sequence
from pydicom.uid import ExplicitVRLittleEndian, generate_uid

warnings.simplefilter("ignore")
DATA = "/usr/lib/python3/dist-packages/pydicom/data/test_files"
out_dir, facts_path = sys.argv[1], sys.argv[2]
facts = []


def run(*args):
    subprocess.run(list(args), check=True, stdout=subprocess.DEVNULL)


def path(name):
    return os.path.join(out_dir, name)


def lut_table(item):
    """(first mapped, entries) of a LUT item as pydicom reads it."""
    count, first, bits = item.LUTDescriptor
    count = count or 65536
    data = item.LUTData if "LUTData" in item else item[0x00283006].value
    if isinstance(data, bytes):
        if bits <= 8 and len(data) >= count:
            entries = list(data[:count])
        else:
            entries = list(numpy.frombuffer(data[:2 * count], dtype="<u2"))
    else:
        entries = list(data)[:count]
    return first, entries


def table_inputs(first, count):
    return [first - 3, first, first + 1, first + count // 2, first + count - 1, first + count + 5]


def add(name, place, kind, index, fact):
    facts.append("%s|%s|%d|%d|%s" % (name, place, kind, index, fact))


def modality_facts(name, ds):
    if "ModalityLUTSequence" in ds:
        item = ds.ModalityLUTSequence[0]
        first, entries = lut_table(item)
        for x in table_inputs(first, len(entries)):
            y = apply_modality_lut(numpy.array([x]), ds)[0]
            add(name, "top", 9, 0, "map %d=%d" % (x, int(y)))
    elif "RescaleIntercept" in ds:
        for x in (-5, 0, 7, 1000):
            y = apply_modality_lut(numpy.array([x], dtype=numpy.float64), ds)[0]
            add(name, "top", 9, 0, "map %d=%d" % (x, math.trunc(y)))


def voi_facts(name, ds, place):
    if "VOILUTSequence" in ds:
        for i, item in enumerate(ds.VOILUTSequence):
            first, entries = lut_table(item)
            for x in table_inputs(first, len(entries)):
                y = apply_voi_lut(numpy.array([x]), ds, index=i)[0]
                add(name, place, 7, i, "map %d=%d" % (x, int(y)))
    elif "WindowCenter" in ds:
        centres = ds.WindowCenter if ds["WindowCenter"].VM > 1 else [ds.WindowCenter]
        widths = ds.WindowWidth if ds["WindowWidth"].VM > 1 else [ds.WindowWidth]
        sigmoid = str(ds.get("VOILUTFunction", "")).strip() == "SIGMOID"
        for i, (c, w) in enumerate(zip(centres, widths)):
            add(name, place, 7, i, "window %g %g" % (float(c), float(w)))
            if sigmoid:
                for x in (float(c) - float(w), float(c) - float(w) / 4, float(c), float(c) + float(w) / 3, float(c) + float(w)):
                    x = int(x)
                    y = apply_voi_lut(numpy.array([x], dtype=numpy.float64), ds, index=i)[0]
                    add(name, place, 7, i, "map %d=%d" % (x, math.trunc(y)))


def presentation_facts(name, ds):
    if "PresentationLUTSequence" in ds:
        first, entries = lut_table(ds.PresentationLUTSequence[0])
        for x in table_inputs(first, len(entries)):
            y = entries[min(max(x - first, 0), len(entries) - 1)]
            add(name, "top", 10, 0, "map %d=%d" % (x, y))
    elif "PresentationLUTShape" in ds:
        add(name, "top", 10, 0, "shape %s" % ds.PresentationLUTShape.strip())


def relationship_facts(name, ds):
    for i, series in enumerate(ds.get("ReferencedSeriesSequence", [])):
        add(name, "top", 20, i, "series %s" % series.SeriesInstanceUID)
        for image in series.get("ReferencedImageSequence", []):
            frames = image.get("ReferencedFrameNumber")
            frames = [0] if frames is None else (list(frames) if image["ReferencedFrameNumber"].VM > 1 else [frames])
            for frame in frames:
                add(name, "top", 20, i, "image %s %s %d" % (image.ReferencedSOPClassUID,
                                                            image.ReferencedSOPInstanceUID, int(frame)))


def functional_group_facts(name, ds):
    shared = ds.SharedFunctionalGroupsSequence[0]
    add(name, "top", 28, 0, "frames %d" % int(ds.NumberOfFrames))
    for i, frame in enumerate(ds.PerFrameFunctionalGroupsSequence):
        def group(keyword):
            return frame.get(keyword) or shared.get(keyword)
        add(name, "top", 28, i, "laterality %s" % group("FrameAnatomySequence")[0].FrameLaterality)
        add(name, "top", 28, i, "type %s" % "\\".join(group("MRImageFrameTypeSequence")[0].FrameType))
        content = group("FrameContentSequence")[0]
        add(name, "top", 28, i, "stack %d" % int(content.InStackPositionNumber))
        add(name, "top", 28, i, "temporal %d" % int(content.TemporalPositionIndex))
        position = group("PlanePositionSequence")[0].ImagePositionPatient
        add(name, "top", 28, i, "z %g" % float(position[2]))
        spacing = group("PixelMeasuresSequence")[0].PixelSpacing
        add(name, "top", 28, i, "spacing %g %g" % (float(spacing[0]), float(spacing[1])))
        transform = group("PixelValueTransformationSequence")[0]
        for x in (-5, 0, 7, 1000):
            add(name, "top", 28, i, "modality %d=%d" % (x, math.trunc(x * float(transform.RescaleSlope) +
                                                                       float(transform.RescaleIntercept))))
        voi = group("FrameVOILUTSequence")[0]
        add(name, "top", 28, i, "window %g %g" % (float(voi.WindowCenter), float(voi.WindowWidth)))


def all_facts(name):
    ds = pydicom.dcmread(path(name))
    modality_facts(name, ds)
    voi_facts(name, ds, "top")
    for i, item in enumerate(ds.get("SoftcopyVOILUTSequence", [])[:1]):
        # pydicom unpacks OW tables by the data set's byte order, which an item does not know.
        item.is_little_endian, item.is_implicit_VR = ds.is_little_endian, ds.is_implicit_VR
        voi_facts(name, item, "0028,3110")
    presentation_facts(name, ds)
    relationship_facts(name, ds)
    if "SharedFunctionalGroupsSequence" in ds:
        functional_group_facts(name, ds)


def enhanced(name):
    """An enhanced MR image of four frames: shared pixel measures and orientation, per-frame
    content, position, rescale and window."""
    src = pydicom.dcmread(os.path.join(DATA, "MR_small.dcm"))
    ds = Dataset()
    ds.file_meta = copy.deepcopy(src.file_meta)
    ds.file_meta.MediaStorageSOPClassUID = "1.2.840.10008.5.1.4.1.1.4.1"
    ds.file_meta.TransferSyntaxUID = ExplicitVRLittleEndian
    ds.SOPClassUID = "1.2.840.10008.5.1.4.1.1.4.1"
    ds.SOPInstanceUID = ds.file_meta.MediaStorageSOPInstanceUID = generate_uid()
    for keyword in ("StudyInstanceUID", "PatientName", "PatientID", "StudyDate", "StudyTime", "Modality"):
        setattr(ds, keyword, getattr(src, keyword))
    ds.SeriesInstanceUID = generate_uid()
    ds.InstanceNumber = 3
    ds.ContentDate, ds.ContentTime = "20240101", "120000"
    ds.ImageType = ["ORIGINAL", "PRIMARY", "M", "NONE"]
    ds.SamplesPerPixel, ds.PhotometricInterpretation = 1, "MONOCHROME2"
    ds.Rows = ds.Columns = 4
    ds.BitsAllocated, ds.BitsStored, ds.HighBit, ds.PixelRepresentation = 16, 12, 11, 0
    ds.NumberOfFrames = 4
    ds.PixelData = numpy.arange(64, dtype="<u2").tobytes()
    shared = Dataset()
    measures = Dataset()
    measures.PixelSpacing, measures.SliceThickness = [0.5, 0.75], 2
    shared.PixelMeasuresSequence = Sequence([measures])
    orientation = Dataset()
    orientation.ImageOrientationPatient = [1, 0, 0, 0, 1, 0]
    shared.PlaneOrientationSequence = Sequence([orientation])
    anatomy = Dataset()
    anatomy.FrameLaterality = "U"
    shared.FrameAnatomySequence = Sequence([anatomy])
    frame_type = Dataset()
    frame_type.FrameType = ["ORIGINAL", "PRIMARY", "M", "NONE"]
    shared.MRImageFrameTypeSequence = Sequence([frame_type])
    ds.SharedFunctionalGroupsSequence = Sequence([shared])
    frames = []
    for i, stack in enumerate((3, 1, 4, 2)):
        frame = Dataset()
        content = Dataset()
        content.StackID, content.InStackPositionNumber, content.TemporalPositionIndex = "1", stack, i + 1
        frame.FrameContentSequence = Sequence([content])
        position = Dataset()
        position.ImagePositionPatient = [0, 0, 2.5 * stack]
        frame.PlanePositionSequence = Sequence([position])
        transform = Dataset()
        transform.RescaleIntercept, transform.RescaleSlope, transform.RescaleType = -100 * i, 1 + i * 0.5, "US"
        frame.PixelValueTransformationSequence = Sequence([transform])
        voi = Dataset()
        voi.WindowCenter, voi.WindowWidth = 100 + 10 * i, 400 + 20 * i
        frame.FrameVOILUTSequence = Sequence([voi])
        frames.append(frame)
    ds.PerFrameFunctionalGroupsSequence = Sequence(frames)
    ds.is_little_endian, ds.is_implicit_VR = True, False
    ds.save_as(path(name), write_like_original=False)


def with_attributes(source, name, **attributes):
    ds = pydicom.dcmread(source)
    for keyword, value in attributes.items():
        if value is None:
            delattr(ds, keyword)
        else:
            setattr(ds, keyword, value)
    ds.save_as(path(name))


def main():
    os.makedirs(out_dir, exist_ok=True)
    mr = os.path.join(DATA, "MR_small.dcm")
    ct = os.path.join(DATA, "CT_small.dcm")
    # LUT tables from dcmmklut: modality, VOI (two of them) and presentation.
    run("dcmmklut", "-q", "+Tm", "-b", "16", "-e", "300", "-f", "10", "+Cg", "0.6", path("modality_table.dcm"))
    run("dcmmklut", "-q", "+Tv", "-b", "12", "-e", "256", "-f", "100", "+Cg", "2.2", "-E", "gamma",
        path("voi_tables.dcm"))
    run("dcmmklut", "-q", "+Tv", "-b", "16", "-e", "301", "-f", "-50", "-E", "odd", path("voi_second.dcm"))
    tables = pydicom.dcmread(path("voi_tables.dcm"))
    tables.VOILUTSequence.append(pydicom.dcmread(path("voi_second.dcm")).VOILUTSequence[0])
    tables.save_as(path("voi_tables.dcm"))
    run("dcmmklut", "-q", "+Tp", "-b", "12", "-e", "4096", "-f", "0", "+Cg", "1.8", path("presentation_table.dcm"))
    # Windows: linear on MR_small, sigmoid with two windows without a rescale.
    # (unsigned pixels: pydicom's sigmoid output then spans 0 to 2^BitsStored - 1, as the system's)
    with_attributes(mr, "sigmoid.dcm", VOILUTFunction="SIGMOID", WindowCenter=[600, 300], WindowWidth=[1200, 100],
                    PixelRepresentation=0)
    # Presentation states made by dcmpsmk: window, VOI table, modality table, inverse shape.
    run("dcmpsmk", "-q", "+Vw", mr, path("ps_window.dcm"))
    run("dcmpsmk", "-q", "+Vw", ct, path("ps_rescale.dcm"))
    voi_image = pydicom.dcmread(mr)
    voi_image.VOILUTSequence = pydicom.dcmread(path("voi_tables.dcm")).VOILUTSequence
    del voi_image.WindowCenter, voi_image.WindowWidth
    voi_image.save_as(path("image_voi_table.dcm"))
    run("dcmpsmk", "-q", "+Vl", path("image_voi_table.dcm"), path("ps_voi_table.dcm"))
    inverse = pydicom.dcmread(mr)
    inverse.PhotometricInterpretation = "MONOCHROME1"
    inverse.save_as(path("image_inverse.dcm"))
    run("dcmpsmk", "-q", path("image_inverse.dcm"), path("ps_inverse.dcm"))
    enhanced("enhanced.dcm")
    for name in ("modality_table.dcm", "voi_tables.dcm", "presentation_table.dcm", "sigmoid.dcm", "ps_window.dcm",
                 "ps_rescale.dcm", "ps_voi_table.dcm", "ps_inverse.dcm", "enhanced.dcm"):
        all_facts(name)
    with open(facts_path, "w") as f:
        f.write("\n".join(facts) + "\n")


main()
