// Dictionary lookups through the client, as the implicit-VR reader makes one per element:
// a registry object on the stack, Group, Element, VR.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>

#include "dicom/elements/DDERegistryLoader.h"
#include "dicom/elements/TanDDERegistry.h"

namespace {

// Tags of a typical CT image header, in file order.
constexpr uint32_t kHeaderTags[] = {
    0x00080005, 0x00080008, 0x00080016, 0x00080018, 0x00080020, 0x00080030, 0x00080050,
    0x00080060, 0x00080070, 0x00080090, 0x00100010, 0x00100020, 0x00100030, 0x00100040,
    0x00180050, 0x00180060, 0x00181150, 0x00181152, 0x0020000D, 0x0020000E, 0x00200013,
    0x00200032, 0x00200037, 0x00201041, 0x00280002, 0x00280004, 0x00280010, 0x00280011,
    0x00280030, 0x00280100, 0x00280101, 0x00280102, 0x00280103, 0x00281050, 0x00281051,
    0x00281052, 0x00281053, 0x60000010, 0x7FE00010,
};

void LoadOnce() {
  if (orn_dicom::IsDDERegistryReady()) return;
  if (!orn_dicom::InitializeDDERegistry("Tagbook.dll", orn_dicom::GetStandardDDEPath())) {
    std::fprintf(stderr, "dictionary not loaded: %s\n", orn_dicom::GetDDERegistryError().c_str());
    std::abort();
  }
}

uint16_t VRCode(uint32_t tag) {
  orn_dicom_impl::TanDDERegistry registry;
  const char* vr = registry.Group(static_cast<uint16_t>(tag >> 16)).Element(static_cast<uint16_t>(tag)).VR();
  return static_cast<uint16_t>(static_cast<uint8_t>(vr[0]) | static_cast<uint8_t>(vr[1]) << 8);
}

void BM_StandardVR(benchmark::State& state) {
  LoadOnce();
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(VRCode(kHeaderTags[i]));
    if (++i == std::size(kHeaderTags)) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StandardVR);
BENCHMARK(BM_StandardVR)->Threads(4)->UseRealTime();

void BM_StandardVRAndName(benchmark::State& state) {
  LoadOnce();
  size_t i = 0;
  for (auto _ : state) {
    const uint32_t tag = kHeaderTags[i];
    orn_dicom_impl::TanDDERegistry registry;
    orn_dicom::iDDE_PROPERTIES& entry = registry.Group(static_cast<uint16_t>(tag >> 16)).Element(static_cast<uint16_t>(tag));
    benchmark::DoNotOptimize(entry.VR());
    benchmark::DoNotOptimize(entry.Name());
    benchmark::DoNotOptimize(entry.IsRetired());
    if (++i == std::size(kHeaderTags)) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_StandardVRAndName);

void BM_PrivateVR(benchmark::State& state) {
  LoadOnce();
  uint16_t element = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(VRCode(0x00290000u | element));
    element = static_cast<uint16_t>(element + 0x0101);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PrivateVR);

void BM_UnknownVR(benchmark::State& state) {
  LoadOnce();
  uint16_t element = 0x0011;
  for (auto _ : state) {
    benchmark::DoNotOptimize(VRCode(0x00100000u | element));  // known group, unknown elements
    element = static_cast<uint16_t>(element == 0x0011 ? 0x0013 : 0x0011);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UnknownVR);

}  // namespace
