// Re-encoding a file object into another transfer-syntax kind: the data-set factory of the
// target kind converts the whole data set, the result replaces the object's own data set and
// the meta group is brought into line (transfer syntax, group length, no stale index).
#include <stdexcept>
#include <string>

#include "dicom/elements/element/iDDE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/file/TanPrivatePixelDataInfo.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom {

namespace {
constexpr uint32_t kGroupLengthTag = 0x00020000u;
constexpr uint32_t kTransferSyntaxTag = 0x00020010u;
constexpr uint32_t kPhotometricTag = 0x00280004u;

bool IsNativeKind(uint8_t kind) { return kind >= 1 && kind <= 3; }
}  // namespace

uint8_t TanDicomFileObject::ResolveKindFor(const TanIOD& set, uint8_t kind) {
  const bool encapsulated = kind >= 4 && kind <= 7;
  if (!HasPixelDataIn(set)) return encapsulated ? 2 : kind;
  if (kind != 4) return kind;
  // Lossless without a syntax of its own: lossless JPEG for grey images, RLE for the rest.
  iDDE* photometric = set.Find(kPhotometricTag);
  return photometric != nullptr && photometric->GetString().find("MONOCHROME") != std::string::npos ? 5 : 6;
}

uint8_t TanDicomFileObject::ResolveTargetKind(uint8_t kind) const { return ResolveKindFor(FDataSet, kind); }

void TanDicomFileObject::ReplaceDataSet(TanIOD& source) {
  FDataSet.Clear();
  while (!source.IsEmpty()) {
    iDDE* e = source.TakeFirst();
    if (!FDataSet.Append(e)) delete e;
  }
}

bool TanDicomFileObject::ConvertSet(TanIOD& source, uint8_t kind, uint8_t quality, TanIOD& target) {
  TanIODFactory factory(kind, quality);
  if (factory.Get() == nullptr) {
    FLastError = "No data-set factory for transfer-syntax kind " + std::to_string(kind) + ".";
    return false;
  }
  if (factory->ConvertIOD(target, source, false)) return true;
  FLastError = factory->GetLastMessage();
  if (FLastError.empty()) FLastError = "Cannot convert the data set to transfer-syntax kind " + std::to_string(kind) + ".";
  return false;
}

void TanDicomFileObject::TakeConverted(TanIOD& converted, uint8_t kind) {
  ReplaceDataSet(converted);
  if (FDataSet.GetTransferSyntaxKind() != kind) FDataSet.SetTransferSyntaxKind(kind);
  if (FMetaGroup.IsEmpty()) {
    BuildDefaultMetaGroup();
  } else {
    // The index's offsets describe the file as it was encoded before.
    TanPrivatePixelDataInfo index(*this);
    if (!index.FFrames.IsEmpty()) {
      FMetaGroup.DeleteByTag(0x00020100u);
      FMetaGroup.DeleteByTag(0x00020102u);
    }
    SetMetaTransferSyntax(kind);
    SetMetaGroupLength();
  }
  FKind = kind;
}

void TanDicomFileObject::SetMetaTransferSyntax(uint8_t kind) {
  TanIOD probe;
  probe.SetTransferSyntaxKind(kind);
  const std::string& uid = probe.GetTransferSyntaxUID();
  if (iDDE* ts = FMetaGroup.Find(kTransferSyntaxTag)) {
    ts->SetString(uid);
    return;
  }
  TanDDEFactory factory(2);
  iDDE* made = factory->MakeDDE(0x0002, 0x0010, 1, uid.c_str());
  if (made == nullptr || !made->IsValid() || !FMetaGroup.Insert(made)) {
    delete made;
    throw std::runtime_error("Cannot make the file meta information.");
  }
}

void TanDicomFileObject::SetMetaGroupLength() {
  if (iDDE* length = FMetaGroup.Find(kGroupLengthTag)) {
    // A group length read with another VR or size cannot take the value: it is made anew.
    if (length->VRText() == "UL" && length->GetLength() == 4) {
      length->SetULong(FMetaGroup.Length() - 12);
      return;
    }
    FMetaGroup.DeleteByTag(kGroupLengthTag);
  }
  TanDDEFactory factory(2);
  iDDE* made = factory->MakeDDE(0x0002, 0x0000, 1, FMetaGroup.Length());
  if (made == nullptr || !made->IsValid() || !FMetaGroup.Insert(made)) {
    delete made;
    throw std::runtime_error("Cannot make the file meta information.");
  }
}

bool TanDicomFileObject::ConvertTo(uint8_t kind, uint8_t quality) {
  const uint8_t k = ResolveTargetKind(kind);
  if (k == 0 || k > 7) {
    FLastError = "Cannot convert the data set to transfer-syntax kind " + std::to_string(kind) + ".";
    return false;
  }
  TanIOD converted(FDataSet.Count());
  if (!ConvertSet(FDataSet, k, quality, converted)) return false;
  TakeConverted(converted, k);
  return true;
}

bool TanDicomFileObject::ChangeTransferSyntax(uint8_t kind, uint8_t quality) {
  if (kind == 0 || kind > 7) {
    FLastError = "Cannot change the transfer syntax to kind " + std::to_string(kind) + ".";
    return false;
  }
  const uint8_t current = GetTransferSyntaxKind();
  // One encapsulated kind reaches another only through explicit VR little endian.
  const bool direct = kind <= 3 || IsNativeKind(current) || (kind != 4 && current == kind);
  if (direct) return ConvertTo(kind, quality);
  // Both steps run on sets of their own: the object changes only when both succeeded.
  TanIOD middle(FDataSet.Count());
  if (!ConvertSet(FDataSet, 2, quality, middle)) return false;
  middle.SetTransferSyntaxKind(2);
  const uint8_t k = ResolveKindFor(middle, kind);
  TanIOD converted(middle.Count());
  if (!ConvertSet(middle, k, quality, converted)) return false;
  TakeConverted(converted, k);
  return true;
}

}  // namespace ORN_dicom
