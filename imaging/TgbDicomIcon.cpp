#include "imaging/TgbDicomIcon.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "base/memory/TanCPPAllocator.h"
#include "base/memory/TanMSVirtualMemoryAlloc.h"
#include "dicom/elements/charset/TanStr2Float.h"
#include "dicom/elements/charset/TanStr2Int.h"
#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/elements/dataset/TanTags.h"
#include "dicom/elements/element/iDDE.h"
#include "dicom/elements/header/VRCodes.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "dicom/io/pixel/TanFrameSplitter.h"
#include "imaging/TgbImageFlipRows.h"
#include "imaging/TgbLUT.h"
#include "imaging/TgbPixelDataCorrector.h"
#include "imaging/TgbRGBtoPaletteColorConverter.h"
#include "imaging/TgbYBR.h"
#include "imaging/TsgImageConverter.h"

using ORN_dicom::iDDE;
using ORN_dicom::TanDDESet;

namespace ORN_image {
namespace {

constexpr uint32_t kSamplesPerPixel = 0x00280002u;
constexpr uint32_t kPhotometric = 0x00280004u;
constexpr uint32_t kPlanar = 0x00280006u;
constexpr uint32_t kNumberOfFrames = 0x00280008u;
constexpr uint32_t kRows = 0x00280010u;
constexpr uint32_t kColumns = 0x00280011u;
constexpr uint32_t kBitsAllocated = 0x00280100u;
constexpr uint32_t kBitsStored = 0x00280101u;
constexpr uint32_t kHighBit = 0x00280102u;
constexpr uint32_t kPixelRepresentation = 0x00280103u;
constexpr uint32_t kWindowCenter = 0x00281050u;
constexpr uint32_t kWindowWidth = 0x00281051u;
constexpr uint32_t kRescaleIntercept = 0x00281052u;
constexpr uint32_t kRescaleSlope = 0x00281053u;
constexpr uint32_t kRedDescriptor = 0x00281101u;
constexpr uint32_t kRedData = 0x00281201u;
constexpr uint32_t kGreenData = 0x00281202u;
constexpr uint32_t kBlueData = 0x00281203u;
constexpr uint32_t kModalityLUTSequence = 0x00283000u;
constexpr uint32_t kLUTDescriptor = 0x00283002u;
constexpr uint32_t kLUTData = 0x00283006u;
constexpr uint32_t kVOILUTSequence = 0x00283010u;
constexpr uint32_t kIconSequence = 0x00880200u;
constexpr uint32_t kPixelData = 0x7FE00010u;

// Frames larger than this are not made into icons (and no 32-bit size overflows).
constexpr uint64_t kMaxFrameBytes = uint64_t(1) << 30;
// Icons and foreign icon items larger than this are refused.
constexpr int32_t kMaxIconSide = 4096;

// A buffer of the allocator A, 8 bytes larger than asked, freed with the holder.
template <class A>
class TBuffer {
 public:
  TBuffer() = default;
  ~TBuffer() { Free(); }
  TBuffer(const TBuffer&) = delete;
  TBuffer& operator=(const TBuffer&) = delete;

  uint8_t* Allocate(size_t size) {
    Free();
    A allocator;
    FData = static_cast<uint8_t*>(allocator.Allocate(uint64_t(size) + 8));
    FSize = size;
    return FData;
  }
  void Free() {
    if (FData != nullptr) {
      A allocator;
      allocator.Free(FData);
    }
    FData = nullptr;
    FSize = 0;
  }
  uint8_t* Data() const { return FData; }
  size_t Size() const { return FSize; }

