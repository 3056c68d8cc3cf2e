#include "base/files/TanFileMappingService.h"

#include <algorithm>
#include <stdexcept>

#include "platform/core/LastError.h"
#include "platform/core/SystemMessage.h"

namespace ORN_std {

TanFileMappingService::TanFileMappingService(platform::FileHandle& fileHandle,
                                             std::string& errorText)
    : FLastErrorText(errorText),
      FHandle(fileHandle),
      FMapping(platform::kNoMappingOnFile),
      FMappingSize(0),
      FMappingWritable(false) {
  if (fileHandle == platform::kInvalidFileHandle) throw std::runtime_error("invalid-handle-value");
}

TanFileMappingService::~TanFileMappingService() { CloseMapping(); }

void TanFileMappingService::CloseMapping() {
  if (FMapping != platform::kNoMappingOnFile) platform::CloseMappingOnFile(FMapping);
  FMapping = platform::kNoMappingOnFile;
  FMappingSize = 0;
  FMappingWritable = false;
}

// Views already handed out keep their pages when the mapping is replaced.
bool TanFileMappingService::EnsureMapping(uint64_t size, bool writing) {
  if (FMapping != platform::kNoMappingOnFile && size <= FMappingSize &&
      (!writing || FMappingWritable))
    return true;
  const bool writable = writing || FMappingWritable;
  const uint64_t wanted = std::max(size, FMappingSize);
  const auto mapping = platform::CreateMappingOnFile(
      FHandle, writable ? platform::page::ReadWrite : platform::page::ReadOnly, wanted);
  if (mapping == platform::kNoMappingOnFile) return false;
  CloseMapping();
  FMapping = mapping;
  FMappingSize = wanted;
  FMappingWritable = writable;
  return true;
}

void* TanFileMappingService::Map(int64_t offset, int64_t length, bool writing) {
  if (offset < 0 || length < 0) {
    platform::SetLastError(platform::err::InvalidParameter);
    FLastErrorText = platform::SystemMessage(platform::GetLastError());
    return nullptr;
  }
  const uint64_t end = static_cast<uint64_t>(offset) + static_cast<uint64_t>(length);
  if (!EnsureMapping(end, writing)) {
    FLastErrorText = platform::SystemMessage(platform::GetLastError());
    return nullptr;
  }
  const int64_t remainder = offset % kViewAlignment;
  const uint32_t viewSize = static_cast<uint32_t>(length + remainder);
  void* view = platform::MapViewOnFile(
      FMapping, writing ? platform::view_access::ReadWrite : platform::view_access::Read,
      static_cast<uint64_t>(offset - remainder), viewSize);
  if (!view) {
    FLastErrorText = platform::SystemMessage(platform::GetLastError());
    return nullptr;
  }
  FLastErrorText.clear();
  return static_cast<char*>(view) + remainder;
}

void* TanFileMappingService::MapForReading(int64_t offset, int64_t length) {
  return Map(offset, length, false);
}

void* TanFileMappingService::MapForWriting(int64_t offset, int64_t length) {
  return Map(offset, length, true);
}

iFILE_MAPPING& TanFileMappingService::Release(void* address, bool closeMapping, bool flush) {
  if (FMapping == platform::kNoMappingOnFile) return *this;
  if (address) {
    // The address handed out lies inside its view; the view is found from it.
    if (flush) platform::FlushViewOnFile(address, 0);
    platform::UnmapViewOnFile(address);
  }
  if (closeMapping) CloseMapping();
  return *this;
}

iFILE_MAPPING& TanFileMappingService::Unmap(void* address, bool closeMapping) {
  return Release(address, closeMapping, false);
}

iFILE_MAPPING& TanFileMappingService::UnmapWritten(void* address, bool closeMapping) {
  return Release(address, closeMapping, true);
}

}  // namespace ORN_std
