#pragma once

#include <cstdint>

namespace ORN_dicom {

// One code per directory-record type; the adding code dispatches on it and the searches report
// it. 0 is "no kind" (a SOP class the registry does not know). SERIES and TOPIC have no code;
// 1, 10 and 26 are not assigned. Unscoped on purpose: a series walks its instance sets by code.
enum TanIEKind : uint8_t {
  ieNone = 0,
  iePatient = 2,
  ieHangingProtocol = 3,
  ieStudy = 4,
  ieStudyComponent = 5,
  ieVisit = 6,
  ieHL7StrucDoc = 7,
  ieResults = 8,
  ieInterpretation = 9,
  ieImage = 11,
  ieOverlay = 12,
  ieModalityLut = 13,
  ieVoiLut = 14,
  ieCurve = 15,
  ieStoredPrint = 16,
  ieRtDose = 17,
  ieRtStructureSet = 18,
  ieRtPlan = 19,
  ieRtTreatRecord = 20,
  iePresentation = 21,
  ieWaveform = 22,
  ieSrDocument = 23,
  ieKeyObjectDoc = 24,
  iePrivate = 25,  // a display stack of a series; no SOP class maps to it
  ieSpectroscopy = 27,
  ieRawData = 28,
  ieRegistration = 29,
  ieFiducial = 30,
  ieEncapDoc = 31,
  ieValueMap = 32,
  ieStereometric = 33,
};

// Directory Record Type text of a kind ("IMAGE", "PRIVATE", ...); empty for ieNone and codes
// without a record type.
const char* IEKindRecordType(TanIEKind kind);

// True for the kinds a series holds a record set of (11 to 25 and 27 to 33).
bool IsSeriesLevelKind(TanIEKind kind);

}  // namespace ORN_dicom