 private:
  uint8_t* FData = nullptr;
  size_t FSize = 0;
};

iDDE* Required(TanDDESet<iDDE>& set, uint32_t tag) {
  iDDE* e = set.Find(tag);
  if (e == nullptr) throw std::runtime_error("missing element");
  return e;
}

std::string TextOf(iDDE* e) { return e != nullptr ? e->GetString() : std::string(); }

// The first "\"-separated value of a text element.
std::string FirstValue(iDDE* e) {
  std::string text;
  if (e == nullptr) return text;
  if (!e->GetStringAt(text, 0)) text = e->GetString();
  const size_t cut = text.find('\\');
  if (cut != std::string::npos) text.resize(cut);
  return text;
}

double RealOf(iDDE* e) { return double(ORN_utility::TanStr2Float(FirstValue(e)).ToFloat()); }

TanDDESet<iDDE>* FirstItem(iDDE* sequence) {
  if (sequence == nullptr) return nullptr;
  auto* items = sequence->ValueAs<ORN_dicom::TanDDESequenceValue>();
  if (items == nullptr) return nullptr;
  ORN_dicom::TanItems view(*items);
  if (view.IsEmpty()) return nullptr;
  return view.Item(0);
}

struct LUTDescriptor {
  uint32_t Entries = 0;
  int32_t FirstMapped = 0;
  int32_t Bits = 0;
};

// The three values of a LUT descriptor: read unsigned for "US" and "OW", signed for "SS"; the
// first mapped value then takes the input's signedness. Zero entries means 65536.
bool ReadDescriptor(iDDE* e, bool signedInput, LUTDescriptor& d) {
  if (e == nullptr) return false;
  const std::string vrText = e->VRText();
  uint16_t u[3] = {};
  if (vrText == "SS") {
    int16_t s[3] = {};
    for (uint32_t i = 0; i < 3; ++i)
      if (!e->GetShortAt(s[i], i)) return false;
    for (int i = 0; i < 3; ++i) u[i] = uint16_t(s[i]);
  } else {
    for (uint32_t i = 0; i < 3; ++i)
      if (!e->GetUShortAt(u[i], i)) return false;
  }
  d.Entries = u[0] == 0 ? 65536u : u[0];
  d.FirstMapped = signedInput ? int32_t(int16_t(u[1])) : int32_t(u[1]);
  d.Bits = u[2];
  return d.Bits >= 1 && d.Bits <= 16;
}

// The entries of a LUT table, one 16-bit value each; 8-bit tables that pack two entries into a
// word are unpacked. False when the element holds fewer entries than the descriptor says.
bool ReadTable(iDDE* e, uint32_t entries, int32_t bits, std::vector<uint16_t>& table) {
  if (e == nullptr) return false;
  table.assign(entries, 0);
  uint16_t v = 0;
  if (e->GetUShortAt(v, entries - 1)) {
    for (uint32_t i = 0; i < entries; ++i)
      if (!e->GetUShortAt(table[i], i)) return false;
    return true;
  }
  if (bits <= 8 && entries % 2 == 0 && e->GetUShortAt(v, entries / 2 - 1)) {
    for (uint32_t i = 0; i < entries / 2; ++i) {
      if (!e->GetUShortAt(v, i)) return false;
      table[2 * i] = uint16_t(v & 0xFF);
      table[2 * i + 1] = uint16_t(v >> 8);
    }
    return true;
  }
  return false;
}

}  // namespace

template <class A>
TgbComDynamicOperationsClient& IconOperationsClient() {
  static TgbComDynamicOperationsClient client;
  return client;
}

// ---- The resampling step ----

template <class A>
bool TgbIconOperation<A>::Prepare(TgbComDynamicOperationsClient* client, int32_t samples, int32_t planar, int32_t rows,
                                  int32_t columns, int32_t pixelRepresentation, int32_t highBit, double slope,
                                  double intercept) {
  FClient = client;
  if (FPrepared) return true;
  FColumns = columns;
  FRows = rows;
  FPlanar = planar;
  FSamples = samples;
  FErrorText.clear();
  FWindow = client != nullptr ? client->GetWindowInterface() : nullptr;
  FZoom = client != nullptr ? client->GetZoomInterface() : nullptr;
  if (FWindow == nullptr || FZoom == nullptr) {
    FErrorText = "Instance creation error";
    return false;
  }
  FPrepared = FWindow->SetupWindow(samples, rows, columns, pixelRepresentation, highBit, float(slope),
                                   float(intercept)) != 0;
  return FPrepared;
}

template <class A>
bool TgbIconOperation<A>::Resample(const uint8_t* source, uint8_t* pixels, int32_t width, int32_t height) {
  if (!FPrepared || FWindow == nullptr || FZoom == nullptr) return false;
  TBuffer<A> windowed;
  const uint32_t n = FWindow->GetOutputSize();
  windowed.Allocate(n);
  if (n == 0 || FWindow->ApplyWindow(source, n, windowed.Data()) == 0) {
    FErrorText = FWindow->GetErrorText();
    return false;
  }

  orn_motivar::TZoomRegion region{-width / 2, -height / 2, width / 2, height / 2};
  double scale = std::min(double(width) / FColumns, double(height) / FRows);
  if (FColumns * scale < 16) scale = 16.0 / FColumns;
  else if (FRows * scale < 16) scale = 16.0 / FRows;

  TBuffer<A> zoomed;
  bool ok = FZoom->SetRegion(region.Left, region.Top, region.Right, region.Bottom, FRows, FColumns) != 0;
  ok = ok && FZoom->SetScale(scale, &region) != 0;
  uint32_t m = 0;
  if (ok) {
    m = FZoom->GetOutputSize(scale);
    ok = m != 0;
  }
  if (ok) {
    zoomed.Allocate(m);
    ok = FZoom->ZoomImage(windowed.Data(), zoomed.Data(), scale) != 0;
  }
  if (!ok) {
    FErrorText = FZoom->GetErrorText();
    return false;
  }

  const int32_t zw = std::min(region.Right - region.Left, width);
  const int32_t zh = std::min(region.Bottom - region.Top, height);
  const size_t samples = size_t(FSamples);
  std::memset(pixels, 0, size_t(width) * size_t(height) * samples);
  if (zw <= 0 || zh <= 0 || uint64_t(zw) * uint64_t(zh) * samples > m) return true;
  const size_t at = size_t((width - zw) / 2) + size_t(width) * size_t((height - zh) / 2);
  const uint8_t* z = zoomed.Data();
  for (int32_t y = 0; y < zh; ++y) {
    uint8_t* row = pixels + (at + size_t(y) * size_t(width)) * samples;
    if (FPlanar != 0 && FSamples == 3) {
      const size_t plane = size_t(zw) * size_t(zh);
      for (int32_t x = 0; x < zw; ++x)
        for (size_t s = 0; s < 3; ++s) row[3 * size_t(x) + s] = z[s * plane + size_t(y) * size_t(zw) + size_t(x)];
    } else {
      std::memcpy(row, z + size_t(y) * size_t(zw) * samples, size_t(zw) * samples);
    }
  }
  return true;
}

// ---- The icon ----

template <class A>
TgbDicomIcon<A>::~TgbDicomIcon() {
  FreePixels();
}

template <class A>
void TgbDicomIcon<A>::FreePixels() {
  if (FPixels != nullptr) {
    A allocator;
    allocator.Free(FPixels);
  }
  FPixels = nullptr;
}

template <class A>
uint8_t* TgbDicomIcon<A>::AllocatePixels(size_t size) {
  FreePixels();
  A allocator;
  FPixels = static_cast<uint8_t*>(allocator.Allocate(uint64_t(size) + 8));
  return FPixels;
}

template <class A>
void TgbDicomIcon<A>::Reset() {
  FreePixels();
  FErrorText.clear();
}

template <class A>
bool TgbDicomIcon<A>::HasIcon() {
  if (FIconElement != nullptr) return true;
  return FDataSet != nullptr && FDataSet->Find(kIconSequence) != nullptr;
}

template <class A>
std::string TgbDicomIcon<A>::Photometric() const {
  return FDataSet != nullptr ? TextOf(FDataSet->Find(kPhotometric)) : std::string();
}

template <class A>
bool TgbDicomIcon<A>::CreateIcon(int32_t width, int32_t height, int32_t frame) {
  if (FDataSet == nullptr) return false;
  FErrorText.clear();
  TBuffer<A> working;
  try {
    TanDDESet<iDDE>& set = *FDataSet;
    const std::string photometric = TextOf(Required(set, kPhotometric));
    int32_t samples = Required(set, kSamplesPerPixel)->GetUShort();
    const int32_t rows = Required(set, kRows)->GetUShort();
    const int32_t columns = Required(set, kColumns)->GetUShort();
    int32_t bitsAllocated = Required(set, kBitsAllocated)->GetUShort();
    int32_t bitsStored = Required(set, kBitsStored)->GetUShort();
    int32_t highBit = Required(set, kHighBit)->GetUShort();
    const int32_t pixelRepresentation = Required(set, kPixelRepresentation)->GetUShort();
    iDDE* planarElement = samples > 1 ? set.Find(kPlanar) : nullptr;
    int32_t planar = planarElement != nullptr ? planarElement->GetUShort() : 0;
    iDDE* pixelData = Required(set, kPixelData);

    // Only layouts the later steps can read: 8- or 16-bit samples, grey or three colours.
    if (width <= 0 || height <= 0 || width > kMaxIconSide || height > kMaxIconSide) return false;
    if (rows <= 0 || columns <= 0 || (samples != 1 && samples != 3)) return false;
    if (bitsAllocated != 8 && bitsAllocated != 16) return false;
    // The colour operations read 8-bit samples.
    if (samples == 3 && bitsAllocated != 8) return false;
    if (bitsStored <= 0 || bitsStored > bitsAllocated || highBit >= bitsAllocated || highBit + 1 < bitsStored)
      return false;

    double slope = 1.0, intercept = 0.0;
    iDDE* interceptElement = set.Find(kRescaleIntercept);
    iDDE* slopeElement = set.Find(kRescaleSlope);
    if (interceptElement != nullptr && slopeElement != nullptr) {
      intercept = RealOf(interceptElement);
      slope = RealOf(slopeElement);
      double limit = std::ldexp(1.0, bitsAllocated - bitsStored);
      if (limit < 16.0) limit = 16.0;
      if (slope > limit) slope = limit;
    }

    int32_t index = 0;
    int32_t frames = 1;
    if (iDDE* numberOfFrames = set.Find(kNumberOfFrames)) {
      frames = ORN_utility::TanStr2Int(FirstValue(numberOfFrames)).ToInt();
      index = frame >= 0 && frame < frames ? frame : frames / 2;
      if (frames <= 0) return false;
    }

    const bool palette = photometric == "PALETTE COLOR" && set.Find(kRedDescriptor) != nullptr;
    const bool ybr = samples == 3 && photometric != "RGB";
    const bool ybr422 = samples == 3 && (photometric == "YBR_FULL_422" || photometric == "YBR_PARTIAL_422");

    // The decoded frame, and the frame as stored natively (4:2:2 keeps two bytes per pixel).
    uint64_t size = uint64_t(rows) * (uint64_t(columns) * uint64_t(samples) * uint64_t(bitsAllocated) / 8);
    const uint64_t stored = ybr422 ? uint64_t(rows) * ((uint64_t(columns) + 1) / 2 * 4) : size;
    if (size == 0 || size > kMaxFrameBytes) return false;
    uint8_t* buffer = working.Allocate(size_t(palette ? 3 * size : size));

    const uint8_t kind = set.GetTransferSyntaxKind();
    bool ok = false;
    if (kind == 1 || kind == 2 || kind == 3) {
      const uint64_t length = pixelData->GetLength();
      const uint8_t* data = pixelData->GetData();
      if (data == nullptr || (uint64_t(index) + 1) * stored > length) {
        FErrorText = "Pixel data is shorter than the frame";
        return false;
      }
      std::memcpy(buffer, data + uint64_t(index) * stored, size_t(stored));
      if (kind == 3 && pixelData->VRText() == "OW")
        for (uint64_t b = 0; b + 1 < stored; b += 2) std::swap(buffer[b], buffer[b + 1]);
      ok = true;
      if (ybr) {
        ok = TgbYBR(rows, columns, planar, photometric.c_str()).ConvertInPlace(buffer, size_t(size));
        planar = 0;
      }
    } else if (kind == 5 || kind == 6 || kind == 7) {
      auto* encapsulated = pixelData->ValueAs<ORN_dicom::TanEPDValue>();
      if (encapsulated == nullptr) return false;
      ORN_dicom::TanFrameSplitter splitter;
      if (!splitter.Split(*encapsulated, frames, kind) || uint32_t(index) >= splitter.Count()) return false;
      const ORN_dicom::TanFrameSplitter::Range bytes = splitter.Frame(uint32_t(index));
      TsgImageConverter converter;
      const uint32_t capacity = uint32_t(size);
      if (kind == 5) {
        ok = samples == 3 ? converter.DecompressJpegLosslessRGB(columns, rows, planar, bytes.Data, bytes.Length,
                                                                 buffer, capacity)
                          : converter.DecompressJpegLossless(columns, rows, bitsAllocated, bytes.Data, bytes.Length,
                                                             buffer, capacity);
      } else if (kind == 6) {
        ok = samples == 3 ? converter.DecompressRleRGB(columns, rows, 0, bytes.Data, bytes.Length, buffer, capacity)
                          : converter.DecompressRle(columns, rows, bitsAllocated, bytes.Data, bytes.Length, buffer,
                                                    capacity);
      } else {
        ok = converter.DecompressJpegLossy(columns, rows, bytes.Data, bytes.Length, buffer, capacity);
      }
      // Every decoder delivers the samples of a pixel side by side, whatever the file said.
      planar = 0;
      if (ok && ybr && kind != 7) ok = TgbYBR(rows, columns, 0, photometric.c_str()).ConvertInPlace(buffer, size_t(size));
    }
    if (!ok) return false;

    TgbPixelDataCorrector corrector;
    corrector.FBitsAllocated = bitsAllocated;
    corrector.FBitsStored = bitsStored;
    corrector.FHighBit = highBit;
    corrector.FSigned = pixelRepresentation;
    corrector.Prepare();
    if (corrector.Apply(buffer, size_t(size)) == 0) return false;
    highBit = corrector.FResultingHighBit;
    bitsStored = corrector.FResultingBitsStored;

    if (TgbImageFlipRows(rows, columns, samples, bitsAllocated, planar).Apply(buffer, size_t(size)) == 0) return false;

    const bool signedInput = pixelRepresentation != 0;
    if (palette) {
      LUTDescriptor d;
      std::vector<uint16_t> red, green, blue;
      if (!ReadDescriptor(set.Find(kRedDescriptor), signedInput, d)) return false;
      if (!ReadTable(set.Find(kRedData), d.Entries, d.Bits, red) ||
          !ReadTable(set.Find(kGreenData), d.Entries, d.Bits, green) ||
          !ReadTable(set.Find(kBlueData), d.Entries, d.Bits, blue))
        return false;
      samples = 3;
      planar = 1;
      size *= 3;
      TgbPaletteColor colours(bitsAllocated, signedInput, d.Entries, d.FirstMapped, d.Bits, red.data(), green.data(),
                              blue.data());
      if (colours.Apply(buffer, size_t(size)) == 0) return false;
    } else if (samples == 1) {
      if (interceptElement != nullptr) {
        TgbModalityLUT rescale(float(slope), float(intercept), bitsAllocated, highBit, signedInput);
        if (rescale.Apply(buffer, size_t(size)) == 0) return false;
      }
      if (TanDDESet<iDDE>* item = FirstItem(set.Find(kModalityLUTSequence))) {
        LUTDescriptor d;
        std::vector<uint16_t> table;
        if (!ReadDescriptor(item->Find(kLUTDescriptor), signedInput, d) ||
            !ReadTable(item->Find(kLUTData), d.Entries, d.Bits, table))
          return false;
        TgbModalityLUT lut(d.FirstMapped, d.Entries, d.Bits > 8 ? 16 : 8, table.data(), bitsAllocated, signedInput);
        if (lut.Apply(buffer, size_t(size)) == 0) return false;
        if (bitsAllocated == 16 && d.Bits <= 8) {
          // The table wrote one byte per sample.
          bitsAllocated = 8;
          size /= 2;
        }
      }
    }
    if (samples == 1 && set.Find(kVOILUTSequence) != nullptr &&
        (set.Find(kWindowWidth) == nullptr || set.Find(kWindowCenter) == nullptr)) {
      if (TanDDESet<iDDE>* item = FirstItem(set.Find(kVOILUTSequence))) {
        const bool voiSigned =
            TgbModalityLUT::IsOutputSigned(slope, intercept, bitsAllocated, highBit, pixelRepresentation != 0);
        LUTDescriptor d;
        std::vector<uint16_t> table;
        if (!ReadDescriptor(item->Find(kLUTDescriptor), voiSigned, d) ||
            !ReadTable(item->Find(kLUTData), d.Entries, d.Bits, table))
          return false;
        TgVOILUT voi(d.FirstMapped, d.Entries, d.Bits > 8 ? 16 : 8, table.data(), bitsAllocated, voiSigned,
                     float(slope), float(intercept), highBit);
        if (voi.Apply(buffer, size_t(size)) == 0) return false;
        if (bitsAllocated == 16 && d.Bits <= 8) {
          bitsAllocated = 8;
          size /= 2;
        }
      }
    }

    TgbComDynamicOperationsClient& client = IconOperationsClient<A>();
    // Each build makes a new operation object, so the step takes its interfaces afresh.
    FOperation.Unprepare();
    bool built = client.SelectOperation(samples, bitsAllocated, planar);
    built = built && FOperation.Prepare(&client, samples, planar, rows, columns, pixelRepresentation, highBit, slope,
                                        intercept);
    if (built) {
      uint8_t* pixels = AllocatePixels(size_t(width) * size_t(height) * size_t(samples));
      built = FOperation.Resample(buffer, pixels, width, height);
    }
    if (!built) {
      FreePixels();
      return false;
    }
    FColumns = width;
    FRows = height;
    FSamplesPerPixel = samples;
    return true;
  } catch (...) {
    FErrorText = "Buffer creation error";
    return false;
  }
}

template <class A>
iDDE* TgbDicomIcon<A>::BuildIconElement(uint8_t kind) {
  const size_t count = size_t(FColumns) * size_t(FRows);
  TBuffer<A> copy;
  uint8_t* picture = copy.Allocate(count * size_t(FSamplesPerPixel));
  std::memcpy(picture, FPixels, count * size_t(FSamplesPerPixel));
  try {
    TgbRGBtoPaletteColorConverter converter;
    const bool colour = FSamplesPerPixel == 3;
    if (colour) {
      for (size_t i = 0; i < count * 3; ++i)
        if (picture[i] == 255) picture[i] = 254;
      if (!converter.BuildPalette(picture, FColumns, FRows, 8)) return nullptr;
      std::memcpy(picture, converter.Indexes().data(), count);
    }
    FlipRowsInPlace(picture, size_t(FColumns), size_t(FRows));

    const uint8_t target = kind == 1 ? 1 : kind == 3 ? 3 : 2;
    ORN_dicom::TanDDEFactory factory(target);
    ORN_dicom::iDDEFactory* f = factory.Get();
    iDDE* sequence = f != nullptr ? f->MakeSequence(0x0088, 0x0200, 0) : nullptr;
    iDDE* item = f != nullptr ? f->MakeItem(0) : nullptr;
    std::unique_ptr<iDDE> sequenceOwner(sequence), itemOwner(item);
    if (sequence == nullptr || item == nullptr) {
      FErrorText = "Icon sequence is not created";
      return nullptr;
    }
    auto* elements = item->GetItem();
    const std::string source = Photometric();
    // A grey icon keeps the source's MONOCHROME1; every other grey icon is MONOCHROME2.
    const std::string photometric = colour ? "PALETTE COLOR" : source == "MONOCHROME1" ? source : "MONOCHROME2";
    const bool palette = photometric == "PALETTE COLOR";
    const uint32_t entries = converter.PaletteSize();
    std::vector<iDDE*> made;
    made.push_back(f->MakeDDE(0x0028, 0x0002, 1, 1));
    made.push_back(f->MakeDDE(0x0028, 0x0004, 1, photometric.c_str()));
    made.push_back(f->MakeDDE(0x0028, 0x0010, 1, FRows));
    made.push_back(f->MakeDDE(0x0028, 0x0011, 1, FColumns));
    made.push_back(f->MakeDDE(0x0028, 0x0034, 2, "1", "1"));
    made.push_back(f->MakeDDE(0x0028, 0x0100, 1, 8));
    made.push_back(f->MakeDDE(0x0028, 0x0101, 1, 8));
    made.push_back(f->MakeDDE(0x0028, 0x0102, 1, 7));
    made.push_back(f->MakeDDE(0x0028, 0x0103, 1, 0));
    made.push_back(f->MakeDDE(0x0028, 0x1050, 1, "128"));
    made.push_back(f->MakeDDE(0x0028, 0x1051, 1, "256"));
    if (palette) {
      // Sixteen-bit entries, one per word: a table of 8-bit entries would have to be packed two
      // to a word, and readers that follow the standard would take one-per-word data wrongly.
      // An entry v × 257 has two equal bytes, so the words read alike in either byte order.
      for (uint16_t e : {0x1101, 0x1102, 0x1103})
        made.push_back(f->MakeDDEWithVR(0x0028, e, "US", 3, int(entries), 0, 16));
      const std::vector<uint16_t>* tables[3] = {&converter.FirstTable(), &converter.SecondTable(),
                                                &converter.ThirdTable()};
      std::vector<uint16_t> wide(entries);
      for (uint16_t k = 0; k < 3; ++k) {
        for (uint32_t i = 0; i < entries; ++i) wide[i] = uint16_t((*tables[k])[i] * 257);
        made.push_back(f->MakeDDEWithVR(0x0028, uint16_t(0x1201 + k), "OW", 1, uint32_t(entries * 2),
                                        static_cast<const void*>(wide.data())));
      }
    }
    made.push_back(f->MakePixelData(ORN_dicom::vr::OB, 1, uint32_t(count), static_cast<const void*>(picture)));
    bool all = true;
    for (iDDE* e : made) all = all && e != nullptr;
    if (!all) {
      for (iDDE* e : made) delete e;
      FErrorText = "Icon sequence is not created";
      return nullptr;
    }
    for (iDDE* e : made) elements->Append(e);
    sequence->GetSequence()->Append(itemOwner.release());
    return sequenceOwner.release();
  } catch (...) {
    return nullptr;
  }
}

template <class A>
iDDE* TgbDicomIcon<A>::CopyIconElement(uint8_t kind) {
  if (!HasIcon()) {
    FErrorText = "Icon sequence does not exist";
    return nullptr;
  }
  iDDE* source = FDataSet != nullptr ? FDataSet->Find(kIconSequence) : FIconElement;
  iDDE* copy = nullptr;
  try {
    ORN_dicom::TanDDEFactory factory(kind);
    if (factory.Get() != nullptr) copy = factory->MakeDDEFromDDE(source);
  } catch (...) {
    copy = nullptr;
  }
  if (copy == nullptr) FErrorText = "Icon sequence is not created";
  return copy;
}

template <class A>
bool TgbDicomIcon<A>::StoreIcon(TanDDESet<iDDE>* target) {
  FErrorText.clear();
  if (target == nullptr) return false;
  const uint8_t kind = target->GetTransferSyntaxKind();
  iDDE* element = FPixels != nullptr ? BuildIconElement(kind) : CopyIconElement(kind);
  if (element == nullptr) return false;
  target->DeleteByTag(kIconSequence);
  if (!target->Insert(element)) {
    delete element;
    return false;
  }
  return true;
}

template <class A>
bool TgbDicomIcon<A>::GetIconItem(iDDE** element, uint8_t kind) {
  FErrorText.clear();
  if (element == nullptr) return false;
  iDDE* made = FPixels != nullptr ? BuildIconElement(kind) : CopyIconElement(kind);
  if (made == nullptr) return false;
  *element = made;
  return true;
}

template <class A>
bool TgbDicomIcon<A>::LoadFromItem(iDDE* iconSequence) {
  TanDDESet<iDDE>* item = FirstItem(iconSequence);
  if (item == nullptr) return false;
  iDDE* samplesElement = item->Find(kSamplesPerPixel);
  iDDE* rowsElement = item->Find(kRows);
  iDDE* columnsElement = item->Find(kColumns);
  iDDE* bitsElement = item->Find(kBitsAllocated);
  iDDE* pixelData = item->Find(kPixelData);
  if (samplesElement == nullptr || rowsElement == nullptr || columnsElement == nullptr || bitsElement == nullptr ||
      pixelData == nullptr)
    return false;
  // Icons of other programs are checked before they are read: one 8-bit sample per pixel, a
  // sane size, and native pixel data that holds the whole picture.
  const int32_t samples = samplesElement->GetUShort();
  const int32_t rows = rowsElement->GetUShort();
  const int32_t columns = columnsElement->GetUShort();
  const int32_t bits = bitsElement->GetUShort();
  if (samples != 1 || bits != 8 || rows <= 0 || columns <= 0 || rows > kMaxIconSide || columns > kMaxIconSide)
    return false;
  const size_t count = size_t(rows) * size_t(columns);
  const uint8_t* data = pixelData->GetData();
  if (data == nullptr || pixelData->GetLength() < count) return false;
  const std::string photometric = TextOf(item->Find(kPhotometric));
  const bool palette = photometric == "PALETTE COLOR";
  if (!palette && photometric != "MONOCHROME1" && photometric != "MONOCHROME2") return false;

  TBuffer<A> work;
  uint8_t* buffer = work.Allocate(count * 3);
  std::memcpy(buffer, data, count);
  TgbImageFlipRows(rows, columns, 1, bits, 0).Apply(buffer, count);
  uint8_t* pixels = nullptr;
  if (palette) {
    LUTDescriptor d;
    std::vector<uint16_t> red, green, blue;
    if (!ReadDescriptor(item->Find(kRedDescriptor), false, d) || !ReadTable(item->Find(kRedData), d.Entries, d.Bits, red) ||
        !ReadTable(item->Find(kGreenData), d.Entries, d.Bits, green) ||
        !ReadTable(item->Find(kBlueData), d.Entries, d.Bits, blue))
      return false;
    TgbPaletteColor colours(bits, false, d.Entries, d.FirstMapped, d.Bits, red.data(), green.data(), blue.data());
    if (colours.Apply(buffer, count * 3) == 0) return false;
    pixels = AllocatePixels(count * 3);
    for (size_t i = 0; i < count; ++i)
      for (size_t s = 0; s < 3; ++s) pixels[3 * i + s] = buffer[s * count + i];
    FSamplesPerPixel = 3;
  } else {
    if (photometric == "MONOCHROME1") InvertBytes(buffer, count);
    pixels = AllocatePixels(count);
    std::memcpy(pixels, buffer, count);
    FSamplesPerPixel = 1;
  }
  FColumns = columns;
  FRows = rows;
  return true;
}

template <class A>
platform::HBITMAP TgbDisplayDicomIcon<A>::CreateBitmap() {
  bool invert = false;
  if (this->FPixels != nullptr) {
    invert = this->FSamplesPerPixel == 1 && this->Photometric() == "MONOCHROME1";
  } else if (this->FIconElement != nullptr) {
    if (!this->LoadFromItem(this->FIconElement)) return nullptr;
  } else if (this->HasIcon()) {
    if (!this->LoadFromItem(this->FDataSet->Find(kIconSequence))) return nullptr;
  } else {
    return nullptr;
  }
  platform::HBITMAP bitmap = platform::CreateDibSection24(this->FColumns, this->FRows);
  if (bitmap == nullptr) return nullptr;
  const size_t columns = size_t(this->FColumns);
  for (int32_t y = 0; y < this->FRows; ++y) {
    uint8_t* out = bitmap->StoredRow(y);
    const uint8_t* in = this->FPixels + size_t(y) * columns * size_t(this->FSamplesPerPixel);
    for (size_t x = 0; x < columns; ++x) {
      if (this->FSamplesPerPixel == 3) {
        out[3 * x] = in[3 * x + 2];
        out[3 * x + 1] = in[3 * x + 1];
        out[3 * x + 2] = in[3 * x];
      } else {
        const uint8_t v = invert ? uint8_t(255 - in[x]) : in[x];
        out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = v;
      }
    }
  }
  return bitmap;
}

template TgbComDynamicOperationsClient& IconOperationsClient<ORN_std::TanMSVirtualMemoryAlloc>();
template TgbComDynamicOperationsClient& IconOperationsClient<ORN_std::TanCPPAllocator>();
template class TgbIconOperation<ORN_std::TanMSVirtualMemoryAlloc>;
template class TgbIconOperation<ORN_std::TanCPPAllocator>;
template class TgbDicomIcon<ORN_std::TanMSVirtualMemoryAlloc>;
template class TgbDicomIcon<ORN_std::TanCPPAllocator>;
template class TgbDisplayDicomIcon<ORN_std::TanMSVirtualMemoryAlloc>;
template class TgbDisplayDicomIcon<ORN_std::TanCPPAllocator>;

}  // namespace ORN_image
