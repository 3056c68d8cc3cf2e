// Motivar.dll: the image-operation component. Four classes, one per pixel layout; each object
// maps a frame to 8-bit samples (window) and resamples an 8-bit image to a smaller or larger
// size (zoom). The window of 16-bit grey data is taken from the frame's own values (the range
// between the 0.1 and 99.9 percentiles); 8-bit samples pass as they are. The zoom averages the
// source pixels under each result pixel (nearest source pixel when enlarging).
#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "components/motivar/MotivarInterface.h"
#include "platform/com/ClassFactory.h"
#include "platform/com/ComObject.h"

using namespace platform::com;
using namespace orn_motivar;

namespace motivar {
namespace {

enum class Layout { Grey8, Grey16, RGBInterleaved, RGBPlanar };

// Frames larger than this are refused (1 GiB of samples).
constexpr uint64_t kMaxSamples = uint64_t(1) << 30;

// Whether the (already rescaled) 16-bit samples can be negative.
bool RescaledValuesSigned(int32_t pixelRepresentation, int32_t highBit, double slope, double intercept) {
  if (pixelRepresentation != 0) {
    double k = std::ldexp(1.0, 15);
    if (slope < 0) k = -k;
    return k * slope > intercept;
  }
  const double g = slope >= 0 ? 0.0 : std::trunc(slope * (std::ldexp(1.0, highBit + 1) - 1));
  return g + intercept < 0;
}

// One output coordinate's source span [first, end) for a resize from `from` to `to`.
inline void Span(uint32_t out, uint32_t from, uint32_t to, uint32_t& first, uint32_t& end) {
  first = uint32_t(uint64_t(out) * from / to);
  end = uint32_t(uint64_t(out + 1) * from / to);
  if (end <= first) end = first + 1;
  if (end > from) end = from;
}

// Box-averages one plane of `samples` interleaved 8-bit samples per pixel.
void ResizePlane(const uint8_t* source, uint32_t columns, uint32_t rows, uint32_t samples, uint8_t* destination,
                 uint32_t width, uint32_t height) {
  std::vector<uint32_t> sums(size_t(columns) * samples);
  for (uint32_t y = 0; y < height; ++y) {
    uint32_t y0, y1;
    Span(y, rows, height, y0, y1);
    std::fill(sums.begin(), sums.end(), 0u);
    for (uint32_t sy = y0; sy < y1; ++sy) {
      const uint8_t* row = source + size_t(sy) * columns * samples;
      for (size_t i = 0; i < sums.size(); ++i) sums[i] += row[i];
    }
    uint8_t* out = destination + size_t(y) * width * samples;
    for (uint32_t x = 0; x < width; ++x) {
      uint32_t x0, x1;
      Span(x, columns, width, x0, x1);
      const uint32_t area = (x1 - x0) * (y1 - y0);
      for (uint32_t s = 0; s < samples; ++s) {
        uint32_t total = 0;
        for (uint32_t sx = x0; sx < x1; ++sx) total += sums[size_t(sx) * samples + s];
        out[size_t(x) * samples + s] = uint8_t((total + area / 2) / area);
      }
    }
  }
}

class Operation final : public platform::com::DualComObject<IWindowOperation, IZoomOperation> {
 public:
  explicit Operation(Layout layout) : DualComObject(IID_IWindowOperation, IID_IZoomOperation), FLayout(layout) {}


  // Window.
  uint8_t SetupWindow(int32_t samplesPerPixel, int32_t rows, int32_t columns, int32_t pixelRepresentation,
                      int32_t highBit, float rescaleSlope, float rescaleIntercept) override {
    FReady = false;
    FErrorText.clear();
    if (samplesPerPixel != Samples()) return Fail("Samples per pixel do not fit the operation");
    if (rows <= 0 || columns <= 0 || uint64_t(rows) * uint64_t(columns) * uint64_t(Samples()) > kMaxSamples)
      return Fail("Invalid image size");
    FRows = uint32_t(rows);
    FColumns = uint32_t(columns);
    FSigned = FLayout == Layout::Grey16 &&
              RescaledValuesSigned(pixelRepresentation, highBit, rescaleSlope, rescaleIntercept);
    FCenter = 128.0;
    FWidth = 256.0;
    FReady = true;
    return 1;
  }

