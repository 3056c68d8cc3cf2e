// What a temporary stack reads of the IMAGE records of its series: the referenced file and SOP
// class, the Image Type, the number of frames and the instance number of the record at an index.
// The series' IMAGE set is adapted to it (TanImageSetView), tests give their own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace ORN_dicom {

struct TanStackImage {
  std::string sopClassUID;
  std::string fileID;  // as stored in the record, "\" between components
  std::string imageType;
  int32_t numberOfFrames = 1;
  int32_t instanceNumber = 0;
};

class iSTACK_IMAGES {
 public:
  virtual ~iSTACK_IMAGES() = default;
  virtual int32_t Count() const = 0;
  // Throws std::out_of_range "vector" for an index outside the set.
  virtual TanStackImage At(int32_t index) const = 0;
  // A view of the same records that the stack keeps for itself.
  virtual std::unique_ptr<iSTACK_IMAGES> Clone() const = 0;
};

// A Referenced File ID as a path of this platform, relative to the current folder (the
// file-set folder); "" unless it names a regular file inside that folder.
std::string PathOfFileID(const std::string& fileID);

}  // namespace ORN_dicom
