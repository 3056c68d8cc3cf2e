// Icons of 1,000 generated 512 × 512 CT images (signed 16-bit, rescale, window): each image is
// made while the clock is paused, then its 128 × 128 icon is built and handed out as an Icon
// Image Sequence element, as the stack forming does.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/memory/TanCPPAllocator.h"
#include "base/memory/TanMSVirtualMemoryAlloc.h"
#include "dicom/elements/dataset/TanIOD.h"
#include "dicom/elements/header/VRCodes.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "imaging/TgbDicomIcon.h"

namespace {

constexpr int kSide = 512;

// A body section: air, a soft-tissue ellipse with a slice-dependent organ, bone, and noise.
std::vector<int16_t> Phantom(int slice) {
  std::vector<int16_t> pixels(size_t(kSide) * kSide);
  uint32_t noise = 12345u + uint32_t(slice) * 7919u;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      const double dx = (x - 256) / 220.0, dy = (y - 256) / 170.0;
      const double r = dx * dx + dy * dy;
      double hu = -1000;
      if (r < 1.0) hu = 40;
      if (r < 1.0 && r > 0.85) hu = 700 + slice % 300;
      const double ox = (x - 200 - slice % 60) / 50.0, oy = (y - 240) / 40.0;
      if (ox * ox + oy * oy < 1.0) hu = 80;
      noise = noise * 1664525u + 1013904223u;
      hu += double(noise >> 28) - 8;
      pixels[size_t(y) * kSide + size_t(x)] = int16_t(hu);
    }
  return pixels;
}

std::unique_ptr<ORN_dicom::TanIOD> MakeImage(ORN_dicom::iDDEFactory& f, int slice) {
  auto set = std::make_unique<ORN_dicom::TanIOD>();
  set->SetTransferSyntax(2);
  const std::vector<int16_t> pixels = Phantom(slice);
  set->Insert(f.MakeDDE(0x0028, 0x0002, 1, 1));
  set->Insert(f.MakeDDE(0x0028, 0x0004, 1, "MONOCHROME2"));
  set->Insert(f.MakeDDE(0x0028, 0x0010, 1, kSide));
  set->Insert(f.MakeDDE(0x0028, 0x0011, 1, kSide));
  set->Insert(f.MakeDDE(0x0028, 0x0100, 1, 16));
  set->Insert(f.MakeDDE(0x0028, 0x0101, 1, 16));
  set->Insert(f.MakeDDE(0x0028, 0x0102, 1, 15));
  set->Insert(f.MakeDDE(0x0028, 0x0103, 1, 1));
  set->Insert(f.MakeDDE(0x0028, 0x1050, 1, "40"));
  set->Insert(f.MakeDDE(0x0028, 0x1051, 1, "400"));
  set->Insert(f.MakeDDE(0x0028, 0x1052, 1, "0"));
  set->Insert(f.MakeDDE(0x0028, 0x1053, 1, "1"));
  set->Insert(f.MakePixelData(ORN_dicom::vr::OW, 1, uint32_t(pixels.size() * 2), static_cast<const void*>(pixels.data())));
  return set;
}

// A: the icon's allocator. The stack forming uses the virtual-memory one (fresh committed
// pages for every buffer); the heap one is measured beside it for comparison.
template <class A>
void BM_CtIcons(benchmark::State& state) {
  ORN_dicom::TanDDEFactory factory(2);
  int slice = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<ORN_dicom::TanIOD> image = MakeImage(*factory, slice++);
    state.ResumeTiming();
    ORN_image::TgbDisplayDicomIcon<A> icon(image.get());
    if (!icon.CreateIcon(128, 128, 0)) {
      state.SkipWithError("CreateIcon failed");
      break;
    }
    ORN_dicom::iDDE* element = nullptr;
    if (!icon.GetIconItem(&element, 2)) {
      state.SkipWithError("GetIconItem failed");
      break;
    }
    delete element;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["icons/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CtIcons<ORN_std::TanMSVirtualMemoryAlloc>)->Iterations(1000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CtIcons<ORN_std::TanCPPAllocator>)->Iterations(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
