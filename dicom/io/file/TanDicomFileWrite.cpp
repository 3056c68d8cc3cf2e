// Writing a file object back as a Part 10 file: through a stream, one buffer written in
// pieces, a file mapping, or into a caller's memory block.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "base/memory/TanMSVirtualMemoryAlloc.h"
#include "dicom/elements/element/iDDE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/file/TanTemporaryTarget.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "platform/core/LastError.h"
#include "platform/core/SystemMessage.h"
#include "platform/files/FileIo.h"
#include "platform/files/MappingOnFile.h"

namespace ORN_dicom {

namespace {
constexpr uint32_t kPiece = 0x100000;
constexpr uint32_t kIoPending = 997;
constexpr const char* kImplementationClassUID = "2.25.40263187551.0.20041017";

std::string Trimmed(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}

std::string TextOf(const TanIOD& set, uint32_t tag) {
  const int32_t i = set.IndexOf(tag);
  return i < 0 ? std::string() : set.At(static_cast<uint32_t>(i))->GetString();
}

// The set's encoded size in 64 bits: the set's own 32-bit length stops short of a set of 4 GiB
// or more, and a buffer sized by it would be too small for what CopyTo fills in.
uint64_t EncodedSize(const TanIOD& set) {
  uint64_t size = 0;
  for (uint32_t i = 0; i < set.Count(); ++i) size += set.At(i)->Size();
  return size;
}

// Appends or inserts an element the factory made; an element it did not make, or one that
// is not valid, never reaches the set.
void Add(TanIOD& set, iDDE* e, bool insert) {
  if (e == nullptr) throw std::runtime_error("Cannot make the file meta information.");
  if (!e->IsValid() || !(insert ? set.Insert(e) : set.Append(e))) {
    delete e;
    throw std::runtime_error("Cannot make the file meta information.");
  }
}
}  // namespace

std::function<bool(uint64_t)> TanDicomFileObject::FWriteFaultHook;

std::string TanDicomFileObject::GetSystemErrorTextA(uint32_t code) { return platform::SystemMessage(code); }

std::string TanDicomFileObject::GetSystemErrorTextW(uint32_t code) {
  std::string text = platform::SystemMessage(code);
  const std::size_t crlf = text.find("\r\n");
  if (crlf != std::string::npos) text.erase(crlf, 2);
  return text;
}

uint32_t TanDicomFileObject::GetEncodedSize() const {
  return TanPreamble::kSize + FMetaGroup.Length() + FDataSet.Length();
}

void TanDicomFileObject::BuildDefaultMetaGroup() {
  TanDDEFactory factory(2);
  static const unsigned char kVersion[2] = {0x00, 0x01};
  const std::string sopClass = TextOf(FDataSet, 0x00080016u);
  const std::string sopInstance = TextOf(FDataSet, 0x00080018u);
  const std::string uid = FDataSet.GetTransferSyntaxUID();
  auto text = [](const std::string& s) { return s.empty() ? nullptr : s.c_str(); };
  Add(FMetaGroup, factory->MakeDDE(0x0002, 0x0001, 1, uint32_t{2}, static_cast<const void*>(kVersion)), false);
  Add(FMetaGroup, factory->MakeDDE(0x0002, 0x0002, sopClass.empty() ? 0 : 1, text(sopClass)), false);
  Add(FMetaGroup, factory->MakeDDE(0x0002, 0x0003, sopInstance.empty() ? 0 : 1, text(sopInstance)), false);
  Add(FMetaGroup, factory->MakeDDE(0x0002, 0x0010, 1, uid.c_str()), false);
  Add(FMetaGroup, factory->MakeDDE(0x0002, 0x0012, 1, kImplementationClassUID), false);
  Add(FMetaGroup, factory->MakeDDE(0x0002, 0x0013, 1, "ORN_V3"), false);
  Add(FMetaGroup, factory->MakeDDE(0x0002, 0x0016, 1, "No AETitle"), false);
  const uint32_t length = FMetaGroup.Length();
  Add(FMetaGroup, factory->MakeDDE(0x0002, 0x0000, 1, length), true);
}

bool TanDicomFileObject::CheckWritable(bool buildMeta) {
  const uint8_t kind = FDataSet.GetTransferSyntaxKind();
  if (kind == 0 || kind > 7) {
    FLastError = "The data set has no transfer syntax the file can be written in.";
    return false;
  }
  if (FMetaGroup.IsEmpty()) {
    if (!buildMeta) {
      FLastError = "The file has no file meta information.";
      return false;
    }
    BuildDefaultMetaGroup();
  }
  return true;
}

void TanDicomFileObject::FillBuffer(unsigned char* target) const {
  TanPreamble::WriteToMemory(target);
  FMetaGroup.CopyTo(target + TanPreamble::kSize);
  FDataSet.CopyTo(target + TanPreamble::kSize + FMetaGroup.Length());
}

bool TanDicomFileObject::SaveToStream(std::ostream& out) {
  if (!out.good()) {
    FLastError = "Output stream is not good.";
    return false;
  }
  if (!CheckWritable(false)) return false;
  TanPreamble::WriteToStream(out);
  FMetaGroup.WriteTo(out);
  FDataSet.WriteTo(out);
  bool ok = !out.bad() && !out.fail();
  if (ok) {
    out.flush();
    ok = !out.bad() && !out.fail();
  }
  if (ok) FLastError.clear();
  else FLastError = "Error occured while saving.";
  return ok;
}

bool TanDicomFileObject::SaveToFile(const std::string& fileName) {
  const std::string name = Trimmed(fileName).empty() ? FFileName : fileName;
  if (!CheckWritable(false)) return false;
  TanTemporaryTarget temporary(name);
  if (!temporary.CreateClosed()) {
    FLastError = "Cannot open the file \"" + name + "\" for saving.";
    return false;
  }
  bool ok = false;
  {
    std::ofstream out(temporary.Name(), std::ios::binary | std::ios::trunc);
    if (out.bad() || out.fail()) {
      FLastError = "Cannot open the file \"" + name + "\" for saving.";
      return false;
    }
    ok = SaveToStream(out);
    if (ok && FWriteFaultHook && !FWriteFaultHook(0)) ok = false;
    out.close();
    if (ok && out.fail()) ok = false;
    if (!ok) FLastError = "Error occured while saving.";
  }
  if (!ok) return false;
  if (!temporary.Commit()) {
    FLastError = "Error occured while saving.";
    return false;
  }
  return true;
}

bool TanDicomFileObject::Save(bool asynchronous) {
  if (FFileName.empty()) return false;
  return SaveAs(FFileName, asynchronous);
}

bool TanDicomFileObject::SaveAs(const std::string& fileName, bool asynchronous) {
  CreateFolders(fileName);
  return asynchronous ? WriteAsynchronous(fileName) : WriteMapped(fileName);
}

bool TanDicomFileObject::CreateFolders(const std::string& fileName) {
  const std::size_t slash = fileName.find_last_of('/');
  if (slash == std::string::npos) return true;
  const std::string folders = fileName.substr(0, slash);
  std::string path;
  std::size_t start = 0;
  bool first = true;
  while (start <= folders.size()) {
    std::size_t end = folders.find('/', start);
    if (end == std::string::npos) end = folders.size();
    const std::string part = folders.substr(start, end - start);
    path += part;
    // A leading "/" is the root, which exists, as a drive such as "C:" does.
    if (!(first && part.empty())) {
      std::error_code ec;
      if (!std::filesystem::is_directory(path, ec)) {
        std::filesystem::create_directory(path, ec);
        if (ec || !std::filesystem::is_directory(path, ec)) return false;
      }
    }
    first = false;
    path += '/';
    start = end + 1;
  }
  return true;
}

bool TanDicomFileObject::WriteAsynchronous(const std::string& fileName) {
  FLastError.clear();
  TanTemporaryTarget temporary(fileName);
  const platform::FileHandle file = temporary.Create(platform::access::GenericRead | platform::access::GenericWrite,
                                                     platform::kFileFlagOverlapped);
  if (file == platform::kInvalidFileHandle) {
    FLastError = GetSystemErrorTextA(platform::GetLastError());
    return false;
  }
  if (!CheckWritable(true)) return false;
  const uint64_t size = TanPreamble::kSize + EncodedSize(FMetaGroup) + EncodedSize(FDataSet);
  ORN_std::TanMSVirtualMemoryAlloc allocator;
  auto* buffer = static_cast<unsigned char*>(allocator.Allocate(size));
  struct Release {
    unsigned char* block;
    ~Release() { ORN_std::TanMSVirtualMemoryAlloc().Free(block); }
  } release{buffer};
  FillBuffer(buffer);
  uint64_t position = 0;
  while (position < size) {
    platform::Overlapped record;
    record.offset = position;
    const auto piece = static_cast<uint32_t>(std::min<uint64_t>(size - position, kPiece));
    bool written;
    if (FWriteFaultHook && !FWriteFaultHook(position)) {
      platform::SetLastError(platform::err::DiskFull);
      written = false;
    } else {
      written = platform::WriteFile(file, buffer + position, piece, nullptr, &record);
    }
    if (!written) {
      const uint32_t error = platform::GetLastError();
      if (error != kIoPending || !platform::GetOverlappedResult(file, &record, nullptr, true)) {
        FLastError = GetSystemErrorTextW(error != kIoPending ? error : record.status);
        break;
      }
    }
    // A piece that moved nothing would never finish the loop.
    if (record.transferred == 0) break;
    position += record.transferred;
  }
  if (position != size) {
    if (FLastError.empty()) FLastError = "Error of asynchronous writting operation.";
    return false;
  }
  if (!temporary.Commit()) {
    FLastError = GetSystemErrorTextA(platform::GetLastError());
    if (FLastError.empty()) FLastError = "Internal error occured while asynchronous writting operation.";
    return false;
  }
  return true;
}

bool TanDicomFileObject::WriteMapped(const std::string& fileName) {
  FLastError.clear();
  TanTemporaryTarget temporary(fileName);
  const platform::FileHandle file =
      temporary.Create(platform::access::GenericRead | platform::access::GenericWrite, 0);
  if (file == platform::kInvalidFileHandle) {
    FLastError = GetSystemErrorTextA(platform::GetLastError());
    return false;
  }
  if (!CheckWritable(true)) return false;
  const uint64_t size = TanPreamble::kSize + EncodedSize(FMetaGroup) + EncodedSize(FDataSet);
  // The blocks are reserved before the mapping is written: a page of a mapping that the disk
  // has no room for would end the process with SIGBUS. A file system that cannot reserve
  // gets the bytes through the handle instead, where a full disk is an error code.
  bool reserved;
  if (FWriteFaultHook && !FWriteFaultHook(0)) {
    platform::SetLastError(platform::err::DiskFull);
    reserved = false;
  } else {
    reserved = platform::ReserveFileSpace(file, size);
  }
  if (!reserved) {
    const uint32_t error = platform::GetLastError();
    if (error != platform::err::NotSupported) {
      FLastError = GetSystemErrorTextW(error);
      return false;
    }
    return WriteThroughHandle(file, size) && CommitTemporary(temporary);
  }
  bool ok = false;
  const platform::MappingOnFileHandle mapping = platform::CreateMappingOnFile(file, platform::page::ReadWrite, size);
  if (mapping != platform::kNoMappingOnFile) {
    void* view = platform::MapViewOnFile(mapping, platform::view_access::Write, 0, size);
    platform::CloseMappingOnFile(mapping);
    if (view != nullptr) {
      struct Unmap {
        void* view;
        ~Unmap() { platform::UnmapViewOnFile(view); }
      } unmap{view};
      FillBuffer(static_cast<unsigned char*>(view));
      ok = platform::FlushViewOnFile(view, 0);
    }
  }
  if (!ok) {
    FLastError = GetSystemErrorTextW(platform::GetLastError());
    if (FLastError.empty()) FLastError = "Internal error occured while synchronous writting operation.";
    return false;
  }
  return CommitTemporary(temporary);
}

bool TanDicomFileObject::CommitTemporary(TanTemporaryTarget& temporary) {
  if (temporary.Commit()) return true;
  FLastError = GetSystemErrorTextW(platform::GetLastError());
  if (FLastError.empty()) FLastError = "Internal error occured while synchronous writting operation.";
  return false;
}

bool TanDicomFileObject::WriteThroughHandle(platform::FileHandle file, uint64_t size) {
  ORN_std::TanMSVirtualMemoryAlloc allocator;
  auto* buffer = static_cast<unsigned char*>(allocator.Allocate(size));
  struct Release {
    unsigned char* block;
    ~Release() { ORN_std::TanMSVirtualMemoryAlloc().Free(block); }
  } release{buffer};
  FillBuffer(buffer);
  for (uint64_t position = 0; position < size;) {
    const auto piece = static_cast<uint32_t>(std::min<uint64_t>(size - position, kPiece));
    uint32_t moved = 0;
    if (!platform::WriteFile(file, buffer + position, piece, &moved, nullptr) || moved == 0) {
      FLastError = GetSystemErrorTextW(platform::GetLastError());
      if (FLastError.empty()) FLastError = "Error occured while saving.";
      return false;
    }
    position += moved;
  }
  return true;
}

bool TanDicomFileObject::WriteToMemory(void* block) {
  if (block == nullptr) return false;
  if (!CheckWritable(false)) return false;
  try {
    FillBuffer(static_cast<unsigned char*>(block));
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace ORN_dicom
