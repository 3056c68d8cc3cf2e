#include "dicom/io/pixel/TanLossyDDEFactory.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>

#include "dicom/elements/charset/TanStr2Float.h"
#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/elements/header/VRCodes.h"
#include "dicom/elements/values/TanCVArray.h"
#include "dicom/io/pixel/TanPixelDataCompressor.h"
#include "imaging/TgbCompressConverter.h"
#include "imaging/TgbORNJpegChecker.h"

namespace ORN_dicom {

namespace {

constexpr uint32_t kPlanar = 0x00280006u, kRescaleIntercept = 0x00281052u, kRescaleSlope = 0x00281053u,
                   kModalityLUT = 0x00283000u, kRedDescriptor = 0x00281101u;

// The attributes that describe the pixels before the conversion and go with it.
constexpr uint32_t kDropped[] = {0x00280120u, 0x00280121u, 0x00283000u, 0x00281101u, 0x00281102u,
                                 0x00281103u, 0x00281201u, 0x00281202u, 0x00281203u, 0x00281199u};
// Smallest and largest pixel values: they name stored values, which a remapping changes.
constexpr uint32_t kStoredRange[] = {0x00280106u, 0x00280107u, 0x00280108u, 0x00280109u};

double NumberOf(iDDE* e, double absent) {
  if (e == nullptr) return absent;
  return static_cast<double>(ORN_utility::TanStr2Float(e->GetString()).ToFloat());
}

std::string General(double v, int precision) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, precision);
  return std::string(buf, r.ptr);
}

}  // namespace

std::string TanLossyDDEFactory::InterceptText(double v) {
  if (v == 0.0) v = 0.0;  // no "-0"
  for (int p = 15; p > 1; --p) {
    const std::string s = General(v, p);
    if (s.size() <= 16) return s;
  }
  return General(v, 1);
}

std::string TanLossyDDEFactory::SlopeText(double v) {
  if (v == 0.0) v = 0.0;
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 5);
  std::string s(buf, r.ptr);
  while (s.size() > 2 && s.back() == '0' && s[s.size() - 2] != '.') s.pop_back();
  // Five decimals lose small slopes (PET, for instance): those keep their digits.
  double back = 0;
  std::from_chars(s.data(), s.data() + s.size(), back);
  if (s.size() <= 16 && std::fabs(back - v) <= 1e-12 * std::fabs(v)) return s;
  return InterceptText(v);
}

bool TanLossyDDEFactory::ReadLUTDescriptor(iDDE* e, int32_t pixelRepresentation, LUTDescriptor& out) {
  if (e == nullptr || e->GetCount() < 3) return false;
  const uint16_t code = e->VR();
  uint16_t u[3] = {};
  if (code == vr::US || code == vr::OW) {
    for (uint32_t i = 0; i < 3; ++i) e->GetUShortAt(u[i], i);
  } else if (code == vr::SS) {
    for (uint32_t i = 0; i < 3; ++i) {
      int16_t s = 0;
      e->GetShortAt(s, i);
      u[i] = static_cast<uint16_t>(s);
    }
  } else {
    return false;
  }
  // The count is never negative: 0 stands for 65536 and counts above 32767 are taken whole.
  out.Entries = u[0] == 0 ? 65536 : u[0];
  out.FirstMapped = pixelRepresentation != 0 ? int32_t(int16_t(u[1])) : int32_t(u[1]);
  out.Bits = u[2];
  return true;
}

bool TanLossyDDEFactory::ReadTable(iDDE* e, int32_t entries, std::vector<uint16_t>& table) {
  if (e == nullptr || entries <= 0) return false;
  const uint64_t bytes = uint64_t(entries) * 2;
  if (e->GetLength() < bytes) return false;  // never read past the table
  const uint8_t* p = e->GetData();
  if (p == nullptr) return false;
  table.resize(size_t(entries));
  for (size_t i = 0; i < table.size(); ++i) table[i] = uint16_t(p[2 * i] | p[2 * i + 1] << 8);
  return true;
}

iDDE* TanLossyDDEFactory::TargetFind(uint32_t tag) {
  if (FCurrentSet != nullptr) return FCurrentSet->Find(tag);
  if (!FFindDDE) return nullptr;
  iDDE* found = nullptr;
  return FFindDDE(tag, &found, 1);
}

