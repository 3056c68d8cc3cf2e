#include "dicom/elements/dataset/TanIOD.h"

namespace ORN_dicom {

void TanIOD::SetTransferSyntax(uint8_t kind) {
  const char* uid = nullptr;
  switch (kind) {
    case 1: uid = "1.2.840.10008.1.2"; break;
    case 2: uid = "1.2.840.10008.1.2.1"; break;
    case 3: uid = "1.2.840.10008.1.2.2"; break;
    case 5: uid = "1.2.840.10008.1.2.4.70"; break;
    case 6: uid = "1.2.840.10008.1.2.5"; break;
    case 7: uid = "1.2.840.10008.1.2.4.51"; break;
    default: break;
  }
  FKind = uid != nullptr ? kind : 0;
  FTransferSyntaxUID = uid != nullptr ? uid : "";
}

uint8_t TanIOD::KindOfUID(const std::string& uid) {
  if (uid == "1.2.840.10008.1.2") return 1;
  if (uid == "1.2.840.10008.1.2.1") return 2;
  if (uid == "1.2.840.10008.1.2.2") return 3;
  if (uid == "1.2.840.10008.1.2.4.70") return 5;
  if (uid == "1.2.840.10008.1.2.5") return 6;
  if (uid == "1.2.840.10008.1.2.4.51" || uid == "1.2.840.10008.1.2.4.50" || uid == "1.2.840.10008.1.2.4.55") return 7;
  return 0;
}

void TanIOD::SetTransferSyntaxUID(const std::string& uid) {
  FKind = KindOfUID(uid);
  FTransferSyntaxUID = FKind != 0 ? uid : "";
}

}  // namespace ORN_dicom
