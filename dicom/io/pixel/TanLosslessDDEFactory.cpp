#include "dicom/io/pixel/TanLosslessDDEFactory.h"

#include <cstdarg>
#include <cstring>
#include <memory>

#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/elements/element/ElementClasses.h"
#include "dicom/io/pixel/TanFrameSplitter.h"
#include "dicom/io/pixel/TanPixelDataCompressor.h"
#include "dicom/io/pixel/TanPixelDecoder.h"
#include "imaging/TgbYBR.h"

namespace ORN_dicom {

namespace {
bool IsColour(const std::string& p) { return p == "RGB" || p.find("YBR") != std::string::npos; }
}  // namespace

iDDE* TanLosslessDDEFactory::MakeEncapsulated(const std::vector<std::pair<uint32_t, const uint8_t*>>& fragments) {
  auto* e = new dde::LongPixelData(0x7FE0, 0x0010, vr::OB, kUndefinedLength);
  TanEPDValue& value = *e->ValueAs<TanEPDValue>();
  iDDE* table = new dde::ImplicitLongs(0xFFFE, 0xE000, vr::no);
  iDDE* end = new dde::ImplicitDelimiter(0xFFFE, 0xE0DD, vr::no);
  bool ok = value.Append(table);
  if (!ok) delete table;
  ok = ok && value.Append(end);
  if (!ok) delete end;
  for (const auto& [length, bytes] : fragments) {
    if (!ok) break;
    TanFrame frame(value.FFrames);
    ok = frame.AddFragment(length, bytes, true);
  }
  if (!ok) {
    delete e;
    return nullptr;
  }
  return e;
}

iDDE* TanLosslessDDEFactory::MakePixelData(uint16_t, uint32_t count, ...) {
  std::vector<std::pair<uint32_t, const uint8_t*>> fragments;
  va_list args;
  va_start(args, count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t length = va_arg(args, uint32_t);
    fragments.emplace_back(length, static_cast<const uint8_t*>(va_arg(args, const void*)));
  }
  va_end(args);
  return MakeEncapsulated(fragments);
}

iDDE* TanLosslessDDEFactory::DecodePixelData(iDDE* source) {
  TanEPDValue* value = source != nullptr ? source->ValueAs<TanEPDValue>() : nullptr;
  if (value == nullptr) return nullptr;
  // The frames as the image counts them; the source stays as it is.
  int32_t none = -1, frames = 0;
  std::string photometric = "NO";
  try {
    GetPixelAttributes(none, none, none, none, none, photometric, none, frames);
  } catch (const std::exception&) {
    FLastMessage = "Number of Frames is not a number.";
    return nullptr;
  }
  int32_t kind = 0;
  if (FGetSourceKind) FGetSourceKind(kind);
  if (kind != 0 && kind != OwnKind() && !(OwnKind() == 4 && (kind == 5 || kind == 6))) {
    // Fragments of another codec are not copied under this one's name: decoded, then compressed.
    TanPixelDecoder decoder(*this);
    std::unique_ptr<iDDE> native(decoder.Decode(
        source,
        [](uint16_t code, uint32_t size) -> iDDE* {
          if (code == vr::OB) return new dde::LongBytes(0x7FE0, 0x0010, vr::OB, nullptr, size);
          return new dde::LongWords(0x7FE0, 0x0010, vr::OW, nullptr, size);
        },
        false));
    return native != nullptr ? CopyNativePixelData(native.get()) : nullptr;
  }
  TanFrameSplitter splitter;
  if (!splitter.Split(*value, frames, kind)) {
    FLastMessage = splitter.ErrorText();
    return nullptr;
  }
  std::vector<std::vector<uint8_t>> joined(splitter.Count());
  std::vector<std::pair<uint32_t, const uint8_t*>> fragments;
  for (uint32_t i = 0; i < splitter.Count(); ++i) {
    const TanFrameSplitter::Range r = splitter.Frame(i);
    joined[i].assign(r.Data, r.Data + r.Length);
    fragments.emplace_back(r.Length, joined[i].data());
  }
  return MakeEncapsulated(fragments);
}

bool TanLosslessDDEFactory::SetTargetAttribute(uint16_t group, uint16_t element, const char* text, int32_t number) {
  const uint32_t tag = uint32_t(group) << 16 | element;
  iDDE* found = nullptr;
  if (FCurrentSet != nullptr) found = FCurrentSet->Find(tag);
  else if (FFindDDE) found = FFindDDE(tag, &found, 1);
  if (found != nullptr) {
    if (text != nullptr) found->SetString(text);
    else found->SetUShort(static_cast<uint16_t>(number));
    return true;
  }
  iDDE* made = text != nullptr ? MakeDDE(group, element, 1, text) : MakeDDE(group, element, 1, number);
  if (made == nullptr) return false;
  if (FCurrentSet != nullptr) {
    if (!FCurrentSet->Insert(made)) {
      delete made;
      return false;
    }
    return true;
  }
  if (!FReplaceDDE) {
    delete made;
    return false;
  }
  FReplaceDDE(made);
  return true;
}

iDDE* TanLosslessDDEFactory::CopyNativePixelData(iDDE* source) {
  if (source == nullptr) return nullptr;
  int32_t columns = 0, rows = 0, highBit = -1, bitsStored = 0, bitsAllocated = 0, planar = 1, frames = 0;
  std::string photometric;
  try {
    GetPixelAttributes(columns, rows, highBit, bitsStored, bitsAllocated, photometric, planar, frames);
  } catch (const std::exception&) {
    FLastMessage = "Number of Frames is not a number.";
    return nullptr;
  }
  if (frames <= 0) {
    FLastMessage = "Number of Frames is not a positive number.";
    return nullptr;
  }
  if (columns <= 0 || rows <= 0 || bitsAllocated <= 0) {
    FLastMessage = "Columns, Rows or Bits Allocated missing for the pixel data.";
    return nullptr;
  }
  const uint16_t code = source->VR();
  const uint32_t frameLength = source->GetLength() / static_cast<uint32_t>(frames);
  const bool bigWords = code == vr::OW && source->ValueAs<TanCVArray<uint16_t, TanBEV>>() != nullptr;
  // The read stored Planar Configuration 1 in the target; a failure puts the old value back.
  auto fail = [&](const std::string& text) -> iDDE* {
    FLastMessage = text;
    iDDE* found = nullptr;
    if (FCurrentSet != nullptr) found = FCurrentSet->Find(0x00280006u);
    else if (FFindDDE) found = FFindDDE(0x00280006u, &found, 1);
    if (found != nullptr) found->SetUShort(static_cast<uint16_t>(planar));
    return nullptr;
  };
  std::vector<std::vector<uint8_t>> compressed;
  try {
    std::vector<uint8_t> turned;
    for (int32_t i = 0; i < frames; ++i) {
      const uint32_t offset = frameLength * static_cast<uint32_t>(i);
      const uint8_t* data = nullptr;
      if (code == vr::OB || code == vr::OW) data = source->GetData(offset, frameLength);
      if (data != nullptr && bigWords) {
        // The frame's 16-bit values in host (little-endian) order.
        turned.assign(data, data + frameLength);
        for (uint32_t b = 0; b + 1 < frameLength; b += 2) std::swap(turned[b], turned[b + 1]);
        data = turned.data();
      }
      std::vector<uint8_t> out;
      if (data == nullptr ||
          !CompressFrame(data, frameLength, out, columns, rows, bitsAllocated, photometric, planar)) {
        return fail("Cannot compress frame " + std::to_string(i + 1) + ".");
      }
      compressed.push_back(std::move(out));
    }
  } catch (...) {
    return fail("Cannot compress the pixel data.");
  }
  std::vector<std::pair<uint32_t, const uint8_t*>> fragments;
  for (const auto& c : compressed) fragments.emplace_back(static_cast<uint32_t>(c.size()), c.data());
  iDDE* made = MakeEncapsulated(fragments);
  if (made == nullptr) return fail("Cannot make the encapsulated pixel data.");
  if (IsColour(photometric)) {
    if (photometric != "RGB" && !SetTargetAttribute(0x0028, 0x0004, "RGB", 0)) {
      delete made;
      return fail("Cannot set Photometric Interpretation.");
    }
    if (PlanarAfterColour() >= 0) SetTargetAttribute(0x0028, 0x0006, nullptr, PlanarAfterColour());
  }
  return made;
}

TanLosslessDDEFactory::Codec TanLosslessDDEFactory::CodecFor(const std::string& p) const {
  if (p == "MONOCHROME1" || p == "MONOCHROME2") return Codec::GreyJpeg;
  if (IsColour(p)) return Codec::RgbRle;
  if (p == "PALETTE COLOR") return Codec::GreyRle;
  return Codec::None;
}

TanLosslessDDEFactory::Codec TanLosslessJpegDDEFactory::CodecFor(const std::string& p) const {
  if (p == "MONOCHROME1" || p == "MONOCHROME2" || p == "PALETTE COLOR") return Codec::GreyJpeg;
  if (IsColour(p)) return Codec::RgbJpeg;
  return Codec::None;
}

TanLosslessDDEFactory::Codec TanLosslessRleDDEFactory::CodecFor(const std::string& p) const {
  if (p == "MONOCHROME1" || p == "MONOCHROME2" || p == "PALETTE COLOR") return Codec::GreyRle;
  if (IsColour(p)) return Codec::RgbRle;
  return Codec::None;
}

bool TanLosslessDDEFactory::CompressFrame(const uint8_t* data, uint32_t length, std::vector<uint8_t>& out,
                                          int32_t columns, int32_t rows, int32_t bitsAllocated,
                                          const std::string& photometric, int32_t planar) {
  const Codec codec = CodecFor(photometric);
  if (codec == Codec::None || columns <= 0 || rows <= 0 || data == nullptr) return false;
  std::vector<uint8_t> rgb;
  if (photometric.find("YBR") != std::string::npos) {
    rgb.assign(size_t(rows) * size_t(columns) * 3, 0);
    TgbYBR ybr(rows, columns, planar, photometric.c_str());
    if (!ybr.Convert(data, length, rgb.data())) return false;
    data = rgb.data();
    length = static_cast<uint32_t>(rgb.size());
    planar = 0;
  }
  TanPixelDataCompressor compressor;
  switch (codec) {
    case Codec::GreyJpeg: return compressor.CompressJpegLossless(columns, rows, bitsAllocated, data, length, out);
    case Codec::RgbJpeg: return compressor.CompressJpegLosslessRGB(columns, rows, data, length, out, planar);
    case Codec::GreyRle: return compressor.CompressRle(columns, rows, bitsAllocated, data, length, out);
    case Codec::RgbRle: return compressor.CompressRleRGB(columns, rows, planar, data, length, out);
    case Codec::None: break;
  }
  return false;
}

}  // namespace ORN_dicom
