#include "dicom/entities/records/TanSeriesIE.h"

#include "dicom/elements/charset/TanStr2Int.h"
#include "dicom/entities/records/TanRecordFiller.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "dicom/io/file/TanDicomFileObject.h"

namespace ORN_dicom {

TanSeriesIE::TanSeriesIE(TanDicomFileObject& file) : FStackBuilder(*this, GetParentLinkSlot()) {
  SetRecordType("SERIES");
  TanRecordFiller fill(*this, file);
  fill.CopyWhenNotEmpty(0x00080005u);
  fill.CopyOrEmpty(0x00080021u);
  fill.CopyOrEmpty(0x00080031u);
  fill.Required(0x00080060u, "Cannot find Modality (0008,0060).");
  for (uint32_t tag : {0x00080080u, 0x0008103Eu, 0x00180015u, 0x00181030u}) fill.CopyOrEmpty(tag);
  for (uint32_t tag : {0x00185100u, 0x00189423u, 0x00189424u}) fill.Copy(tag);
  fill.Required(0x0020000Eu, "Cannot find Series Instance UID (0020,000E).");
  fill.CopyOrEmpty(0x00200011u);
  fill.Copy(0x00200060u);
  CopyCodeSequence(fill.Factory(), file, 0x00400260u);
}

TanSeriesIE::TanSeriesIE(iDDE* item) : TanDirectoryRecord(item), FStackBuilder(*this, GetParentLinkSlot()) {}

TanSeriesIE::~TanSeriesIE() { FStackBuilder.ClearStacks(); }

int32_t TanSeriesIE::GetSeriesNumber() const {
  const std::string text = GetText(0x00200011u);
  return text.empty() ? 0 : ORN_utility::TanStr2Int(text).ToInt();
}

std::string TanSeriesIE::GetSpecificCharacterSet() const {
  const std::string text = GetText(0x00080005u);
  return text.empty() ? "ISO_IR 6" : text;
}

int32_t TanSeriesIE::GetOtherInstanceCount() const {
  int32_t count = 0;
  ForEachRecordSet([&](TanIEKind kind, const auto& set) {
    if (kind != ieImage && kind != iePrivate) count += set.Count();
  });
  return count;
}

bool TanSeriesIE::IsEmpty() const {
  bool empty = true;
  ForEachRecordSet([&](TanIEKind, const auto& set) { empty = empty && set.IsEmpty(); });
  return empty;
}

TanStudyIE* TanSeriesIE::GetStudy() const { return dynamic_cast<TanStudyIE*>(GetParent()); }

void TanSeriesIE::ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const {
  ForEachRecordSet([&](TanIEKind kind, const auto& set) {
    if (kind != iePrivate) set.ForEach(visit);
  });
  FPrivateRecords.ForEach(visit);
}

TanStudyIE* TanStacks<TanSeriesIE>::GetStudy() const {
  return FParentLink ? dynamic_cast<TanStudyIE*>(FParentLink()) : nullptr;
}

void TanStacks<TanSeriesIE>::ClearStacks() { FSeries.FPrivateRecords.Clear(); }

}  // namespace ORN_dicom
