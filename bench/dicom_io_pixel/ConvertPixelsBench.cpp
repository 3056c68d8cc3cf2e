// A 100-frame 512 x 512 16-bit image converted to lossless JPEG, RLE and lossy JPEG (12-bit,
// quality 50) and back to explicit VR little endian through the factories; MB/s of native pixel data. With
// DICOM_IO_PIXEL_BENCH_FILE set, the native file is also written there (for compare.sh).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/elements/header/VRCodes.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "dicom/io/pixel/TanLosslessDDEFactory.h"
#include "dicom/io/tests/TestFileWriter.h"
#include "dicom/io/tests/FactoryBinding.h"

namespace ORN_dicom {
namespace {

constexpr int32_t kColumns = 512, kRows = 512, kFrames = 100;
constexpr uint64_t kPixelBytes = uint64_t(kColumns) * kRows * kFrames * 2;

struct Image {
  TanDDESet<iDDE> meta, data;
  Image() {
    EnsureDDERegistry();
    TanExplicitLEFactory f;
    meta.Insert(f.MakeDDE(0x0002, 0x0000, 1, 0));
    meta.Insert(f.MakeDDE(0x0002, 0x0002, 1, "1.2.840.10008.5.1.4.1.1.7.3"));
    meta.Insert(f.MakeDDE(0x0002, 0x0003, 1, "1.2.826.0.1.3680043.2.1125.1.1"));
    meta.Insert(f.MakeDDE(0x0002, 0x0010, 1, "1.2.840.10008.1.2.1"));
    meta.Insert(f.MakeDDE(0x0002, 0x0012, 1, "1.2.826.0.1.3680043.2.1125.1"));
    data.Insert(f.MakeDDE(0x0008, 0x0016, 1, "1.2.840.10008.5.1.4.1.1.7.3"));
    data.Insert(f.MakeDDE(0x0008, 0x0018, 1, "1.2.826.0.1.3680043.2.1125.1.1"));
    data.Insert(f.MakeDDE(0x0028, 0x0002, 1, 1));
    data.Insert(f.MakeDDE(0x0028, 0x0004, 1, "MONOCHROME2"));
    data.Insert(f.MakeDDE(0x0028, 0x0008, 1, std::to_string(kFrames).c_str()));
    data.Insert(f.MakeDDE(0x0028, 0x0010, 1, kRows));
    data.Insert(f.MakeDDE(0x0028, 0x0011, 1, kColumns));
    data.Insert(f.MakeDDE(0x0028, 0x0100, 1, 16));
    data.Insert(f.MakeDDE(0x0028, 0x0101, 1, 12));
    data.Insert(f.MakeDDE(0x0028, 0x0102, 1, 11));
    data.Insert(f.MakeDDE(0x0028, 0x0103, 1, 0));
    // A smooth 12-bit body with some noise, as CT-like images compress.
    std::vector<uint16_t> pixels(size_t(kPixelBytes / 2));
    uint32_t noise = 12345;
    for (int32_t z = 0; z < kFrames; ++z)
      for (int32_t y = 0; y < kRows; ++y)
        for (int32_t x = 0; x < kColumns; ++x) {
          noise = noise * 1103515245u + 12345u;
          const int32_t dx = x - 256, dy = y - 256;
          const int32_t body = dx * dx + dy * dy < 200 * 200 ? 1000 + (x + y + z) % 400 : 24;
          pixels[(size_t(z) * kRows + y) * kColumns + x] = uint16_t(body + (noise >> 28));
        }
    data.Insert(f.MakePixelData(vr::OW, 1, uint32_t(kPixelBytes), pixels.data()));
    if (const char* path = std::getenv("DICOM_IO_PIXEL_BENCH_FILE")) testing::WritePart10(path, meta, data, "1.2.840.10008.1.2.1");
  }
};

Image& TheImage() {
  static Image image;
  return image;
}

// Converts source into a fresh target set with the factory of the kind.
std::unique_ptr<TanDDESet<iDDE>> Convert(TanDDESet<iDDE>& source, uint8_t kind, int32_t sourceKind) {
  auto target = std::make_unique<TanDDESet<iDDE>>();
  TanDDEFactory facade(kind);
  auto& f = *static_cast<TanDDEFactoryBasis*>(facade.Get());
  ORN_dicom::test_support::BindFactory(f, source, *target, sourceKind);
  for (uint32_t i = 0; i < source.Count(); ++i) {
    iDDE* e = f.MakeDDEFromDDEPtr(source.At(i));
    if (e == nullptr || !target->Insert(e)) {
      delete e;
      return nullptr;
    }
  }
  return target;
}

void Compress(benchmark::State& state) {
  Image& image = TheImage();
  const auto kind = static_cast<uint8_t>(state.range(0));
  size_t compressed = 0;
  for (auto _ : state) {
    auto target = Convert(image.data, kind, 2);
    if (target == nullptr) {
      state.SkipWithError("conversion failed");
      return;
    }
    compressed = target->Find(0x7FE00010u)->ValueAs<TanEPDValue>()->FFrames.FragmentsSize();
  }
  state.SetBytesProcessed(int64_t(state.iterations() * kPixelBytes));
  state.counters["ratio"] = double(kPixelBytes) / double(compressed);
}

void Decompress(benchmark::State& state) {
  Image& image = TheImage();
  const auto kind = static_cast<uint8_t>(state.range(0));
  auto compressed = Convert(image.data, kind, 2);
  if (compressed == nullptr) {
    state.SkipWithError("compression failed");
    return;
  }
  for (auto _ : state) {
    auto target = Convert(*compressed, 2, kind);
    if (target == nullptr) {
      state.SkipWithError("decoding failed");
      return;
    }
    benchmark::DoNotOptimize(target.get());
  }
  state.SetBytesProcessed(int64_t(state.iterations() * kPixelBytes));
}

// 5 lossless JPEG, 6 RLE, 7 lossy JPEG.
BENCHMARK(Compress)->Arg(5)->Arg(6)->Arg(7)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(Decompress)->Arg(5)->Arg(6)->Arg(7)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace ORN_dicom

BENCHMARK_MAIN();
