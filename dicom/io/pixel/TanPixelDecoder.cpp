#include "dicom/io/pixel/TanPixelDecoder.h"

#include <cstring>
#include <stdexcept>

#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/elements/header/VRCodes.h"
#include "dicom/io/pixel/TanFrameSplitter.h"
#include "imaging/TgbORNJpegChecker.h"
#include "imaging/TgbYBR.h"
#include "imaging/TsgImageConverter.h"

namespace ORN_dicom {

namespace {
constexpr uint32_t kPhotometricTag = 0x00280004u, kSamplesTag = 0x00280002u, kPlanarTag = 0x00280006u,
                   kRatioTag = 0x00282112u;

bool IsGrey(const std::string& p) { return p == "MONOCHROME1" || p == "MONOCHROME2" || p == "PALETTE COLOR"; }
}  // namespace

bool DecompressFrame(TsgImageConverter& converter, const uint8_t* data, uint32_t length, std::vector<uint8_t>& output,
                     int32_t columns, int32_t rows, int32_t bitsAllocated, const std::string& photometric,
                     int32_t planar, int32_t kind) {
  if (columns <= 0 || rows <= 0 || (kind != 5 && kind != 6)) return false;
  const uint64_t pixels = uint64_t(columns) * uint64_t(rows);
  const bool grey = IsGrey(photometric);
  const bool ybr = photometric.find("YBR") != std::string::npos;
  if (!grey && !ybr && photometric != "RGB") return false;
  const uint32_t sample = (bitsAllocated & 0xFF) < 9 ? 1 : 2;
  const uint64_t size = grey ? pixels * sample : pixels * 3;
  if (size > 0xFFFFFFFFull) return false;
  output.assign(size, 0);
  const auto n = static_cast<uint32_t>(size);
  bool ok;
  if (grey) {
    ok = kind == 5 ? converter.DecompressJpegLossless(columns, rows, bitsAllocated, data, length, output.data(), n)
                   : converter.DecompressRle(columns, rows, sample == 1 ? 8 : 16, data, length, output.data(), n);
  } else {
    ok = kind == 5 ? converter.DecompressJpegLosslessRGB(columns, rows, planar, data, length, output.data(), n)
                   : converter.DecompressRleRGB(columns, rows, planar != 0, data, length, output.data(), n);
  }
  if (ok && ybr) {
    // Both decoders deliver the samples of a pixel side by side.
    TgbYBR(rows, columns, 0, photometric.c_str()).ConvertInPlace(output.data(), output.size());
  }
  return ok;
}

iDDE* TanPixelDecoder::Fail(iDDE* made, const std::string& text) {
  delete made;
  FFactory.FLastMessage = text;
  return nullptr;
}

iDDE* TanPixelDecoder::TargetAttribute(uint32_t tag) {
  if (FFactory.FCurrentSet != nullptr) return FFactory.FCurrentSet->Find(tag);
  if (!FFactory.FFindDDE) return nullptr;
  iDDE* found = nullptr;
  return FFactory.FFindDDE(tag, &found, 1);
}

void TanPixelDecoder::RemoveTargetAttribute(uint32_t tag) {
  if (FFactory.FCurrentSet != nullptr) {
    FFactory.FCurrentSet->DeleteByTag(tag);
    return;
  }
  if (FFactory.FRemoveDDE) FFactory.FRemoveDDE(tag);
}

iDDE* TanPixelDecoder::Decode(iDDE* source, const MakeElement& make, bool bigEndianWords) {
  TanEPDValue* value = source != nullptr ? source->ValueAs<TanEPDValue>() : nullptr;
  if (value == nullptr) return Fail(nullptr, "The pixel data is not encapsulated.");
  const bool lossy = FFactory.IsLossyCompressed();
  int32_t samples = FFactory.GetSamplesPerPixel();
  int32_t kind = 0;
  if (FFactory.FGetSourceKind) FFactory.FGetSourceKind(kind);
  int32_t columns = 0, rows = 0, highBit = -1, bitsStored = 0, bitsAllocated = 0, planar = 0, frames = 0;
  std::string photometric = lossy ? "NO" : "";
  try {
    FFactory.GetPixelAttributes(columns, rows, highBit, bitsStored, bitsAllocated, photometric, planar, frames);
  } catch (const std::exception&) {
    return Fail(nullptr, "Number of Frames is not a number.");
  }
  if (columns <= 0 || rows <= 0 || bitsAllocated <= 0)
    return Fail(nullptr, "Columns, Rows or Bits Allocated missing for the pixel data.");

  TanFrameSplitter splitter;
  if (!splitter.Split(*value, frames, kind)) return Fail(nullptr, splitter.ErrorText());
  const uint32_t count = splitter.Count();

  TsgImageConverter converter;
  iDDE* made = nullptr;
  uint32_t frameSize = 0;
  std::vector<uint8_t> output;
  try {
    for (uint32_t i = 0; i < count; ++i) {
      const TanFrameSplitter::Range data = splitter.Frame(i);
      if (data.Data == nullptr || data.Length == 0) return Fail(made, "Frame " + std::to_string(i + 1) + " is empty.");
      bool ok;
      if (lossy) {
        int32_t components = samples;
        if (TgbORNJpegChecker::GetComponentCount(data.Data, data.Length, &components)) samples = components;
        const uint64_t size = uint64_t(columns) * uint64_t(rows) * uint64_t(samples > 0 ? samples : 1) *
                              uint64_t(bitsAllocated) / 8;
        if (size > 0xFFFFFFFFull) return Fail(made, "The decoded frame is too large.");
        output.assign(size, 0);
        ok = converter.DecompressJpegLossy(columns, rows, data.Data, data.Length, output.data(),
                                           static_cast<uint32_t>(size));
      } else {
        ok = DecompressFrame(converter, data.Data, data.Length, output, columns, rows, bitsAllocated, photometric,
                             planar, kind);
      }
      if (!ok) {
        const std::string why = converter.ErrorText().empty() ? "" : ": " + converter.ErrorText();
        return Fail(made, "Cannot decode frame " + std::to_string(i + 1) + why);
      }
      if (i == 0) {
        frameSize = static_cast<uint32_t>(output.size());
        if (uint64_t(frameSize) * count > 0xFFFFFFFEull) return Fail(nullptr, "The decoded pixel data is too large.");
        made = make(bitsStored <= 8 ? vr::OB : vr::OW, frameSize * count);
        if (made == nullptr || !made->IsValid() || made->GetLength() < frameSize * count)
          return Fail(made, "No room for the decoded pixel data.");
      } else if (output.size() != frameSize) {
        return Fail(made, "Frame " + std::to_string(i + 1) + " decodes to another size than the first.");
      }
      unsigned char* window = made->GetData(frameSize * i, frameSize);
      if (window == nullptr) return Fail(made, "No room for the decoded pixel data.");
      if (bigEndianWords && bitsStored > 8) {
        for (uint32_t b = 0; b + 1 < frameSize; b += 2) {
          window[b] = output[b + 1];
          window[b + 1] = output[b];
        }
      } else {
        std::memcpy(window, output.data(), frameSize);
      }
    }
    if (lossy) {
      if (samples > 1) {
        if (iDDE* e = TargetAttribute(kPhotometricTag)) e->SetString("RGB");
        if (iDDE* e = TargetAttribute(kSamplesTag)) e->SetUShort(3);
        if (iDDE* e = TargetAttribute(kPlanarTag)) e->SetUShort(0);
      }
      RemoveTargetAttribute(kRatioTag);
    } else if (samples == 3) {
      if (photometric.find("YBR") != std::string::npos)
        if (iDDE* e = TargetAttribute(kPhotometricTag)) e->SetString("RGB");
      if (planar != 0)
        if (iDDE* e = TargetAttribute(kPlanarTag)) e->SetUShort(0);
    }
  } catch (...) {
    return Fail(made, "Cannot decode the pixel data.");
  }
  return made;
}

}  // namespace ORN_dicom