  HRESULT Reserved() override { return hr::NotImpl; }

  uint8_t ApplyWindow(const uint8_t* source, uint32_t outputSize, uint8_t* destination) override {
    FErrorText.clear();
    if (!FReady) return Fail("The window is not set up");
    if (source == nullptr || destination == nullptr) return Fail("Invalid buffer");
    if (outputSize != GetOutputSize()) return Fail("Invalid output size");
    if (FLayout != Layout::Grey16) {
      std::memcpy(destination, source, outputSize);
      FCenter = 128.0;
      FWidth = 256.0;
      return 1;
    }
    try {
      WindowGrey16(source, destination);
    } catch (const std::bad_alloc&) {
      return Fail("Out of memory");
    }
    return 1;
  }

  uint32_t GetOutputSize() override { return FReady ? FRows * FColumns * uint32_t(Samples()) : 0; }
  double GetWindowCenter() override { return FCenter; }
  double GetWindowWidth() override { return FWidth; }

  // Zoom.
  uint8_t SetRegion(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t rows,
                    int32_t columns) override {
    FZoomReady = false;
    if (right <= left || bottom <= top) return ZoomFail("Empty region");
    if (rows <= 0 || columns <= 0 || uint64_t(rows) * uint64_t(columns) * uint64_t(Samples()) > kMaxSamples)
      return ZoomFail("Invalid image size");
    FRegionWidth = uint32_t(int64_t(right) - left);
    FRegionHeight = uint32_t(int64_t(bottom) - top);
    FSourceRows = uint32_t(rows);
    FSourceColumns = uint32_t(columns);
    FZoomReady = true;
    return 1;
  }

  uint8_t ZoomImage(const uint8_t* source, uint8_t* destination, double scale) override {
    uint32_t width = 0, height = 0;
    if (!ZoomSize(scale, width, height)) return 0;
    if (source == nullptr || destination == nullptr) return ZoomFail("Invalid buffer");
    try {
      if (FLayout == Layout::RGBPlanar) {
        const size_t in = size_t(FSourceColumns) * FSourceRows;
        const size_t out = size_t(width) * height;
        for (int p = 0; p < 3; ++p)
          ResizePlane(source + p * in, FSourceColumns, FSourceRows, 1, destination + p * out, width, height);
      } else {
        ResizePlane(source, FSourceColumns, FSourceRows, uint32_t(Samples()), destination, width, height);
      }
    } catch (const std::bad_alloc&) {
      return ZoomFail("Out of memory");
    }
    return 1;
  }

  uint8_t SetScale(double scale, TZoomRegion* region) override {
    if (region == nullptr) return ZoomFail("Invalid region");
    uint32_t width = 0, height = 0;
    if (!ZoomSize(scale, width, height)) return 0;
    region->Left = -int32_t(width / 2);
    region->Top = -int32_t(height / 2);
    region->Right = region->Left + int32_t(width);
    region->Bottom = region->Top + int32_t(height);
    return 1;
  }

  uint32_t GetOutputSize(double scale) override {
    uint32_t width = 0, height = 0;
    if (!ZoomSize(scale, width, height)) return 0;
    return width * height * uint32_t(Samples());
  }

  const char* GetErrorText() override { return FErrorText.c_str(); }

 private:
  ~Operation() = default;

  int32_t Samples() const { return FLayout == Layout::Grey8 || FLayout == Layout::Grey16 ? 1 : 3; }

  uint8_t Fail(const char* text) {
    FErrorText = text;
    return 0;
  }
  // Both interfaces' GetErrorText share one slot function, so both report the last failure.
  uint8_t ZoomFail(const char* text) {
    FErrorText = text;
    return 0;
  }