void TanLossyDDEFactory::TargetReplace(iDDE* e) {
  if (FCurrentSet != nullptr) {
    FCurrentSet->DeleteByTag(e->Tag());
    if (!FCurrentSet->Insert(e)) delete e;
  } else if (FReplaceDDE) {
    FReplaceDDE(e);
  } else {
    delete e;
  }
}

void TanLossyDDEFactory::TargetRemove(uint32_t tag) {
  if (FCurrentSet != nullptr) FCurrentSet->DeleteByTag(tag);
  else if (FRemoveDDE) FRemoveDDE(tag);
}

iDDE* TanLossyDDEFactory::Fail(const std::string& text) {
  FLastMessage = text;
  return nullptr;
}

iDDE* TanLossyDDEFactory::DecodePixelData(iDDE* source) {
  iDDE* result = TanLosslessDDEFactory::DecodePixelData(source);
  if (result == nullptr || GetSamplesPerPixel() != 1) return result;
  // The image says one sample, but its JPEG frames may hold colour.
  TanEPDValue* value = result->ValueAs<TanEPDValue>();
  if (value == nullptr || value->FFrames.Count() == 0) return result;
  const uint32_t first = value->FFrames.FirstFragmentIndex();
  if (first >= value->FFrames.EndFragmentIndex()) return result;
  iDDE* fragment = value->At(first);
  int32_t components = 1;
  if (fragment->GetData() == nullptr ||
      !TgbORNJpegChecker::GetComponentCount(fragment->GetData(), fragment->GetLength(), &components) ||
      components <= 1)
    return result;
  if (!SetTargetAttribute(0x0028, 0x0004, "RGB", 0) || !SetTargetAttribute(0x0028, 0x0002, nullptr, 3) ||
      !SetTargetAttribute(0x0028, 0x0006, nullptr, 0)) {
    delete result;
    return Fail("Cannot set the colour attributes of the JPEG frames.");
  }
  return result;
}

struct TanLossyDDEFactory::Image {
  iDDE* Source = nullptr;
  int32_t Columns = 0, Rows = 0, BitsAllocated = 0, BitsStored = 0, HighBit = 0, Representation = 0;
  int32_t Samples = 1, Planar = 0, Frames = 0;
  uint32_t FrameLength = 0;
  std::string Photometric;
  bool BigWords = false;
  // Real value = Slope * stored value + Intercept, for the compressed frames.
  double Slope = 1.0, Intercept = 0.0;
  // The stored values differ from the source's (a LUT, a shift or a mapping applied).
  bool ValuesChanged = false;
  TanPixelDataCompressor Compressor;

  uint64_t Pixels() const { return uint64_t(Columns) * uint64_t(Rows); }

  // The native bytes of frame i, 16-bit big-endian words turned into host order.
  const uint8_t* FrameBytes(int32_t i, std::vector<uint8_t>& turned) const {
    const uint16_t code = Source->VR();
    if (code != vr::OB && code != vr::OW) return nullptr;
    const uint8_t* data = Source->GetData(FrameLength * static_cast<uint32_t>(i), FrameLength);
    if (data == nullptr || !BigWords) return data;
    turned.assign(data, data + FrameLength);
    for (uint32_t b = 0; b + 1 < FrameLength; b += 2) std::swap(turned[b], turned[b + 1]);
    return turned.data();
  }
};

