#include "dicom/io/file/TanPrivatePixelDataInfo.h"

#include <cstring>

#include "dicom/elements/element/iDDE.h"
#include "dicom/io/factory/TanDDEFactoryBasis.h"
#include "dicom/io/file/TanDicomFileObject.h"

namespace ORN_dicom {

namespace {
constexpr uint32_t kIndexTag = 0x00020102u;

// Little-endian numbers from the reader; false when the value ends first.
template <class T>
bool Take(TanByteReader& reader, T& out) {
  if (reader.FRemaining < sizeof(T)) return false;
  out = 0;
  for (unsigned i = 0; i < sizeof(T); ++i) out = static_cast<T>(out | T(reader.FCursor[i]) << (8 * i));
  reader.FCursor += sizeof(T);
  reader.FRemaining -= sizeof(T);
  return true;
}
}  // namespace

uint32_t TanPrivatePixelDataInfoFrame::GetTotalLength() const {
  uint32_t total = 0;
  for (uint32_t l : FLengths) total += l;
  return total;
}

TanPrivatePixelDataInfo::TanPrivatePixelDataInfo(TanDicomFileObject& file) : FFrames(FFrameSet) {
  TanIOD& meta = file.FMetaGroup;
  const int32_t cursor = meta.FCursor;
  meta.FCursor = 0;
  iDDE* index = meta.FindFromCursor(kIndexTag);
  meta.FCursor = cursor;
  if (index == nullptr) return;
  const unsigned char* data = index->GetData();
  const uint32_t length = index->GetLength();
  if (data != nullptr && length != 0) Parse(data, length);
}

TanPrivatePixelDataInfo::TanPrivatePixelDataInfo(const unsigned char* bytes, uint32_t length) : FFrames(FFrameSet) {
  if (bytes != nullptr && length != 0) Parse(bytes, length);
}

void TanPrivatePixelDataInfo::Empty() {
  FFrameSet.FFrames.clear();
  FTitle.clear();
}

void TanPrivatePixelDataInfo::Parse(const unsigned char* bytes, uint32_t length) {
  try {
    TanByteReader reader{bytes, length};
    // A title without its NUL inside the value is malformed.
    if (std::memchr(bytes, 0, length) == nullptr) return Empty();
    FTitle = ReadCString(reader);
    if (FTitle != kPrivatePixelDataTitle) return Empty();
    uint16_t frames = 0;
    if (!Take(reader, frames) || frames == 0) return Empty();
    FFrameSet.FFrames.resize(frames);
    for (TanPrivatePixelDataInfoFrame& frame : FFrameSet.FFrames) {
      uint16_t n = 0;
      if (reader.FRemaining == 0 || !Take(reader, n) || n == 0) return Empty();
      frame.FOffsets.resize(n);
      frame.FLengths.resize(n);
      for (uint32_t& o : frame.FOffsets)
        if (!Take(reader, o)) return Empty();
      for (uint32_t& l : frame.FLengths)
        if (!Take(reader, l)) return Empty();
    }
  } catch (...) {
    Empty();
  }
}

}  // namespace ORN_dicom
