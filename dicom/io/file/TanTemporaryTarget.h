// The temporary file a writer fills in place of its target: made new in the target's folder,
// renamed over the target by Commit, and removed again when the write does not get that far.
// Only the temporary this object created is ever deleted.
#pragma once

#include <string>

#include "platform/files/FileHandle.h"

namespace ORN_dicom {

class TanTemporaryTarget {
 public:
  explicit TanTemporaryTarget(std::string target) : FTarget(std::move(target)) {}
  ~TanTemporaryTarget() { Discard(); }
  TanTemporaryTarget(const TanTemporaryTarget&) = delete;
  TanTemporaryTarget& operator=(const TanTemporaryTarget&) = delete;

  // Creates the temporary with the access and flags given; kInvalidFileHandle with the last
  // error on failure (an empty target fails as the system fails an empty name).
  platform::FileHandle Create(uint32_t access, uint32_t flags);
  // The temporary exists and its handle, if any, is closed: creates it for a writer that
  // opens it by name.
  bool CreateClosed();
  const std::string& Name() const { return FName; }
  // Flushes the temporary to the disk and closes it, then renames the temporary over the
  // target; false with the last error when any step fails (the temporary is then removed).
  bool Commit();
  // Closes the handle and deletes the temporary unless it was committed.
  void Discard();

 private:
  std::string FTarget;
  std::string FName;
  platform::FileHandle FHandle = platform::kInvalidFileHandle;
  bool FCreated = false;
};

}  // namespace ORN_dicom
