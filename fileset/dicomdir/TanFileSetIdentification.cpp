#include "fileset/dicomdir/TanFileSetIdentification.h"

#include "dicom/elements/element/iDDE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom {

TanFileSetIdentification::TanFileSetIdentification() {
  TanDDEFactory factory(2);
  FFileSetID = factory->MakeDDE(0x0004, 0x1130, 1, kFileSetID);
}

TanFileSetIdentification::TanFileSetIdentification(TanDicomFileObject& file) {
  const int32_t i = file.FDataSet.IndexOf(0x00041130u);
  if (i >= 0) FFileSetID = file.FDataSet.Remove(static_cast<uint32_t>(i));
}

TanFileSetIdentification::~TanFileSetIdentification() { delete FFileSetID; }

void TanFileSetIdentification::WriteTo(TanDicomFileObject& file) const {
  if (FFileSetID != nullptr) file.FDataSet.Append(FFileSetID);
}

}  // namespace ORN_dicom
