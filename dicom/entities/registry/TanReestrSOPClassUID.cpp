#include "dicom/entities/registry/TanReestrSOPClassUID.h"

#include <string_view>
#include <unordered_map>

#include "dicom/elements/element/iDDE.h"
#include "dicom/entities/registry/RecordKeys.h"
#include "dicom/io/file/TanDicomFileObject.h"

namespace ORN_dicom {
namespace {

struct Entry {
  TanIEKind kind;
  const char* uid;
};

constexpr Entry kTable[] = {
    {iePatient, "1.2.840.10008.3.1.2.1.1"},
    {ieHangingProtocol, "1.2.840.10008.5.1.4.38.1"},
    {ieStudy, "1.2.840.10008.3.1.2.3.1"},
    {ieStudyComponent, "1.2.840.10008.3.1.2.3.2"},
    {ieVisit, "1.2.840.10008.3.1.2.2.1"},
    {ieHL7StrucDoc, "2.16.840.1.113883.1.7.1"},
    {ieHL7StrucDoc, "2.16.840.1.113883.1.7.2"},
    {ieHL7StrucDoc, "2.16.840.1.113883.1.7.3"},
    {ieResults, "1.2.840.10008.3.1.2.5.1"},
    {ieInterpretation, "1.2.840.10008.3.1.2.6.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.2"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.2.1"},
    {ieImage, "1.2.840.10008.5.1.1.30"},
    {ieImage, "1.2.840.10008.5.1.1.29"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.4"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.4.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.66.4"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.20"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.5"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.128"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.481.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.7"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.1.7"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.7.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.7.2"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.7.3"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.7.4"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.6.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.6"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.3"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.3.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.12.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.12.2"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.12.3"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.12.2.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.1.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.1.1.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.1.2"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.1.2.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.1.3"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.1.3.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.77.1.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.77.1.1.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.77.1.2"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.77.1.2.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.77.1.3"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.77.1.4"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.77.1.4.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.77.1.5.1"},
    {ieImage, "1.2.840.10008.5.1.4.1.1.77.1.5.2"},
    {ieOverlay, "1.2.840.10008.5.1.4.1.1.8"},
    {ieModalityLut, "1.2.840.10008.5.1.4.1.1.10"},
    {ieVoiLut, "1.2.840.10008.5.1.4.1.1.11"},
    {ieCurve, "1.2.840.10008.5.1.4.1.1.9"},
    {ieStoredPrint, "1.2.840.10008.5.1.1.27"},
    {ieRtDose, "1.2.840.10008.5.1.4.1.1.481.2"},
    {ieRtStructureSet, "1.2.840.10008.5.1.4.1.1.481.3"},
    {ieRtPlan, "1.2.840.10008.5.1.4.1.1.481.5"},
    {ieRtPlan, "1.2.840.10008.5.1.4.1.1.481.8"},
    {ieRtTreatRecord, "1.2.840.10008.5.1.4.1.1.481.4"},
    {ieRtTreatRecord, "1.2.840.10008.5.1.4.1.1.481.6"},
    {ieRtTreatRecord, "1.2.840.10008.5.1.4.1.1.481.7"},
    {ieRtTreatRecord, "1.2.840.10008.5.1.4.1.1.481.9"},
    {iePresentation, "1.2.840.10008.5.1.4.1.1.11.1"},
    {iePresentation, "1.2.840.10008.5.1.4.1.1.11.2"},
    {iePresentation, "1.2.840.10008.5.1.4.1.1.11.3"},
    {iePresentation, "1.2.840.10008.5.1.4.1.1.11.4"},
    {ieWaveform, "1.2.840.10008.5.1.4.1.1.9.1.1"},
    {ieWaveform, "1.2.840.10008.5.1.4.1.1.9.1.2"},
    {ieWaveform, "1.2.840.10008.5.1.4.1.1.9.1.3"},
    {ieWaveform, "1.2.840.10008.5.1.4.1.1.9.2.1"},
    {ieWaveform, "1.2.840.10008.5.1.4.1.1.9.3.1"},
    {ieWaveform, "1.2.840.10008.5.1.4.1.1.9.4.1"},
    {ieSrDocument, "1.2.840.10008.5.1.4.1.1.88.11"},
    {ieSrDocument, "1.2.840.10008.5.1.4.1.1.88.22"},
    {ieSrDocument, "1.2.840.10008.5.1.4.1.1.88.33"},
    {ieSrDocument, "1.2.840.10008.5.1.4.1.1.88.40"},
    {ieSrDocument, "1.2.840.10008.5.1.4.1.1.88.50"},
    {ieSrDocument, "1.2.840.10008.5.1.4.1.1.88.65"},
    {ieSrDocument, "1.2.840.10008.5.1.4.1.1.88.67"},
    {ieKeyObjectDoc, "1.2.840.10008.5.1.4.1.1.88.59"},
    {ieSpectroscopy, "1.2.840.10008.5.1.4.1.1.4.2"},
    {ieRawData, "1.2.840.10008.5.1.4.1.1.66"},
    {ieRegistration, "1.2.840.10008.5.1.4.1.1.66.1"},
    {ieRegistration, "1.2.840.10008.5.1.4.1.1.66.3"},
    {ieFiducial, "1.2.840.10008.5.1.4.1.1.66.2"},
    {ieEncapDoc, "1.2.840.10008.5.1.4.1.1.104.1"},
    {ieValueMap, "1.2.840.10008.5.1.4.1.1.67"},
    {ieStereometric, "1.2.840.10008.5.1.4.1.1.77.1.5.3"},
};
static_assert(sizeof kTable / sizeof kTable[0] == 90, "the registry holds 90 SOP classes");

const std::unordered_map<std::string_view, TanIEKind>& Index() {
  static const std::unordered_map<std::string_view, TanIEKind> index = [] {
    std::unordered_map<std::string_view, TanIEKind> map;
    for (const Entry& e : kTable) map.emplace(e.uid, e.kind);
    return map;
  }();
  return index;
}

constexpr uint32_t kMediaStorageSOPClassUID = 0x00020002;

}  // namespace

TanReestrSOPClassUID::TanReestrSOPClassUID(const TanDicomFileObject& file) {
  if (iDDE* e = file.FMetaGroup.Find(kMediaStorageSOPClassUID)) sopClassUID = e->GetString();
  Classify(TrimText(sopClassUID));
}

void TanReestrSOPClassUID::Classify(const std::string& uid) {
  const auto& index = Index();
  const auto it = index.find(uid);
  if (it == index.end()) return;
  kind = it->second;
  recordType = IEKindRecordType(kind);
}

}  // namespace ORN_dicom
