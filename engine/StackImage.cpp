#include "engine/StackImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>

#include "dicom/elements/charset/TanStr2Float.h"
#include "dicom/elements/charset/TanStr2Int.h"
#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/elements/dataset/TanTags.h"
#include "dicom/elements/element/iDDE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/pixel/TanFrameSplitter.h"
#include "imaging/TgbYBR.h"
#include "imaging/TsgImageConverter.h"

using ORN_dicom::iDDE;
using ORN_dicom::TanDDESet;

namespace ORN_engine {
namespace {

constexpr uint32_t kSamplesPerPixel = 0x00280002u, kPhotometric = 0x00280004u, kPlanar = 0x00280006u,
                   kNumberOfFrames = 0x00280008u, kRows = 0x00280010u, kColumns = 0x00280011u,
                   kBitsAllocated = 0x00280100u, kBitsStored = 0x00280101u, kHighBit = 0x00280102u,
                   kPixelRepresentation = 0x00280103u, kWindowCenter = 0x00281050u, kWindowWidth = 0x00281051u,
                   kRescaleIntercept = 0x00281052u, kRescaleSlope = 0x00281053u, kRedDescriptor = 0x00281101u,
                   kGreenDescriptor = 0x00281102u, kBlueDescriptor = 0x00281103u, kRedData = 0x00281201u,
                   kGreenData = 0x00281202u, kBlueData = 0x00281203u, kModalityLUTSequence = 0x00283000u,
                   kLUTDescriptor = 0x00283002u, kLUTData = 0x00283006u, kVOILUTSequence = 0x00283010u,
                   kPresentationLUTShape = 0x20500020u, kPatientName = 0x00100010u, kModality = 0x00080060u,
                   kSopInstanceUid = 0x00080018u, kFrameOfReferenceUid = 0x00200052u,
                   kInstanceNumber = 0x00200013u, kImagePosition = 0x00200032u, kImageOrientation = 0x00200037u,
                   kPixelSpacing = 0x00280030u, kImagerPixelSpacing = 0x00181164u, kSopClassUid = 0x00080016u, kSliceThickness = 0x00180050u, kCineRate = 0x00180040u,
                   kRecommendedFrameRate = 0x00082144u, kPixelData = 0x7FE00010u;

// Frames above this size are refused (and no size computation overflows).
constexpr uint64_t kMaxFrameBytes = uint64_t(1) << 30;

std::string Trimmed(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
  size_t b = 0;
  while (b < s.size() && s[b] == ' ') ++b;
  return s.substr(b);
}

std::string TextOf(TanDDESet<iDDE>& set, uint32_t tag) {
  iDDE* e = set.Find(tag);
  return e != nullptr ? Trimmed(e->GetString()) : std::string();
}

std::vector<std::string> ValuesOf(TanDDESet<iDDE>& set, uint32_t tag) {
  std::vector<std::string> out;
  const std::string text = TextOf(set, tag);
  if (text.empty()) return out;
  size_t start = 0;
  for (;;) {
    const size_t cut = text.find('\\', start);
    out.push_back(Trimmed(text.substr(start, cut == std::string::npos ? std::string::npos : cut - start)));
    if (cut == std::string::npos) break;
    start = cut + 1;
  }
  return out;
}

bool RealOf(const std::string& text, double& out) {
  if (text.empty()) return false;
  try {
    out = double(ORN_utility::TanStr2Float(text).ToFloat());
    return std::isfinite(out);
  } catch (const std::exception&) {
    return false;
  }
}

int32_t IntOf(const std::string& text, int32_t fallback) {
  if (text.empty()) return fallback;
  try {
    return ORN_utility::TanStr2Int(text).ToInt();
  } catch (const std::exception&) {
    return fallback;
  }
}

std::vector<double> RealsOf(TanDDESet<iDDE>& set, uint32_t tag) {
  std::vector<double> out;
  for (const std::string& v : ValuesOf(set, tag)) {
    double d = 0;
    if (!RealOf(v, d)) return {};
    out.push_back(d);
  }
  return out;
}

int32_t UShortOf(TanDDESet<iDDE>& set, uint32_t tag, int32_t fallback) {
  iDDE* e = set.Find(tag);
  uint16_t v = 0;
  return e != nullptr && e->GetUShortAt(v, 0) ? int32_t(v) : fallback;
}

TanDDESet<iDDE>* FirstItem(TanDDESet<iDDE>& set, uint32_t tag) {
  iDDE* sequence = set.Find(tag);
  if (sequence == nullptr) return nullptr;
  auto* items = sequence->ValueAs<ORN_dicom::TanDDESequenceValue>();
  if (items == nullptr) return nullptr;
  ORN_dicom::TanItems view(*items);
  if (view.IsEmpty()) return nullptr;
  try {
    return view.Item(0);
  } catch (const std::exception&) {
    return nullptr;
  }
}

}  // namespace

// A LUT from its descriptor (entries, first mapped, bits; 0 entries means 65536) and its
// data; 8-bit tables that pack two entries into a word are unpacked. Empty when malformed.
LookupTable ReadLut(iDDE* descriptor, iDDE* data, bool signedInput) {
  LookupTable lut;
  if (descriptor == nullptr || data == nullptr) return lut;
  uint16_t d[3] = {};
  for (uint32_t i = 0; i < 3; ++i)
    if (!descriptor->GetUShortAt(d[i], i)) return lut;
  const uint32_t entries = d[0] == 0 ? 65536u : d[0];
  const int32_t bits = d[2];
  if (bits < 1 || bits > 16) return lut;
  std::vector<uint16_t> table(entries, 0);
  uint16_t v = 0;
  if (data->GetUShortAt(v, entries - 1)) {
    for (uint32_t i = 0; i < entries; ++i)
      if (!data->GetUShortAt(table[i], i)) return lut;
  } else if (bits <= 8 && entries % 2 == 0 && data->GetUShortAt(v, entries / 2 - 1)) {
    for (uint32_t i = 0; i < entries / 2; ++i) {
      if (!data->GetUShortAt(v, i)) return lut;
      table[2 * i] = uint16_t(v & 0xFF);
      table[2 * i + 1] = uint16_t(v >> 8);
    }
  } else {
    return lut;
  }
  lut.FirstMapped = signedInput ? int32_t(int16_t(d[1])) : int32_t(d[1]);
  lut.Bits = bits;
  lut.Entries = std::move(table);
  return lut;
}

namespace {

void FillHeader(ImageHeader& h, ORN_dicom::TanDicomFileObject& file) {
  TanDDESet<iDDE>& set = file.FDataSet;
  h.Kind = file.FKind;
  h.Photometric = TextOf(set, kPhotometric);
  h.Samples = UShortOf(set, kSamplesPerPixel, 1);
  h.Rows = UShortOf(set, kRows, 0);
  h.Columns = UShortOf(set, kColumns, 0);
  h.BitsAllocated = UShortOf(set, kBitsAllocated, 0);
  h.BitsStored = UShortOf(set, kBitsStored, h.BitsAllocated);
  h.HighBit = UShortOf(set, kHighBit, h.BitsStored - 1);
  h.Signed = UShortOf(set, kPixelRepresentation, 0) != 0;
  h.Planar = h.Samples > 1 ? UShortOf(set, kPlanar, 0) : 0;
  h.Frames = IntOf(TextOf(set, kNumberOfFrames), 1);
  h.PatientName = TextOf(set, kPatientName);
  h.Modality = TextOf(set, kModality);
  h.SopInstanceUid = TextOf(set, kSopInstanceUid);
  h.SopClassUid = TextOf(set, kSopClassUid);
  h.FrameOfReferenceUid = TextOf(set, kFrameOfReferenceUid);
  h.InstanceNumber = IntOf(TextOf(set, kInstanceNumber), 0);

  double d = 0;
  if (RealOf(TextOf(set, kRescaleSlope), d) && d != 0) h.Slope = d;
  if (RealOf(TextOf(set, kRescaleIntercept), d)) h.Intercept = d;
  if (TanDDESet<iDDE>* item = FirstItem(set, kModalityLUTSequence))
    h.ModalityLut = ReadLut(item->Find(kLUTDescriptor), item->Find(kLUTData), h.Signed);
  h.WindowCentres = RealsOf(set, kWindowCenter);
  h.WindowWidths = RealsOf(set, kWindowWidth);
  const size_t n = std::min(h.WindowCentres.size(), h.WindowWidths.size());
  h.WindowCentres.resize(n);
  h.WindowWidths.resize(n);
  if (TanDDESet<iDDE>* item = FirstItem(set, kVOILUTSequence))
    h.VoiLut = ReadLut(item->Find(kLUTDescriptor), item->Find(kLUTData),
                        h.ModalityLut.Empty() && (h.Signed || h.Intercept < 0));
  h.PresentationInverse = TextOf(set, kPresentationLUTShape) == "INVERSE";
  if (h.Photometric == "PALETTE COLOR") {
    h.PaletteRed = ReadLut(set.Find(kRedDescriptor), set.Find(kRedData), h.Signed);
    h.PaletteGreen = ReadLut(set.Find(kGreenDescriptor), set.Find(kGreenData), h.Signed);
    h.PaletteBlue = ReadLut(set.Find(kBlueDescriptor), set.Find(kBlueData), h.Signed);
  }

  const std::vector<double> position = RealsOf(set, kImagePosition);
  const std::vector<double> orientation = RealsOf(set, kImageOrientation);
  const std::vector<double> spacing = RealsOf(set, kPixelSpacing);
  if (position.size() == 3 && orientation.size() == 6) {
    h.HasPlane = true;
    std::copy(position.begin(), position.end(), h.Position);
    std::copy(orientation.begin(), orientation.end(), h.Orientation);
  }
  if (spacing.size() == 2 && spacing[0] > 0 && spacing[1] > 0) {
    std::copy(spacing.begin(), spacing.end(), h.Spacing);
    h.HasSpacing = true;
  }
  const std::vector<double> imager = RealsOf(set, kImagerPixelSpacing);
  if (imager.size() == 2 && imager[0] > 0 && imager[1] > 0) {
    std::copy(imager.begin(), imager.end(), h.ImagerSpacing);
    h.HasImagerSpacing = true;
  }
  if (RealOf(TextOf(set, kSliceThickness), d)) h.SliceThickness = d;
  if (RealOf(TextOf(set, kCineRate), d) && d > 0) h.FrameRate = d;
  else if (RealOf(TextOf(set, kRecommendedFrameRate), d) && d > 0) h.FrameRate = d;
}

std::string Check(const ImageHeader& h) {
  if (h.Columns <= 0 || h.Rows <= 0) return "The image has no rows or columns.";
  if (h.Samples != 1 && h.Samples != 3) return "Samples per pixel " + std::to_string(h.Samples) + " cannot be drawn.";
  if (h.BitsAllocated != 8 && h.BitsAllocated != 16) return "Bits allocated " + std::to_string(h.BitsAllocated) + " cannot be drawn.";
  if (h.Samples == 3 && h.BitsAllocated != 8) return "Colour images of more than 8 bits cannot be drawn.";
  if (h.BitsStored <= 0 || h.BitsStored > h.BitsAllocated || h.HighBit >= h.BitsAllocated || h.HighBit + 1 < h.BitsStored)
    return "The bits stored and high bit do not fit the bits allocated.";
  if (h.Frames <= 0) return "Number of Frames is not a positive number.";
  if (h.Frame < 0 || h.Frame >= h.Frames) return "Frame " + std::to_string(h.Frame) + " is not in the file.";
  if (h.Kind == 0 || h.Kind == 4) return "The transfer syntax of the file cannot be decoded.";
  if (h.Samples == 1 && h.Photometric != "MONOCHROME1" && h.Photometric != "MONOCHROME2" && h.Photometric != "PALETTE COLOR")
    return "Photometric interpretation " + h.Photometric + " cannot be drawn.";
  if (h.Photometric == "PALETTE COLOR" && (h.PaletteRed.Empty() || h.PaletteGreen.Empty() || h.PaletteBlue.Empty()))
    return "The palette colour tables are missing or malformed.";
  return {};
}

}  // namespace

ImageHeader ReadImageHeader(const std::string& path, int32_t frame) {
  ImageHeader h;
  h.Path = path;
  h.Frame = frame < 0 ? 0 : frame;
  ORN_dicom::TanDicomFileObject file;
  const std::string error = file.LoadHeaderFromFile(path, false);
  if (!error.empty()) {
    h.Error = error;
    return h;
  }
  FillHeader(h, file);
  h.Error = Check(h);
  return h;
}

double ModalityValue(const ImageHeader& h, int32_t stored) {
  if (!h.ModalityLut.Empty()) return h.ModalityLut.At(stored);
  return stored * h.Slope + h.Intercept;
}

std::shared_ptr<DecodedImage> DecodeImage(const ImageHeader& header, std::string& error) {
  if (!header.Error.empty()) {
    error = header.Error;
    return nullptr;
  }
  ORN_dicom::TanDicomFileObject file;
  error = file.LoadFromFile(header.Path, false);
  if (!error.empty()) return nullptr;
  // The file may have changed since its header was read: take its attributes again.
  ImageHeader h;
  h.Path = header.Path;
  h.Frame = header.Frame;
  FillHeader(h, file);
  error = Check(h);
  if (!error.empty()) return nullptr;
  iDDE* pixelData = file.FDataSet.Find(kPixelData);
  if (pixelData == nullptr) {
    error = "The file has no pixel data.";
    return nullptr;
  }

  const uint64_t pixels = uint64_t(h.Columns) * uint64_t(h.Rows);
  const uint64_t sampleBytes = h.BitsAllocated / 8;
  const uint64_t size = pixels * uint64_t(h.Samples) * sampleBytes;
  const bool ybr = h.Samples == 3 && h.Photometric.rfind("YBR", 0) == 0;
  const bool ybr422 = h.Samples == 3 && (h.Photometric == "YBR_FULL_422" || h.Photometric == "YBR_PARTIAL_422");
  const uint64_t stored = ybr422 ? uint64_t(h.Rows) * ((uint64_t(h.Columns) + 1) / 2 * 4) : size;
  if (size > kMaxFrameBytes) {
    error = "The frame is too large.";
    return nullptr;
  }
  std::vector<uint8_t> buffer(size_t(std::max(size, stored)), 0);
  int32_t planar = h.Planar;
  bool ok = false;
  if (h.Kind == 1 || h.Kind == 2 || h.Kind == 3) {
    const uint64_t length = pixelData->GetLength();
    const uint8_t* data = pixelData->GetData();
    if (data == nullptr || (uint64_t(h.Frame) + 1) * stored > length) {
      error = "The pixel data is shorter than the frame.";
      return nullptr;
    }
    std::memcpy(buffer.data(), data + uint64_t(h.Frame) * stored, size_t(stored));
    if (h.Kind == 3 && sampleBytes == 2)
      for (uint64_t b = 0; b + 1 < stored; b += 2) std::swap(buffer[b], buffer[b + 1]);
    ok = true;
    if (ybr) {
      // 4:2:2 expands in place from its stored size to three samples per pixel.
      ok = TgbYBR(h.Rows, h.Columns, planar, h.Photometric.c_str()).ConvertInPlace(buffer.data(), size_t(size));
      planar = 0;
    }
  } else {
    auto* encapsulated = pixelData->ValueAs<ORN_dicom::TanEPDValue>();
    if (encapsulated == nullptr) {
      error = "The pixel data is not encapsulated.";
      return nullptr;
    }
    ORN_dicom::TanFrameSplitter splitter;
    if (!splitter.Split(*encapsulated, h.Frames, h.Kind) || uint32_t(h.Frame) >= splitter.Count()) {
      error = splitter.ErrorText().empty() ? "The frame is not in the pixel data." : splitter.ErrorText();
      return nullptr;
    }
    const ORN_dicom::TanFrameSplitter::Range bytes = splitter.Frame(uint32_t(h.Frame));
    TsgImageConverter converter;
    const auto capacity = uint32_t(size);
    if (h.Kind == 5) {
      ok = h.Samples == 3 ? converter.DecompressJpegLosslessRGB(h.Columns, h.Rows, planar, bytes.Data, bytes.Length,
                                                               buffer.data(), capacity)
                          : converter.DecompressJpegLossless(h.Columns, h.Rows, h.BitsAllocated, bytes.Data,
                                                             bytes.Length, buffer.data(), capacity);
    } else if (h.Kind == 6) {
      ok = h.Samples == 3 ? converter.DecompressRleRGB(h.Columns, h.Rows, 0, bytes.Data, bytes.Length, buffer.data(),
                                                      capacity)
                          : converter.DecompressRle(h.Columns, h.Rows, h.BitsAllocated, bytes.Data, bytes.Length,
                                                    buffer.data(), capacity);
    } else {
      ok = converter.DecompressJpegLossy(h.Columns, h.Rows, bytes.Data, bytes.Length, buffer.data(), capacity);
    }
    // Every decoder delivers the samples of a pixel side by side.
    planar = 0;
    if (ok && ybr && h.Kind != 7)
      ok = TgbYBR(h.Rows, h.Columns, 0, h.Photometric.c_str()).ConvertInPlace(buffer.data(), size_t(size));
    if (!ok) error = converter.ErrorText().empty() ? "The frame cannot be decoded." : converter.ErrorText();
  }
  if (!ok) {
    if (error.empty()) error = "The frame cannot be decoded.";
    return nullptr;
  }

  auto image = std::make_shared<DecodedImage>();
  image->Columns = h.Columns;
  image->Rows = h.Rows;
  if (h.Samples == 3) {
    image->Colour = true;
    image->Rgb.resize(size_t(pixels) * 3);
    if (planar == 1) {
      for (uint64_t i = 0; i < pixels; ++i)
        for (int c = 0; c < 3; ++c) image->Rgb[size_t(i * 3 + c)] = buffer[size_t(c * pixels + i)];
    } else {
      std::memcpy(image->Rgb.data(), buffer.data(), size_t(pixels) * 3);
    }
    return image;
  }

  // Stored values: shifted down to bit 0, masked to the bits stored, sign extended.
  const int shift = h.HighBit + 1 - h.BitsStored;
  const uint32_t mask = h.BitsStored >= 32 ? 0xFFFFFFFFu : ((1u << h.BitsStored) - 1);
  const uint32_t signBit = 1u << (h.BitsStored - 1);
  image->Values.resize(size_t(pixels));
  int32_t lo = INT32_MAX, hi = INT32_MIN;
  for (uint64_t i = 0; i < pixels; ++i) {
    uint32_t raw = sampleBytes == 1 ? buffer[size_t(i)] : uint32_t(buffer[size_t(2 * i)] | (buffer[size_t(2 * i + 1)] << 8));
    raw = (raw >> shift) & mask;
    int32_t v = int32_t(raw);
    if (h.Signed && (raw & signBit) != 0) v = int32_t(raw | ~mask);
    image->Values[size_t(i)] = v;
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  const double a = ModalityValue(h, lo), b = ModalityValue(h, hi);
  image->Minimum = std::min(a, b);
  image->Maximum = std::max(a, b);
  if (!h.ModalityLut.Empty()) {
    // A table need not be monotonic: take the extremes of what it gives.
    image->Minimum = image->Maximum = h.ModalityLut.At(image->Values.empty() ? 0 : image->Values[0]);
    for (int32_t v : image->Values) {
      const double m = h.ModalityLut.At(v);
      image->Minimum = std::min(image->Minimum, m);
      image->Maximum = std::max(image->Maximum, m);
    }
  }
  return image;
}

}  // namespace ORN_engine
