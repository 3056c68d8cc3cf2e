#include "base/memory/TanFileMappingView.h"

#include "platform/core/LastError.h"
#include "platform/core/SystemMessage.h"
#include "platform/memory/FileMapping.h"
#include "platform/memory/ScratchFile.h"

namespace ORN_std {

namespace {
constexpr uint64_t kGranularity = platform::kAllocationGranularity;
constexpr uint64_t kMaxView = 0xFFFFFFFFull;  // a view is at most 32-bit long
}  // namespace

TanFileMappingView::TanFileMappingView(const char* fileName, uint32_t /*flagsAndAttributes*/)
    : FFile(platform::kNoFile),
      FMapping(nullptr),
      FSize(0),
      FFileName(fileName != nullptr ? fileName : ""),
      FFailed(false),
      FCreatedFile(false) {
  if (FFileName.empty()) return;
  FFailed = true;
  FFile = platform::CreateScratchFile(FFileName);
  if (FFile == platform::kNoFile) {
    Fail();
    return;
  }
  FFailed = false;
  FCreatedFile = true;
}

TanFileMappingView::~TanFileMappingView() {
  if (FFile != platform::kNoFile) platform::CloseScratchFile(FFile);
  if (FMapping != nullptr) platform::CloseFileMapping(FMapping);
  if (FCreatedFile) platform::DeleteScratchFile(FFileName);
}

void TanFileMappingView::Fail() { FLastErrorText = platform::SystemMessage(platform::GetLastError()); }

TanFileMappingView& TanFileMappingView::Reserve(uint64_t size, const char* mappingName) {
  if (FFailed) return *this;
  if (FMapping != nullptr) {
    platform::CloseFileMapping(FMapping);
    FMapping = nullptr;
  }
  if (size > UINT64_MAX - (kGranularity - 1)) {
    platform::SetLastError(platform::err::NotEnoughMemory);
  } else if (mappingName != nullptr && *mappingName != '\0') {
    // Named mappings (shared with other processes) are not offered by this platform layer.
    platform::SetLastError(platform::err::NotSupported);
  } else {
    const uint64_t rounded = (size + kGranularity - 1) / kGranularity * kGranularity;
    FMapping = platform::CreateFileMapping(FFile, rounded);
  }
  if (FMapping != nullptr) {
    FSize = size;
    FLastErrorText.clear();
    return *this;
  }
  Fail();
  FSize = 0;
  FFailed = true;
  if (FFile != platform::kNoFile) {
    platform::CloseScratchFile(FFile);
    FFile = platform::kNoFile;
  }
  if (FCreatedFile) {
    platform::DeleteScratchFile(FFileName);
    FCreatedFile = false;
  }
  return *this;
}

void* TanFileMappingView::Map(uint64_t offset, uint64_t bytes) {
  const uint64_t rem = offset % kGranularity;
  if (offset >= FSize || bytes > FSize - offset || bytes + rem > kMaxView) {
    FLastErrorText = "Out of range";
    return nullptr;
  }
  auto* view = static_cast<unsigned char*>(
      platform::MapView(FMapping, offset - rem, static_cast<std::size_t>(bytes + rem)));
  if (view == nullptr) {
    Fail();
    return nullptr;
  }
  FLastErrorText.clear();
  return view + rem;
}

TanFileMappingView& TanFileMappingView::Unmap(void*& view) {
  if (view != nullptr) {
    platform::UnmapView(view);
    view = nullptr;
  }
  return *this;
}

TanFileMappingView& TanFileMappingView::Unmap(unsigned char*& view) {
  if (view != nullptr) {
    platform::UnmapView(view);
    view = nullptr;
  }
  return *this;
}

}  // namespace ORN_std