  bool ZoomSize(double scale, uint32_t& width, uint32_t& height) {
    if (!FZoomReady) return ZoomFail("The region is not set") != 0;
    if (!(scale > 0) || !std::isfinite(scale)) return ZoomFail("Invalid scale") != 0;
    const double w = std::round(FSourceColumns * scale);
    const double h = std::round(FSourceRows * scale);
    width = uint32_t(w < 1 ? 1 : w > FRegionWidth ? FRegionWidth : w);
    height = uint32_t(h < 1 ? 1 : h > FRegionHeight ? FRegionHeight : h);
    return true;
  }

  void WindowGrey16(const uint8_t* source, uint8_t* destination) {
    const size_t count = size_t(FRows) * FColumns;
    std::vector<uint32_t> histogram(65536, 0);
    auto valueOf = [&](size_t i) {
      uint16_t raw;
      std::memcpy(&raw, source + 2 * i, 2);
      return FSigned ? int32_t(int16_t(raw)) : int32_t(raw);
    };
    const int32_t offset = FSigned ? 32768 : 0;
    for (size_t i = 0; i < count; ++i) ++histogram[size_t(valueOf(i) + offset)];
    // The range between the 0.1 and 99.9 percentiles, so a few outliers do not flatten it.
    const uint64_t clip = count / 1000;
    uint64_t seen = 0;
    int32_t lo = 0, hi = 65535;
    for (int32_t b = 0; b < 65536; ++b) {
      seen += histogram[size_t(b)];
      if (seen > clip) {
        lo = b;
        break;
      }
    }
    seen = 0;
    for (int32_t b = 65535; b >= 0; --b) {
      seen += histogram[size_t(b)];
      if (seen > clip) {
        hi = b;
        break;
      }
    }
    if (hi < lo) hi = lo;
    lo -= offset;
    hi -= offset;
    const double width = double(hi - lo) + 1.0;
    FWidth = width;
    FCenter = double(lo) + width / 2.0;
    // One output byte per possible sample, then a lookup per sample.
    std::vector<uint8_t> map(65536);
    for (int32_t b = 0; b < 65536; ++b) {
      const int32_t v = b - offset;
      map[size_t(b)] = uint8_t(v <= lo ? 0 : v >= hi ? 255 : int64_t(v - lo) * 255 / int64_t(hi - lo));
    }
    for (size_t i = 0; i < count; ++i) destination[i] = map[size_t(valueOf(i) + offset)];
  }

  Layout FLayout;
  std::string FErrorText;
  bool FReady = false;
  bool FSigned = false;
  uint32_t FRows = 0, FColumns = 0;
  double FCenter = 128.0, FWidth = 256.0;
  bool FZoomReady = false;
  uint32_t FRegionWidth = 0, FRegionHeight = 0, FSourceRows = 0, FSourceColumns = 0;
};

// The class factory makes the object of its layout.
template <Layout L>
class Factory final : public platform::com::ComObject<IClassFactory> {
 public:
  Factory() : ComObject(IID_IClassFactory) {}
  HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) override {
    if (object == nullptr) return hr::Pointer;
    *object = nullptr;
    if (outer != nullptr) return hr::NoAggregation;
    auto* created = new (std::nothrow) Operation(L);
    if (created == nullptr) return hr::OutOfMemory;
    IWindowOperation* primary = created;
    const HRESULT status = primary->QueryInterface(iid, object);
    primary->Release();
    return status;
  }
  HRESULT LockServer(int32_t) override { return hr::Ok; }
};

}  // namespace
}  // namespace motivar

extern "C" __attribute__((visibility("default")))
HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid, void** object) {
  using motivar::Layout;
  if (clsid == CLSID_MotivarGrey8) return GetClassObject<motivar::Factory<Layout::Grey8>>(clsid, clsid, iid, object);
  if (clsid == CLSID_MotivarGrey16) return GetClassObject<motivar::Factory<Layout::Grey16>>(clsid, clsid, iid, object);
  if (clsid == CLSID_MotivarRGBInterleaved)
    return GetClassObject<motivar::Factory<Layout::RGBInterleaved>>(clsid, clsid, iid, object);
  if (clsid == CLSID_MotivarRGBPlanar)
    return GetClassObject<motivar::Factory<Layout::RGBPlanar>>(clsid, clsid, iid, object);
  if (object != nullptr) *object = nullptr;
  return hr::ClassNotAvailable;
}
