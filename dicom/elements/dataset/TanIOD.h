// One information object: a data set with its transfer syntax. Its byte length is the set's.
#pragma once

#include <cstdint>
#include <string>

#include "dicom/elements/dataset/TanDDESet.h"

namespace ORN_dicom {

class TanIOD : public TanDDESet<iDDE> {
 public:
  explicit TanIOD(uint32_t room = 0) : TanDDESet<iDDE>(room, 0) {}

  // Kind 1 implicit LE, 2 explicit LE, 3 explicit BE, 5 lossless JPEG, 6 RLE, 7 baseline JPEG;
  // any other kind stores kind 0 and an empty UID.
  void SetTransferSyntax(uint8_t kind);
  void SetTransferSyntaxKind(uint8_t kind) { SetTransferSyntax(kind); }
  // Stores the UID as given and the kind it reads as; a UID of no kind stores kind 0 and an
  // empty UID.
  void SetTransferSyntaxUID(const std::string& uid);
  // The kind of a UID compared exactly: 1, 2, 3, 5, 6, 7, or 0 for any other text.
  static uint8_t KindOfUID(const std::string& uid);

  uint32_t FWord = 0;
};

}  // namespace ORN_dicom
