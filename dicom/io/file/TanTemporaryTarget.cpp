#include "dicom/io/file/TanTemporaryTarget.h"

#include <atomic>

#include "platform/core/LastError.h"
#include "platform/core/Clock.h"
#include "platform/files/FileIo.h"
#include "platform/files/FileOperations.h"

namespace ORN_dicom {

namespace {
std::atomic<uint32_t> gSerial{0};

// ".<name>.<n>.part" beside the target, so the rename stays within one folder.
std::string TemporaryName(const std::string& target, uint32_t n) {
  const std::size_t slash = target.find_last_of('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  return folder + "." + name + "." + std::to_string(n) + ".part";
}
}  // namespace

platform::FileHandle TanTemporaryTarget::Create(uint32_t access, uint32_t flags) {
  Discard();
  if (FTarget.empty() || FTarget.back() == '/') {
    // No file name: fail as creating that name fails.
    return platform::CreateFile(FTarget, access, platform::share::None, platform::Disposition::CreateAlways, flags);
  }
  for (int attempt = 0; attempt < 16; ++attempt) {
    const uint32_t n = platform::TickCount() * 31u + gSerial.fetch_add(1);
    FName = TemporaryName(FTarget, n);
    FHandle = platform::CreateFile(FName, access, platform::share::None, platform::Disposition::CreateNew, flags);
    if (FHandle != platform::kInvalidFileHandle) {
      FCreated = true;
      return FHandle;
    }
    if (platform::GetLastError() != platform::err::FileExists) break;
  }
  FName.clear();
  return platform::kInvalidFileHandle;
}

bool TanTemporaryTarget::CreateClosed() {
  if (Create(platform::access::GenericWrite, 0) == platform::kInvalidFileHandle) return false;
  platform::CloseFile(FHandle);
  FHandle = platform::kInvalidFileHandle;
  return true;
}

bool TanTemporaryTarget::Commit() {
  if (!FCreated) return false;
  bool ok = true;
  // A writer that wrote by name closed its handle: open it again to flush it to the disk.
  if (FHandle == platform::kInvalidFileHandle)
    FHandle = platform::CreateFile(FName, platform::access::GenericWrite, platform::share::None,
                                   platform::Disposition::OpenExisting, 0);
  if (FHandle != platform::kInvalidFileHandle) {
    ok = platform::FlushFileBuffers(FHandle);
    const uint32_t error = platform::GetLastError();
    ok = platform::CloseFile(FHandle) && ok;
    FHandle = platform::kInvalidFileHandle;
    if (!ok) {
      if (error != 0) platform::SetLastError(error);
      Discard();
      return false;
    }
  }
  if (!platform::MoveFile(FName, FTarget, platform::move_flags::ReplaceExisting)) {
    const uint32_t error = platform::GetLastError();
    Discard();
    platform::SetLastError(error);
    return false;
  }
  FCreated = false;
  return true;
}

void TanTemporaryTarget::Discard() {
  const uint32_t error = platform::GetLastError();
  if (FHandle != platform::kInvalidFileHandle) {
    platform::CloseFile(FHandle);
    FHandle = platform::kInvalidFileHandle;
  }
  if (FCreated) {
    platform::DeleteFile(FName);
    FCreated = false;
  }
  platform::SetLastError(error);
}

}  // namespace ORN_dicom
