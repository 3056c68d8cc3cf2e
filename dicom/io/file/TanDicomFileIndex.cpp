// Building the private pixel-data index: where each frame's fragments lie in the file that
// this object writes.
#include <cstring>
#include <vector>

#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/elements/dataset/TanFrames.h"
#include "dicom/elements/element/iDDE.h"
#include "dicom/io/factory/TanDDEFactoryBasis.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/file/TanPrivatePixelDataInfo.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "dicom/io/pixel/TanFrameSplitter.h"

namespace ORN_dicom {

namespace {
constexpr uint32_t kPixelDataTag = 0x7FE00010u;
constexpr uint32_t kNumberOfFramesTag = 0x00280008u;
constexpr const char* kImplementationClassUID = "2.25.40263187551.0.20041017";

void PutU16(TanByteWriter& w, uint16_t v) {
  w.FStart[w.FWritten++] = static_cast<unsigned char>(v);
  w.FStart[w.FWritten++] = static_cast<unsigned char>(v >> 8);
}
void PutU32(TanByteWriter& w, uint32_t v) {
  for (int i = 0; i < 4; ++i) w.FStart[w.FWritten++] = static_cast<unsigned char>(v >> (8 * i));
}

int32_t TrimmedInt(const std::string& text) {
  try {
    std::size_t used = 0;
    const long v = std::stol(text, &used);
    return static_cast<int32_t>(v);
  } catch (...) {
    return 0;
  }
}
}  // namespace

bool TanDicomFileObject::HasPixelDataIn(const TanIOD& set) {
  return !set.IsEmpty() && set.IndexOf(kPixelDataTag) >= 2;
}

bool TanDicomFileObject::HasPixelData() const { return HasPixelDataIn(FDataSet); }

bool TanDicomFileObject::BuildPrivatePixelDataInfo() {
  if (!HasPixelData()) {
    FLastError = "Cannot build Private Pixel Data Info because Pixel Data Tag does not exist.";
    return false;
  }
  if (BuildPrivatePixelDataInfoImpl()) {
    FLastError.clear();
    return true;
  }
  FLastError = "Cannot build Private Pixel Data Info.";
  return false;
}

bool TanDicomFileObject::BuildPrivatePixelDataInfoImpl() {
  const int32_t cursor = FDataSet.FCursor;
  FDataSet.FCursor = 0;
  struct Restore {
    TanIOD& set;
    int32_t cursor;
    ~Restore() { set.FCursor = cursor; }
  } restore{FDataSet, cursor};
  uint32_t frames = 1;
  if (iDDE* n = FDataSet.FindFromCursor(kNumberOfFramesTag)) {
    const int32_t v = TrimmedInt(n->GetString());
    frames = v > 0 ? static_cast<uint32_t>(v) : 0;
  }
  const int32_t p = FDataSet.IndexOf(kPixelDataTag);
  if (p < 0 || frames == 0) return false;
  try {
    uint64_t valueOffset = 0;
    for (int32_t i = 0; i < p; ++i) valueOffset += FDataSet.At(static_cast<uint32_t>(i))->Size();
    iDDE* pixelData = FDataSet.At(static_cast<uint32_t>(p));
    valueOffset += pixelData->HeaderSize();
    if (pixelData->Length() == 0xFFFFFFFFu) return IndexEncapsulatedFrames(pixelData, valueOffset, frames);
    return IndexNativeFrames(pixelData, valueOffset, frames);
  } catch (...) {
    return false;
  }
}

// Replaces the index elements and the group length; index is the new (0002,0102) whose
// zero bytes the caller fills. extent is the end of the last indexed byte counted from the
// start of the data set. Nothing changes when the factory makes any of them badly, or when an
// offset or length would not fit the index's 32-bit fields (a file beyond 4 GiB).
bool TanDicomFileObject::PutIndexElements(uint32_t length, uint64_t extent, iDDE*& index) {
  TanDDEFactory factory(2);
  const std::vector<unsigned char> zeros(length, 0);
  iDDE* made[3] = {factory->MakeDDE(0x0002, 0x0100, 1, kImplementationClassUID),
                   factory->MakeDDE(0x0002, 0x0102, 1, length, static_cast<const void*>(zeros.data())),
                   factory->MakeDDE(0x0002, 0x0000, 1, 0)};
  bool ok = true;
  for (iDDE* e : made) ok = ok && e != nullptr && e->IsValid();
  if (ok && made[1]->GetData() != nullptr && made[1]->GetLength() == length) {
    uint64_t meta = 0;
    for (uint32_t i = 0; i < FMetaGroup.Count(); ++i) {
      const uint32_t tag = FMetaGroup.At(i)->Tag();
      if (tag != 0x00020000u && tag != 0x00020100u && tag != 0x00020102u) meta += FMetaGroup.At(i)->Size();
    }
    for (iDDE* e : made) meta += e->Size();
    ok = TanPreamble::kSize + meta + extent <= 0xFFFFFFFFull;
  } else {
    ok = false;
  }
  if (!ok) {
    for (iDDE* e : made) delete e;
    return false;
  }
  for (int i = 0; i < 3; ++i) {
    FMetaGroup.DeleteByTag(made[i]->Tag());
    if (!FMetaGroup.Insert(made[i])) {
      for (int j = i; j < 3; ++j) delete made[j];  // those the set did not take
      return false;
    }
  }
  made[2]->SetULong(FMetaGroup.Length() - 12);
  index = made[1];
  return true;
}

bool TanDicomFileObject::IndexNativeFrames(iDDE* pixelData, uint64_t valueOffset, uint32_t frames) {
  const uint32_t valueLength = pixelData->Length();
  // The index counts frames and fragments in 16 bits: more are refused, never wrapped.
  if (valueLength == 0 || frames > 0xFFFF) return false;
  const uint32_t length = 32 + 10 * frames;
  const uint32_t frameLength = valueLength / frames;
  iDDE* index = nullptr;
  if (!PutIndexElements(length, valueOffset + uint64_t{frameLength} * frames, index)) return false;
  const uint32_t base = static_cast<uint32_t>(TanPreamble::kSize + FMetaGroup.Length() + valueOffset);
  TanByteWriter w{index->GetData(), 0};
  WriteCString(w, kPrivatePixelDataTitle);
  PutU16(w, static_cast<uint16_t>(frames));
  for (uint32_t i = 0; i < frames; ++i) {
    PutU16(w, 1);
    PutU32(w, base + i * frameLength);
    PutU32(w, frameLength);
  }
  return true;
}

bool TanDicomFileObject::IndexEncapsulatedFrames(iDDE* pixelData, uint64_t valueOffset, uint32_t frames) {
  TanEPDValue* value = pixelData->GetEncapsulatedPixelData();
  if (value == nullptr || value->IsEmpty() || frames > 0xFFFF) return false;
  // The index names the stored fragments of each frame as a decoder finds the frames: by the
  // offset table when it fits them, else one fragment per frame or the JPEG or RLE frame
  // starts. It is written only when every frame is a run of whole stored fragments and the
  // runs follow each other over all fragments: a frame that starts inside a fragment, or a
  // table that does not fit, must not put a wrong index into the file.
  TanFrameSplitter splitter;
  if (!splitter.Split(*value, static_cast<int32_t>(frames), FKind) || splitter.Count() != frames) return false;
  const uint32_t first = value->FFrames.FirstFragmentIndex(), end = value->FFrames.EndFragmentIndex();
  std::vector<uint32_t> counts(frames);
  uint32_t next = first;  // set index of the next stored fragment
  for (uint32_t i = 0; i < frames; ++i) {
    for (const TanFrameSplitter::Range& piece : splitter.Pieces(i)) {
      iDDE* fragment = next < end ? value->At(next) : nullptr;
      if (fragment == nullptr || fragment->GetData() != piece.Data || fragment->GetLength() != piece.Length)
        return false;
      ++next;
    }
    counts[i] = static_cast<uint32_t>(splitter.Pieces(i).size());
    if (counts[i] == 0 || counts[i] > 0xFFFF) return false;
  }
  if (next != end) return false;
  const uint32_t fragments = end - first;
  uint64_t extent = valueOffset + value->At(0)->Size();
  for (uint32_t j = first; j < end; ++j) extent += uint64_t{value->At(j)->HeaderSize()} + value->At(j)->Length();
  const uint32_t length = 32 + 10 * fragments;
  iDDE* index = nullptr;
  if (!PutIndexElements(length, extent, index)) return false;
  uint32_t running =
      static_cast<uint32_t>(TanPreamble::kSize + FMetaGroup.Length() + valueOffset + value->At(0)->Size());
  TanByteWriter w{index->GetData(), 0};
  WriteCString(w, kPrivatePixelDataTitle);
  PutU16(w, static_cast<uint16_t>(frames));
  uint32_t j = first;
  for (uint32_t i = 0; i < frames; ++i) {
    PutU16(w, static_cast<uint16_t>(counts[i]));
    std::vector<uint32_t> lengths;
    for (uint32_t k = 0; k < counts[i]; ++k, ++j) {
      iDDE* fragment = value->At(j);
      running += fragment->HeaderSize();
      PutU32(w, running);
      running += fragment->Length();
      lengths.push_back(fragment->Length());
    }
    for (uint32_t l : lengths) PutU32(w, l);
  }
  return true;
}

}  // namespace ORN_dicom
