#include "dicom/entities/registry/TanFileDateTime.h"

#include "dicom/entities/registry/RecordKeys.h"
#include "platform/files/FileHandle.h"
#include "platform/files/FileOperations.h"
#include "platform/files/FileTime.h"

namespace ORN_utility {

TanFileDateTime::TanFileDateTime(const std::string& fileName, int kind) : FPath(ORN_dicom::TrimText(fileName)) {
  platform::FileHandle handle = platform::CreateFile(FPath, platform::access::GenericRead, platform::share::Read,
                                                     platform::Disposition::OpenExisting, 0);
  if (handle == platform::kInvalidFileHandle) return;
  platform::FileTime creation, lastAccess, lastWrite;
  const bool read = platform::GetFileTime(handle, &creation, &lastAccess, &lastWrite);
  platform::CloseFile(handle);
  if (!read) return;
  const platform::FileTime& asked = kind == kLastAccess ? lastAccess : kind == kLastWrite ? lastWrite : creation;
  platform::FileTime local;
  if (!platform::FileTimeToLocalFileTime(asked, &local)) return;
  FFileTime = local.ticks;
  FUtc = asked.ticks;
  FLastWriteUtc = lastWrite.ticks;
  FValid = true;
}

int TanFileDateTime::Compare(const TanFileDateTime& a, const TanFileDateTime& b) {
  if (a.FValid != b.FValid) return a.FValid ? 1 : -1;
  if (a.FValid) {
    if (a.FUtc != b.FUtc) return a.FUtc < b.FUtc ? -1 : 1;
    if (a.FLastWriteUtc != b.FLastWriteUtc) return a.FLastWriteUtc < b.FLastWriteUtc ? -1 : 1;
  }
  const int byPath = a.FPath.compare(b.FPath);
  return byPath < 0 ? -1 : byPath > 0 ? 1 : 0;
}

bool TanFileDateTime::IsEarlier(const TanFileDateTime& a, const TanFileDateTime& b) { return Compare(a, b) < 0; }

bool TanFileDateTime::IsNotLater(const TanFileDateTime& a, const TanFileDateTime& b) { return Compare(a, b) <= 0; }

bool TanFileDateTime::IsSameFile(const std::string& a, const std::string& b) {
  platform::FileId idA, idB;
  return platform::GetFileId(ORN_dicom::TrimText(a), &idA) && platform::GetFileId(ORN_dicom::TrimText(b), &idB) &&
         idA == idB;
}

}  // namespace ORN_utility
