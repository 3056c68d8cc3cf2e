#include "dicom/entities/records/TanStudyIE.h"

#include <algorithm>
#include <vector>

#include "dicom/entities/records/SeriesWork.h"
#include "dicom/entities/records/TanRecordFiller.h"
#include "dicom/io/file/TanDicomFileObject.h"

namespace ORN_dicom {

TanStudyIE::TanStudyIE(TanDicomFileObject& file) : FSeries([this]() -> TanDirectoryRecord* { return this; }) {
  SetRecordType("STUDY");
  TanRecordFiller fill(*this, file);
  fill.CopyWhenNotEmpty(0x00080005u);
  for (uint32_t tag : {0x00080020u, 0x00080030u, 0x00080050u, 0x00080090u, 0x00081030u}) fill.CopyOrEmpty(tag);
  CopyCodeSequence(fill.Factory(), file, 0x00081032u);
  fill.Required(0x0020000Du, "Cannot find Study Instance UID (0020,000D).");
  fill.CopyOrEmpty(0x00200010u);
  fill.Copy(0x00324000u);
  CopyCodeSequence(fill.Factory(), file, 0x0040A372u);
}

TanStudyIE::TanStudyIE(iDDE* item)
    : TanDirectoryRecord(item), FSeries([this]() -> TanDirectoryRecord* { return this; }) {}

TanStudyIE::~TanStudyIE() = default;

std::string TanStudyIE::GetSpecificCharacterSet() const {
  const std::string text = GetText(0x00080005u);
  return text.empty() ? "ISO_IR 6" : text;
}

int32_t TanStudyIE::GetImageCount() const {
  int32_t count = 0;
  for (TanSeriesIE* s : FSeries) count += s->GetImageCount();
  return count;
}

int32_t TanStudyIE::GetStackCount() const {
  int32_t count = 0;
  for (TanSeriesIE* s : FSeries) count += s->Stacks().Count();
  return count;
}

std::string TanStudyIE::GetModalitiesInStudy() const {
  // Whole values are compared: PT is not taken for a part of OPT.
  std::vector<std::string> seen;
  std::string list;
  for (TanSeriesIE* s : FSeries) {
    const std::string modality = s->GetModality();
    if (modality.empty() || std::find(seen.begin(), seen.end(), modality) != seen.end()) continue;
    seen.push_back(modality);
    if (!list.empty()) list += ',';
    list += modality;
  }
  return list;
}

bool TanStudyIE::IsEmpty() const {
  return FSeries.IsEmpty() && FVisits.IsEmpty() && FResults.IsEmpty() && FStudyComponents.IsEmpty();
}

int32_t TanStudyIE::FindKeyImageSeries() const {
  for (int32_t i = 0; i < FSeries.Count(); ++i) {
    const TanSeriesIE* s = FSeries.At(i);
    if (s->GetSeriesDescription() == kKeyImageSeriesDescription &&
        s->GetSeriesInstanceUID().find(kKeyImageSeriesUIDRoot) != std::string::npos)
      return i;
  }
  return -1;
}

int32_t TanStudyIE::GetMaxSeriesNumber() const {
  int32_t most = 0;
  for (TanSeriesIE* s : FSeries) most = std::max(most, s->GetSeriesNumber());
  return most;
}

int32_t TanStudyIE::FindSeriesByUID(const std::string& uid) const {
  for (int32_t i = 0; i < FSeries.Count(); ++i)
    if (FSeries.At(i)->GetSeriesInstanceUID() == uid) return i;
  return -1;
}

void TanStudyIE::ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const {
  FSeries.ForEach(visit);
  FVisits.ForEach(visit);
  FResults.ForEach(visit);
  FStudyComponents.ForEach(visit);
  FPrivateRecords.ForEach(visit);
}

void TanStudyIE::OrganizeSeries() {
  if (iSERIES_WORK* work = InstalledSeriesWork()) work->OrganizeSeries(*this);
}

}  // namespace ORN_dicom
