#include "dicom/io/file/TanDicomFileObject.h"

#include <fstream>

#include "dicom/elements/element/iDDE.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom {

namespace {
constexpr uint32_t kTransferSyntaxTag = 0x00020010u;
constexpr uint32_t kModalityTag = 0x00080060u;
constexpr uint32_t kMetaFirstTag = 0x00020000u;
}  // namespace

TanDicomFileObject::TanDicomFileObject() { FMetaGroup.SetTransferSyntaxKind(2); }

TanDicomFileObject::~TanDicomFileObject() { Clear(); }

void TanDicomFileObject::Clear() {
  FMetaGroup.Clear();
  FDataSet.Clear();
}

uint8_t TanDicomFileObject::KindFromTransferSyntax(const std::string& uid) {
  std::size_t b = 0, e = uid.size();
  while (b < e && static_cast<unsigned char>(uid[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(uid[e - 1]) <= 32) --e;
  return TanIOD::KindOfUID(uid.substr(b, e - b));
}

uint8_t TanDicomFileObject::GetTransferSyntaxKind() {
  if (FKind == 0) {
    if (iDDE* ts = FMetaGroup.Find(kTransferSyntaxTag)) FKind = KindFromTransferSyntax(ts->GetString());
  }
  return FKind;
}

std::string TanDicomFileObject::GetModality() const {
  iDDE* e = FDataSet.Find(kModalityTag);
  return e != nullptr ? e->GetString() : std::string();
}

bool TanDicomFileObject::HasContent() const { return !FDataSet.IsEmpty() && FDataSet.IsSuccess(); }

std::string TanDicomFileObject::LoadFromFile(const std::string& fileName, bool skip) {
  return LoadFile(fileName, skip, false);
}
std::string TanDicomFileObject::LoadHeaderFromFile(const std::string& fileName, bool skip) {
  return LoadFile(fileName, skip, true);
}
std::string TanDicomFileObject::ReadFromStream(std::istream& in, bool skip) { return ReadStream(in, skip, false); }
std::string TanDicomFileObject::ReadHeaderFromStream(std::istream& in, bool skip) {
  return ReadStream(in, skip, true);
}
std::string TanDicomFileObject::ReadFromMemory(const void* buffer, uint32_t count, bool skip) {
  return ReadMemory(buffer, count, skip, false);
}
std::string TanDicomFileObject::ReadHeaderFromMemory(const void* buffer, uint32_t count, bool skip) {
  return ReadMemory(buffer, count, skip, true);
}

std::string TanDicomFileObject::LoadFile(const std::string& fileName, bool skip, bool header) {
  std::ifstream in(fileName, std::ios::binary);
  if (in.bad() || in.fail()) return "Cannot open the file \"" + fileName + "\".";
  std::string result = ReadStream(in, skip, header);
  if (result.empty()) FFileName = fileName;
  return result;
}

std::string TanDicomFileObject::ReadStream(std::istream& in, bool skip, bool header) {
  Clear();
  if (!in.good()) return "Input stream is not good.";
  FPreamble.ReadFromStream(in);
  if (!FPreamble.IsDicm()) return "Preamble does not correspond with DICOM 3.0.";
  {
    TanIODFactory meta(2, 50);
    uint32_t count = 0xFFFFFFFFu;
    meta->FLowestTag = kMetaFirstTag;
    if (!meta->ReadFromStreamUntilTag(FMetaGroup, in, count, 0x0002, 0xFFFF, skip))
      return std::string("Unable to read a header (") + meta->GetLastMessage() + ").";
  }
  iDDE* ts = FMetaGroup.Find(kTransferSyntaxTag);
  if (ts == nullptr) return "Transfer Syntax UID is not presented.";
  const std::string uid = ts->GetString();
  FKind = KindFromTransferSyntax(uid);
  if (FKind == 0) return "Unsupported representation type (" + uid + ").";
  const std::streamoff at = in.tellg();
  in.seekg(0, std::ios::end);
  const std::streamoff end = in.tellg();
  in.seekg(at);
  const std::streamoff remaining = end - at;
  if (remaining <= 0) {
    FFileName.clear();
    return "";
  }
  TanIODFactory content(FKind, 50);
  FDataSet.SetTransferSyntaxUID(uid);
  uint32_t count = remaining > 0xFFFFFFFF ? 0xFFFFFFFFu : static_cast<uint32_t>(remaining);
  const bool ok = header ? content->ReadFromStreamUntilTag(FDataSet, in, count, 0x7FE0, 0x0000, skip)
                         : content->ReadFromStream(FDataSet, in, count, skip);
  if (!ok) return std::string("Unable to read a content (") + content->GetLastMessage() + ").";
  FFileName.clear();
  return "";
}

std::string TanDicomFileObject::ReadPreambleAndMetaFromMemory(const void* buffer, uint32_t count, bool skip,
                                                              uint32_t& offset) {
  Clear();
  if (buffer == nullptr || count < TanPreamble::kSize) return "Preamble does not correspond with DICOM 3.0.";
  FPreamble.ReadFromMemory(buffer);
  if (!FPreamble.IsDicm()) return "Preamble does not correspond with DICOM 3.0.";
  TanIODFactory meta(2, 50);
  uint32_t metaCount = count - TanPreamble::kSize;
  meta->FLowestTag = kMetaFirstTag;
  if (!meta->ReadFromMemoryUntilTag(FMetaGroup, static_cast<const unsigned char*>(buffer) + TanPreamble::kSize,
                                    metaCount, 0x0002, 0xFFFF, skip))
    return std::string("Unable to read a header (") + meta->GetLastMessage() + ").";
  // The data set starts where the meta read stopped: dropped elements count too.
  offset = TanPreamble::kSize + metaCount;
  return "";
}

std::string TanDicomFileObject::ReadMemory(const void* buffer, uint32_t count, bool skip, bool header) {
  uint32_t offset = 0;
  std::string result = ReadPreambleAndMetaFromMemory(buffer, count, skip, offset);
  if (!result.empty()) return result;
  iDDE* ts = FMetaGroup.Find(kTransferSyntaxTag);
  if (ts == nullptr) return "Transfer Syntax UID is not presented.";
  const std::string uid = ts->GetString();
  FKind = KindFromTransferSyntax(uid);
  if (FKind == 0) return "Unsupported representation type (" + uid + ") .";
  TanIODFactory content(FKind, 50);
  FDataSet.SetTransferSyntaxUID(uid);
  uint32_t remaining = count - offset;
  const auto* start = static_cast<const unsigned char*>(buffer) + offset;
  const bool ok = header ? content->ReadFromMemoryUntilTag(FDataSet, start, remaining, 0x7FE0, 0x0000, skip)
                         : content->ReadFromMemory(FDataSet, start, remaining, skip);
  if (!ok) return std::string("Unable to read a content (") + content->GetLastMessage() + ").";
  FFileName.clear();
  return "";
}

}  // namespace ORN_dicom
