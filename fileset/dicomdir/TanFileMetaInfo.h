// The file meta information of a DICOMDIR: whether a read one names the Media Storage Directory
// Storage class, and the implementation class UID and version name that a write carries. A
// DICOMDIR made by this system carries its own pair; one read from disk keeps the pair it had.
#pragma once

#include <cstdint>
#include <string>

namespace ORN_dicom {

class TanDicomFileObject;

class TanFileMetaInfo {
 public:
  static constexpr const char* kDirectoryStorageUID = "1.2.840.10008.1.3.10";
  static constexpr const char* kOwnImplementationClassUID = "2.25.40263187551.0.20041017";
  static constexpr const char* kOwnImplementationVersionName = "ORN_V3";

  // A new object: valid, with this system's implementation class UID and version name.
  TanFileMetaInfo();
  // Read from the meta group of a parsed DICOMDIR; nothing is taken out of the group.
  explicit TanFileMetaInfo(TanDicomFileObject& file);

  // Appends (0002,0001), (0002,0002), (0002,0003), (0002,0010), (0002,0012), (0002,0013) to the
  // file object's meta group and inserts (0002,0000) in front of them.
  void WriteTo(TanDicomFileObject& file) const;

  // A new Media Storage SOP Instance UID: the implementation class UID followed by the date,
  // the time with milliseconds and a counter. Every component is written without leading zeros
  // and with a fixed width, so two UIDs of one object have the same length, and the counter
  // keeps UIDs made within one millisecond apart. An implementation class UID too long to
  // leave room for the suffix is replaced by this system's own.
  std::string MakeInstanceUID() const;

  bool FValid = true;
  std::string FImplementationClassUID;
  std::string FImplementationVersionName;
};

}  // namespace ORN_dicom