bool TanLossyDDEFactory::CompressGrey(Image& image, std::vector<std::vector<uint8_t>>& frames) {
  const uint32_t sampleBytes = image.BitsAllocated / 8;
  const uint64_t expected = image.Pixels() * sampleBytes;
  if (!TanPixelDataCompressor::FrameSizeFits(expected, image.FrameLength)) {
    FLastMessage = "The frames do not have the size of the image.";
    return false;
  }
  // Padding is replaced by the nearest real value, so that it does not widen the range.
  int32_t padding = 0, limit = 0;
  const bool grey = image.Photometric == "MONOCHROME1" || image.Photometric == "MONOCHROME2";
  const bool padded = grey && GetPixelPaddingRange(padding, limit);
  TgbCompressConverter converter(padded, image.Photometric == "MONOCHROME2", limit);

  // A modality LUT is applied to the pixels; a rescale is kept in the attributes.
  std::vector<uint16_t> lut;
  LUTDescriptor descriptor;
  if (iDDE* sequence = TargetFind(kModalityLUT)) {
    TanDDESet<iDDE>* items = sequence->GetSequence();
    iDDE* item = items != nullptr && items->Count() > 0 ? items->At(0) : nullptr;
    TanDDESet<iDDE>* lutSet = item != nullptr ? item->GetItem() : nullptr;
    if (lutSet == nullptr || !ReadLUTDescriptor(lutSet->Find(0x00283002u), image.Representation, descriptor) ||
        !ReadTable(lutSet->Find(0x00283006u), descriptor.Entries, lut)) {
      FLastMessage = "The Modality LUT Sequence has no usable LUT Descriptor and LUT Data.";
      return false;
    }
  } else {
    try {
      image.Slope = NumberOf(TargetFind(kRescaleSlope), 1.0);
      image.Intercept = NumberOf(TargetFind(kRescaleIntercept), 0.0);
    } catch (const std::exception&) {
      FLastMessage = "Rescale Slope or Intercept is not a number.";
      return false;
    }
  }

  // Every frame prepared into one buffer: the mapping into 12 bits must be the same for all.
  const size_t e = image.FrameLength;
  std::vector<uint8_t> all(e * size_t(image.Frames));
  int32_t bitsStored = image.BitsStored, highBit = image.HighBit, representation = image.Representation;
  std::vector<uint8_t> turned;
  for (int32_t i = 0; i < image.Frames; ++i) {
    const uint8_t* data = image.FrameBytes(i, turned);
    if (data == nullptr) {
      FLastMessage = "The pixel data is neither OB nor OW.";
      return false;
    }
    uint8_t* frame = all.data() + e * size_t(i);
    bitsStored = image.BitsStored;
    highBit = image.HighBit;
    representation = image.Representation;
    const bool ok = lut.empty()
                        ? converter.ApplyRescale(1.0, 0.0, image.BitsAllocated, &bitsStored, &highBit,
                                                 &representation, data, e, frame)
                        : converter.ApplyModalityLUT(descriptor.FirstMapped, descriptor.Entries, lut.data(),
                                                     image.BitsAllocated, &bitsStored, &highBit, representation,
                                                     data, e, frame);
    if (!ok) {
      FLastMessage = "Cannot prepare frame " + std::to_string(i + 1) + ".";
      return false;
    }
  }
  image.ValuesChanged = !lut.empty() || padded || highBit != image.HighBit;
  if (!lut.empty()) {
    representation = 0;
    image.Slope = 1.0;
    image.Intercept = 0.0;
  }

  const size_t count = image.BitsAllocated == 8 ? all.size() : all.size() / 2;
  if (image.BitsAllocated == 8) {
    // Baseline JPEG holds unsigned samples: signed ones are moved up by 128.
    if (representation != 0) {
      for (uint8_t& v : all) v ^= 0x80;
      image.Intercept -= 128.0 * image.Slope;
      image.ValuesChanged = true;
    }
  } else {
    auto sample = [&](size_t i) -> int64_t {
      const uint16_t raw = uint16_t(all[2 * i] | all[2 * i + 1] << 8);
      return representation != 0 ? int64_t(int16_t(raw)) : int64_t(raw);
    };
    int64_t low = 0, high = 0;
    for (size_t i = 0; i < count; ++i) {
      const int64_t v = sample(i);
      if (i == 0 || v < low) low = v;
      if (i == 0 || v > high) high = v;
    }
    if (count > 0 && (low < 0 || high > 4095)) {
      // One offset and step for every frame: stored = (value - low) / step, rounded.
      const int64_t step = (high - low) / 4096 + 1;
      for (size_t i = 0; i < count; ++i) {
        const int64_t v = std::min<int64_t>((sample(i) - low + step / 2) / step, 4095);
        all[2 * i] = uint8_t(v);
        all[2 * i + 1] = uint8_t(v >> 8);
      }
      image.Intercept += image.Slope * double(low);
      image.Slope *= double(step);
      image.ValuesChanged = true;
    }
  }
  image.Representation = 0;

  for (int32_t i = 0; i < image.Frames; ++i) {
    std::vector<uint8_t> out;
    // The samples lie in the JPEG's range already: the compressor must not move them again.
    double slope = 1.0, intercept = 0.0;
    const uint32_t n = image.Compressor.CompressJpegLossy(image.Columns, image.Rows, all.data() + e * size_t(i),
                                                          static_cast<uint32_t>(e), out, 1, image.BitsAllocated, 0,
                                                          image.Planar, slope, intercept, image.Photometric);
    if (n == 0 || n != out.size() || slope != 1.0 || intercept != 0.0) {
      FLastMessage = "Cannot compress frame " + std::to_string(i + 1) + ".";
      return false;
    }
    frames.push_back(std::move(out));
  }
  return true;
}

