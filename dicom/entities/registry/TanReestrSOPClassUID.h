#pragma once

#include <string>

#include "dicom/entities/registry/TanIEKind.h"

namespace ORN_dicom {

class TanDicomFileObject;

// Gives a parsed Part 10 file the record kind of its Media Storage SOP Class UID.
class TanReestrSOPClassUID {
 public:
  TanReestrSOPClassUID() = default;
  explicit TanReestrSOPClassUID(const TanDicomFileObject& file);

  // Exact, byte-for-byte match of the text against the table; no match changes nothing.
  void Classify(const std::string& sopClassUID);

  TanIEKind kind = ieNone;
  std::string recordType;
  std::string sopClassUID;
};

}  // namespace ORN_dicom
