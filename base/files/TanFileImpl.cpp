#include "base/files/TanFileImpl.h"

#include <stdexcept>
#include <utility>

#include "platform/core/LastError.h"
#include "platform/core/SystemMessage.h"
#include "platform/files/FileIo.h"
#include "platform/files/FileOperations.h"

namespace ORN_std {

namespace {

constexpr char kSeparator = '/';
constexpr uint32_t kReadWrite = 0xC0000000;
constexpr size_t kFullPathBuffer = 1024;

}  // namespace

TanFileImpl::TanFileImpl(const std::string& path)
    : FHandle(platform::kInvalidFileHandle), FPath(path) {
  if (path.empty()) throw std::runtime_error("invalid-argument-value");
  SplitPath();
  // A folder relative to the current one (".", "..") becomes absolute, and the path with it.
  if (!FFolder.empty() && FFolder[0] == '.') {
    std::string absolute;
    if (platform::FullPath(FFolder, &absolute) && absolute.size() < kFullPathBuffer) {
      FFolder = absolute;
      if (!FFolder.empty()) FPath = FFolder + FName;
    }
  }
}

TanFileImpl::~TanFileImpl() {
  if (FHandle != platform::kInvalidFileHandle) platform::CloseFile(FHandle);
  FAttributes.reset();
  FFileTime.reset();
  FIOService.reset();
  FMappingService.reset();
}

// Name, folder (with its trailing separator) and extension (with its dot) of the path.
void TanFileImpl::SplitPath() {
  const auto slash = FPath.rfind(kSeparator);
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  FFolder = FPath.substr(0, nameStart);
  FName = FPath.substr(nameStart);
  const auto dot = FPath.rfind('.');
  FExtension = dot == std::string::npos || dot < nameStart ? std::string() : FPath.substr(dot);
}

bool TanFileImpl::Succeeded(bool ok) const {
  FLastErrorText = ok ? std::string() : platform::SystemMessage(platform::GetLastError());
  return ok;
}

void TanFileImpl::CloseFile() const {
  FAttributes.reset();
  FFileTime.reset();
  FIOService.reset();
  FMappingService.reset();
  if (FHandle != platform::kInvalidFileHandle) platform::CloseFile(FHandle);
  FHandle = platform::kInvalidFileHandle;
}

iFILE_GENERAL& TanFileImpl::Close() {
  CloseFile();
  return *this;
}

const iFILE_GENERAL& TanFileImpl::Close() const {
  CloseFile();
  return *this;
}

iFILEATTR* TanFileImpl::GetAttributes() const {
  if (!FAttributes) FAttributes = std::make_unique<TabFileAttrubutes>(FPath);
  return FAttributes.get();
}

iFILEATTR* TanFileImpl::GetAttributes() { return std::as_const(*this).GetAttributes(); }

iFILETIME* TanFileImpl::GetFileTime(uint8_t kind) const {
  FFileTime.reset();
  if (kind == 1)
    FFileTime = std::make_unique<TanFileDateLastAccessTime>(FHandle, FPath, FLastErrorText);
  else if (kind == 2)
    FFileTime = std::make_unique<TanFileDateLastModificationTime>(FHandle, FPath, FLastErrorText);
  else
    FFileTime = std::make_unique<TanFileDateCreationTime>(FHandle, FPath, FLastErrorText);
  return FFileTime.get();
}

iFILETIME* TanFileImpl::GetFileTime(uint8_t kind) { return std::as_const(*this).GetFileTime(kind); }

int64_t TanFileImpl::GetSize(uint8_t unitExponent) const {
  bool openedHere = false;
  if (FHandle == platform::kInvalidFileHandle) {
    // A file that cannot be opened has no known size: -1 with the reason, not 0.
    FHandle = platform::CreateFile(FPath, 0, platform::share::None,
                                   platform::Disposition::OpenExisting, 0);
    if (!Succeeded(FHandle != platform::kInvalidFileHandle)) return -1;
    openedHere = true;
  }
  int64_t size = 0;
  int64_t result = -1;
  if (Succeeded(platform::GetFileSize(FHandle, &size))) {
    result = size;
    for (uint8_t i = 0; i < unitExponent && result > 0; ++i) result /= 1024;
  }
  // Only the handle opened here is closed; attached objects the caller holds stay.
  if (openedHere) {
    platform::CloseFile(FHandle);
    FHandle = platform::kInvalidFileHandle;
  }
  return result;
}

bool TanFileImpl::Exists() const {
  const auto handle =
      platform::CreateFile(FPath, 0, platform::share::None, platform::Disposition::OpenExisting, 0);
  if (!Succeeded(handle != platform::kInvalidFileHandle)) return false;
  platform::CloseFile(handle);
  return true;
}

bool TanFileImpl::OpenWith(uint32_t desiredAccess, uint8_t shareMode, bool overlapped,
                           platform::Disposition disposition) const {
  CloseFile();
  FHandle = platform::CreateFile(FPath, desiredAccess, shareMode, disposition,
                                 overlapped ? platform::kFileFlagOverlapped : 0);
  return Succeeded(FHandle != platform::kInvalidFileHandle);
}

bool TanFileImpl::Create(uint32_t desiredAccess, uint8_t shareMode, bool overlapped) {
  return OpenWith(desiredAccess, shareMode, overlapped, platform::Disposition::CreateAlways);
}

bool TanFileImpl::Create(bool overlapped) {
  return Create(kReadWrite, platform::share::None, overlapped);
}

bool TanFileImpl::Open(uint32_t desiredAccess, uint8_t shareMode, bool overlapped) {
  return OpenWith(desiredAccess, shareMode, overlapped, platform::Disposition::OpenExisting);
}

bool TanFileImpl::Open(bool overlapped) {
  return Open(kReadWrite, platform::share::None, overlapped);
}

bool TanFileImpl::CopyTo(const char* newPath, bool failIfExists) {
  return Succeeded(platform::CopyFile(FPath, newPath ? newPath : "", failIfExists));
}

bool TanFileImpl::MoveTo(const char* newPath, bool replaceExisting) {
  const uint32_t flags = platform::move_flags::CopyAllowed |
                         (replaceExisting ? platform::move_flags::ReplaceExisting : 0);
  return Succeeded(platform::MoveFile(FPath, newPath ? newPath : "", flags));
}

bool TanFileImpl::Delete() { return Succeeded(platform::DeleteFile(FPath)); }

bool TanFileImpl::Rename(const char* newName) {
  const std::string target = newName ? FFolder + newName : std::string();
  return Succeeded(platform::MoveFile(FPath, target, 0));
}

iFILE_IO* TanFileImpl::GetIOService() const {
  if (!FIOService) FIOService = std::make_unique<TanFileIOService>(FHandle, FLastErrorText);
  return FIOService.get();
}

iFILE_IO* TanFileImpl::GetIOService() { return std::as_const(*this).GetIOService(); }

iFILE_MAPPING* TanFileImpl::GetMappingService() const {
  if (!FMappingService)
    FMappingService = std::make_unique<TanFileMappingService>(FHandle, FLastErrorText);
  return FMappingService.get();
}

iFILE_MAPPING* TanFileImpl::GetMappingService() { return std::as_const(*this).GetMappingService(); }

iFILE& TanFileImpl::Assign(const iFILE& other) {
  if (&other == this) return *this;
  CloseFile();
  FPath = other.GetPath();
  SplitPath();
  return *this;
}

}  // namespace ORN_std