bool TanLossyDDEFactory::CompressColour(Image& image, std::vector<std::vector<uint8_t>>& frames) {
  const bool palette = image.Photometric == "PALETTE COLOR";
  std::vector<uint16_t> red, green, blue;
  if (palette) {
    LUTDescriptor d;
    if (!ReadLUTDescriptor(TargetFind(kRedDescriptor), image.Representation, d) ||
        !ReadTable(TargetFind(0x00281201u), d.Entries, red) || !ReadTable(TargetFind(0x00281202u), d.Entries, green) ||
        !ReadTable(TargetFind(0x00281203u), d.Entries, blue)) {
      FLastMessage = "The palette colour tables are missing or too short.";
      return false;
    }
    // Entries of 16 bits keep their high byte in the 8-bit result.
    if (d.Bits > 8)
      for (auto* t : {&red, &green, &blue})
        for (uint16_t& v : *t) v = uint16_t(v >> 8);
    const uint64_t expected = image.Pixels() * (image.BitsAllocated <= 8 ? 1 : 2);
    if (!TanPixelDataCompressor::FrameSizeFits(expected, image.FrameLength)) {
      FLastMessage = "The frames do not have the size of the image.";
      return false;
    }
    std::vector<uint8_t> turned, indices(image.FrameLength), rgb(size_t(image.Pixels()) * 3);
    for (int32_t i = 0; i < image.Frames; ++i) {
      const uint8_t* data = image.FrameBytes(i, turned);
      int32_t bitsStored = image.BitsStored, highBit = image.HighBit, representation = 0;
      TgbCompressConverter converter(false, true, 0);
      if (data == nullptr ||
          !converter.ApplyRescale(1.0, 0.0, image.BitsAllocated, &bitsStored, &highBit, &representation, data,
                                  image.FrameLength, indices.data()) ||
          !converter.ApplyPaletteColor(d.FirstMapped, d.Entries, red.data(), green.data(), blue.data(),
                                       image.BitsAllocated, indices.data(), indices.size(), rgb.data(), rgb.size())) {
        FLastMessage = "Cannot prepare frame " + std::to_string(i + 1) + ".";
        return false;
      }
      std::vector<uint8_t> out;
      double slope = 1.0, intercept = 0.0;
      if (image.Compressor.CompressJpegLossy(image.Columns, image.Rows, rgb.data(), uint32_t(rgb.size()), out, 3, 8,
                                             0, 1, slope, intercept, "RGB") == 0) {
        FLastMessage = "Cannot compress frame " + std::to_string(i + 1) + ".";
        return false;
      }
      frames.push_back(std::move(out));
    }
    return true;
  }
  std::vector<uint8_t> turned;
  for (int32_t i = 0; i < image.Frames; ++i) {
    const uint8_t* data = image.FrameBytes(i, turned);
    std::vector<uint8_t> out;
    double slope = 1.0, intercept = 0.0;
    if (data == nullptr ||
        image.Compressor.CompressJpegLossy(image.Columns, image.Rows, data, image.FrameLength, out, image.Samples,
                                           image.BitsAllocated, 0, image.Planar, slope, intercept,
                                           image.Photometric) == 0) {
      FLastMessage = "Cannot compress frame " + std::to_string(i + 1) + ".";
      return false;
    }
    frames.push_back(std::move(out));
  }
  return true;
}

