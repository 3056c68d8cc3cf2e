#include "dicom/entities/registry/TanIEKind.h"

namespace ORN_dicom {

const char* IEKindRecordType(TanIEKind kind) {
  switch (kind) {
    case iePatient:
      return "PATIENT";
    case ieHangingProtocol:
      return "HANGING PROTOCOL";
    case ieStudy:
      return "STUDY";
    case ieStudyComponent:
      return "STUDY COMPONENT";
    case ieVisit:
      return "VISIT";
    case ieHL7StrucDoc:
      return "HL7 STRUC DOC";
    case ieResults:
      return "RESULTS";
    case ieInterpretation:
      return "INTERPRETATION";
    case ieImage:
      return "IMAGE";
    case ieOverlay:
      return "OVERLAY";
    case ieModalityLut:
      return "MODALITY LUT";
    case ieVoiLut:
      return "VOI LUT";
    case ieCurve:
      return "CURVE";
    case ieStoredPrint:
      return "STORED PRINT";
    case ieRtDose:
      return "RT DOSE";
    case ieRtStructureSet:
      return "RT STRUCTURE SET";
    case ieRtPlan:
      return "RT PLAN";
    case ieRtTreatRecord:
      return "RT TREAT RECORD";
    case iePresentation:
      return "PRESENTATION";
    case ieWaveform:
      return "WAVEFORM";
    case ieSrDocument:
      return "SR DOCUMENT";
    case ieKeyObjectDoc:
      return "KEY OBJECT DOC";
    case iePrivate:
      return "PRIVATE";
    case ieSpectroscopy:
      return "SPECTROSCOPY";
    case ieRawData:
      return "RAW DATA";
    case ieRegistration:
      return "REGISTRATION";
    case ieFiducial:
      return "FIDUCIAL";
    case ieEncapDoc:
      return "ENCAP DOC";
    case ieValueMap:
      return "VALUE MAP";
    case ieStereometric:
      return "STEREOMETRIC";
    case ieNone:
      break;
  }
  return "";
}

bool IsSeriesLevelKind(TanIEKind kind) {
  return (kind >= ieImage && kind <= iePrivate) || (kind >= ieSpectroscopy && kind <= ieStereometric);
}

}  // namespace ORN_dicom
