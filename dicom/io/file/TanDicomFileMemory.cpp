// Loading a file through memory: the whole file, or the bytes in front of its pixel data,
// brought in by overlapped reads into one virtual-memory block or as a read-only view.
#include <algorithm>

#include "base/memory/TanMSVirtualMemoryAlloc.h"
#include "dicom/elements/element/iDDE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/file/TanPrivatePixelDataInfo.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "platform/core/LastError.h"
#include "platform/files/FileIo.h"
#include "platform/files/MappingOnFile.h"

namespace ORN_dicom {

namespace {
constexpr uint32_t kTransferSyntaxTag = 0x00020010u;
constexpr uint32_t kPiece = 1024 * 1024;
constexpr uint32_t kIoPending = 997;
constexpr uint64_t kHeaderGuess = 102400;

// The readers take 32-bit counts.
uint32_t Count32(uint64_t n) { return n > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<uint32_t>(n); }
}  // namespace

std::string TanDicomFileObject::LoadFromFileViaMemory(const std::string& fileName, bool skip) {
  return LoadFromFileInMemory(fileName, true, skip);
}
std::string TanDicomFileObject::LoadFromFileViaMemoryAlt(const std::string& fileName, bool skip) {
  return LoadFromFileInMemory(fileName, true, skip);
}
std::string TanDicomFileObject::LoadHeaderFromFileViaMemory(const std::string& fileName, bool skip) {
  return LoadHeaderFromFileInMemory(fileName, true, skip);
}

void TanDicomFileObject::ReleaseBuffer(unsigned char*& buffer, uint64_t& count, bool virtualMemory) {
  if (buffer != nullptr) {
    if (virtualMemory) ORN_std::TanMSVirtualMemoryAlloc().Free(buffer);
    else platform::UnmapViewOnFile(buffer);
  }
  buffer = nullptr;
  count = 0;
}

bool TanDicomFileObject::ReadFileToVirtualMemory(unsigned char*& buffer, uint64_t& count, const std::string& fileName) {
  buffer = nullptr;
  const platform::FileHandle file =
      platform::CreateFile(fileName, platform::access::GenericRead, platform::share::Read,
                           platform::Disposition::OpenExisting, platform::kFileFlagOverlapped);
  if (file == platform::kInvalidFileHandle) return false;
  struct Close {
    platform::FileHandle file;
    ~Close() {
      const uint32_t error = platform::GetLastError();
      platform::CloseFile(file);
      platform::SetLastError(error);
    }
  } close{file};
  int64_t fileSize = 0;
  if (!platform::GetFileSize(file, &fileSize) || fileSize <= 0) return false;
  uint64_t size = static_cast<uint64_t>(fileSize);
  if (count != 0) size = std::min(size, count);
  ORN_std::TanMSVirtualMemoryAlloc allocator;
  auto* block = static_cast<unsigned char*>(allocator.Allocate(size));
  uint64_t position = 0;
  while (position < size) {
    platform::Overlapped record;
    record.offset = position;
    const auto piece = static_cast<uint32_t>(std::min<uint64_t>(size - position, kPiece));
    if (!platform::ReadFile(file, block + position, piece, nullptr, &record)) {
      if (platform::GetLastError() != kIoPending || !platform::GetOverlappedResult(file, &record, nullptr, true))
        break;
    }
    if (record.transferred == 0) break;
    position += record.transferred;
  }
  if (position != size) {
    allocator.Free(block);
    return false;
  }
  buffer = block;
  count = size;
  return true;
}

bool TanDicomFileObject::MapFileView(unsigned char*& buffer, uint64_t& count, const std::string& fileName) {
  buffer = nullptr;
  const platform::FileHandle file = platform::CreateFile(fileName, platform::access::GenericRead,
                                                         platform::share::Read, platform::Disposition::OpenExisting, 0);
  if (file == platform::kInvalidFileHandle) return false;
  int64_t fileSize = 0;
  bool ok = platform::GetFileSize(file, &fileSize) && fileSize > 0;
  if (ok) {
    uint64_t size = static_cast<uint64_t>(fileSize);
    if (count != 0) size = std::min(size, count);
    const platform::MappingOnFileHandle mapping = platform::CreateMappingOnFile(file, platform::page::ReadOnly, size);
    void* view = nullptr;
    if (mapping != platform::kNoMappingOnFile) {
      view = platform::MapViewOnFile(mapping, platform::view_access::Read, 0, size);
      platform::CloseMappingOnFile(mapping);
    }
    ok = view != nullptr;
    if (ok) {
      buffer = static_cast<unsigned char*>(view);
      count = size;
    }
  }
  const uint32_t error = platform::GetLastError();
  platform::CloseFile(file);
  platform::SetLastError(error);
  return ok;
}

bool TanDicomFileObject::MapFileToMemory(unsigned char*& buffer, uint64_t& count, const std::string& fileName,
                                         bool virtualMemory) {
  return virtualMemory ? ReadFileToVirtualMemory(buffer, count, fileName) : MapFileView(buffer, count, fileName);
}

std::string TanDicomFileObject::MapFile(const std::string& fileName, bool virtualMemory, unsigned char*& buffer,
                                        uint64_t& count, bool skip) {
  Clear();
  std::string result;
  platform::SetLastError(0);
  if (!MapFileToMemory(buffer, count, fileName, virtualMemory)) {
    // No error code (a file of 0 bytes) has no message of its own.
    const uint32_t error = platform::GetLastError();
    const std::string system = error != 0 ? GetSystemErrorTextW(error) : std::string();
    result = !system.empty() ? system + " (" + fileName + ")."
                             : "Unable to open the file \"" + fileName + "\" to read.";
  } else if (count < TanPreamble::kSize || !TanPreamble(buffer).IsDicm()) {
    result = "Preamble of the file \"" + fileName + "\" does not correspond with DICOM 3.0.";
  } else {
    FPreamble.ReadFromMemory(buffer);
    TanIODFactory meta(2, 50);
    uint32_t metaCount = Count32(count - TanPreamble::kSize);
    meta->FLowestTag = 0x00020000u;
    if (!meta->ReadFromMemoryUntilTag(FMetaGroup, buffer + TanPreamble::kSize, metaCount, 0x0002, 0xFFFF, skip))
      result = "Unable to read a header of the file \"" + fileName + "\" (" + meta->GetLastMessage() + ").";
  }
  if (!result.empty()) ReleaseBuffer(buffer, count, virtualMemory);
  return result;
}

std::string TanDicomFileObject::TakeKindFromMeta(const std::string& fileName, std::string& uid) {
  iDDE* ts = FMetaGroup.Find(kTransferSyntaxTag);
  if (ts == nullptr) return "Transfer Syntax UID is not presented for the file \"" + fileName + "\" .";
  uid = ts->GetString();
  FKind = KindFromTransferSyntax(uid);
  if (FKind == 0)
    return "The file \"" + fileName + "\" has an unsupported representation type (" + uid + ") .";
  return "";
}

// Gives a loaded buffer back however the load ends; ReleaseBuffer clears it, so a buffer
// released early along the way is not released twice.
struct TanDicomFileObject::BufferRelease {
  unsigned char*& buffer;
  uint64_t& count;
  bool virtualMemory;
  ~BufferRelease() { ReleaseBuffer(buffer, count, virtualMemory); }
};

std::string TanDicomFileObject::LoadFromFileInMemory(const std::string& fileName, bool virtualMemory, bool skip) {
  unsigned char* buffer = nullptr;
  uint64_t count = 0;
  std::string result = MapFile(fileName, virtualMemory, buffer, count, skip);
  if (!result.empty()) return result;
  const BufferRelease release{buffer, count, virtualMemory};
  std::string uid;
  result = TakeKindFromMeta(fileName, uid);
  if (!result.empty()) return result;
  const uint64_t offset = uint64_t{TanPreamble::kSize} + FMetaGroup.Length();
  uint32_t remaining = offset < count ? Count32(count - offset) : 0;
  TanIODFactory content(FKind, 50);
  FDataSet.SetTransferSyntaxUID(uid);
  if (remaining > 0 && !content->ReadFromMemory(FDataSet, buffer + offset, remaining, skip))
    return "Unable to read a content of the file \"" + fileName + "\" (" + content->GetLastMessage() + ").";
  FFileName = fileName;
  return "";
}

std::string TanDicomFileObject::LoadHeaderFromFileInMemory(const std::string& fileName, bool virtualMemory,
                                                           bool skip) {
  unsigned char* buffer = nullptr;
  uint64_t count = kHeaderGuess;
  std::string result = MapFile(fileName, virtualMemory, buffer, count, skip);
  if (!result.empty()) return result;
  const BufferRelease release{buffer, count, virtualMemory};
  std::string uid;
  result = TakeKindFromMeta(fileName, uid);
  if (!result.empty()) return result;
  const uint64_t offset = uint64_t{TanPreamble::kSize} + FMetaGroup.Length();
  uint32_t remaining = offset < count ? Count32(count - offset) : 0;
  TanIODFactory first(FKind, 50);
  FDataSet.SetTransferSyntaxUID(uid);
  if (first->ReadFromMemoryUntilTag(FDataSet, buffer + offset, remaining, 0x7FE0, 0x0000, skip)) {
    FFileName = fileName;
    return "";
  }
  // Too few bytes brought in: once more up to the first fragment the index records, or the
  // whole file without an index.
  FDataSet.Clear();
  FDataSet.SetTransferSyntaxUID(uid);
  uint64_t limit = 0;
  {
    TanPrivatePixelDataInfo index(*this);
    if (!index.FFrames.IsEmpty() && !index.FFrames.First().IsEmpty()) limit = index.FFrames.First().GetFrameOffset();
  }
  // An index that points before the data set is of no use: the whole file then.
  if (limit != 0 && limit <= offset) limit = 0;
  ReleaseBuffer(buffer, count, virtualMemory);
  count = limit;
  const std::string failure =
      "Unable to read a content of the file \"" + fileName + "\" (" + first->GetLastMessage() + ").";
  if (!(virtualMemory ? ReadFileToVirtualMemory(buffer, count, fileName) : MapFileView(buffer, count, fileName)) ||
      count <= offset) {
    FDataSet.Clear();
    return failure;
  }
  remaining = Count32(count - offset);
  TanIODFactory second(FKind, 50);
  if (!second->ReadFromMemoryUntilTag(FDataSet, buffer + offset, remaining, 0x7FE0, 0x0000, skip)) return failure;
  FFileName = fileName;
  return "";
}

}  // namespace ORN_dicom