iDDE* TanLossyDDEFactory::CopyNativePixelData(iDDE* source) {
  if (source == nullptr) return nullptr;
  FLastMessage.clear();
  Image image;
  image.Source = source;
  image.Samples = GetSamplesPerPixel();
  image.Representation = GetPixelRepresentation();
  int32_t planar = -1;  // read below: nothing in the target changes before the conversion succeeded
  try {
    GetPixelAttributes(image.Columns, image.Rows, image.HighBit, image.BitsStored, image.BitsAllocated,
                       image.Photometric, planar, image.Frames);
  } catch (const std::exception&) {
    return Fail("Number of Frames is not a number.");
  }
  if (iDDE* p = TargetFind(kPlanar)) image.Planar = p->GetUShort();
  if (image.Frames <= 0) return Fail("Number of Frames is not a positive number.");
  if (image.Columns <= 0 || image.Rows <= 0 || image.BitsAllocated <= 0)
    return Fail("Columns, Rows or Bits Allocated missing for the pixel data.");
  if (image.Samples == 0) image.Samples = 1;
  const bool palette = image.Photometric == "PALETTE COLOR";
  const bool colour = image.Samples == 3 || palette;
  if (!colour && image.Samples != 1) return Fail("Samples per Pixel must be 1 or 3.");
  if (colour ? (!palette && image.BitsAllocated != 8) || (palette && image.BitsAllocated != 8 && image.BitsAllocated != 16)
             : image.BitsAllocated != 8 && image.BitsAllocated != 16)
    return Fail("Lossy JPEG takes 8 or 16 bits allocated for grey pixels and 8 for colour.");
  image.FrameLength = source->GetLength() / static_cast<uint32_t>(image.Frames);
  image.BigWords = source->VR() == vr::OW && source->ValueAs<TanCVArray<uint16_t, TanBEV>>() != nullptr;
  if (FGetQuality) FGetQuality(image.Compressor.FQuality);

  std::vector<std::vector<uint8_t>> compressed;
  try {
    if (!(colour ? CompressColour(image, compressed) : CompressGrey(image, compressed))) return nullptr;
  } catch (...) {
    return Fail("Cannot compress the pixel data.");
  }
  std::vector<std::pair<uint32_t, const uint8_t*>> fragments;
  for (const auto& c : compressed) fragments.emplace_back(static_cast<uint32_t>(c.size()), c.data());
  std::unique_ptr<iDDE> made(MakeEncapsulated(fragments));
  if (made == nullptr) return Fail("Cannot make the encapsulated pixel data.");

  // Every new attribute is made before the first change, so that a failure changes nothing.
  std::vector<std::unique_ptr<iDDE>> replaced;
  auto add = [&replaced](iDDE* e) {
    replaced.emplace_back(e);
    return e != nullptr;
  };
  bool ok;
  if (!colour) {
    const int32_t b = image.BitsAllocated <= 8 ? 8 : 12;
    ok = add(MakeDDE(0x0028, 0x0101, 1, b)) && add(MakeDDE(0x0028, 0x0102, 1, b - 1)) &&
         add(MakeDDE(0x0028, 0x0103, 1, 0));
    // An image without a rescale gets none while its stored values are its real values: the
    // rescale attributes belong to a few IODs only.
    const bool identity = image.Slope == 1.0 && image.Intercept == 0.0;
    if (!identity || TargetFind(kRescaleSlope) != nullptr || TargetFind(kRescaleIntercept) != nullptr)
      ok = ok && add(MakeDDE(0x0028, 0x1052, 1, identity ? "0" : InterceptText(image.Intercept).c_str())) &&
           add(MakeDDE(0x0028, 0x1053, 1, identity ? "1" : SlopeText(image.Slope).c_str()));
  } else {
    // The baseline coder stores colour as YCbCr, 4:2:2, which this name tells the readers.
    ok = add(MakeDDE(0x0028, 0x0002, 1, 3)) && add(MakeDDE(0x0028, 0x0004, 1, "YBR_FULL_422")) &&
         add(MakeDDE(0x0028, 0x0006, 1, 0)) && add(MakeDDE(0x0028, 0x0100, 1, 8)) &&
         add(MakeDDE(0x0028, 0x0101, 1, 8)) && add(MakeDDE(0x0028, 0x0102, 1, 7)) &&
         add(MakeDDE(0x0028, 0x0103, 1, 0));
  }
  ok = ok && add(MakeDDE(0x0028, 0x2110, 1, "01"));
  if (!ok) return Fail("Cannot make the image attributes of the lossy pixel data.");

  for (uint32_t tag : kDropped) TargetRemove(tag);
  if (colour) {
    TargetRemove(kRescaleIntercept);
    TargetRemove(kRescaleSlope);
  }
  if (image.ValuesChanged || colour)
    for (uint32_t tag : kStoredRange) TargetRemove(tag);
  for (auto& e : replaced) TargetReplace(e.release());
  return made.release();
}

}  // namespace ORN_dicom
