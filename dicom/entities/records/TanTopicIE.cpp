#include "dicom/entities/records/TanTopicIE.h"

#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom {

TanTopicIE::TanTopicIE(iDDE* item) : TanDirectoryRecord(item) {
  if (!GetDataSet().IsEmpty()) return;
  TanDDEFactory factory(2);
  InsertElement(factory->MakeDDE(0x0004, 0x1430, 1, "TOPIC"));
  for (uint16_t element : {0x0904, 0x0906, 0x0910, 0x0912}) InsertElement(factory->MakeDDE(0x0088, element, 0));
}

TanTopicIE::~TanTopicIE() = default;

bool TanTopicIE::IsEmpty() const {
  bool empty = true;
  ForEachSet([&](const auto& set) { empty = empty && set.IsEmpty(); });
  return empty;
}

void TanTopicIE::ForEachChild(const std::function<void(TanDirectoryRecord&)>& visit) const {
  ForEachSet([&](const auto& set) { set.ForEach(visit); });
}

}  // namespace ORN_dicom
