// Motivar.dll through its binary interface: the four classes, the window of 16-bit grey data,
// the zoom's sizes, averages and layouts, and the calls it refuses.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "components/motivar/MotivarInterface.h"
#include "platform/com/Library.h"

using namespace orn_motivar;
using platform::com::IClassFactory;

namespace {

class Motivar : public ::testing::Test {
 protected:
  void SetUp() override {
    FModule = platform::LoadModule(platform::ProgramFolder() + kMotivarFileName);
    ASSERT_NE(FModule, nullptr);
    FEntry = reinterpret_cast<platform::com::DllGetClassObjectFunction>(
        platform::ModuleSymbol(FModule, platform::com::kDllGetClassObjectName));
    ASSERT_NE(FEntry, nullptr);
  }
  void TearDown() override {
    for (auto* object : FObjects) object->Release();
    platform::FreeModule(FModule);
  }

  IWindowOperation* Make(const platform::com::CLSID& clsid) {
    void* factory = nullptr;
    if (FEntry(clsid, platform::com::IID_IClassFactory, &factory) != 0) return nullptr;
    void* object = nullptr;
    static_cast<IClassFactory*>(factory)->CreateInstance(nullptr, IID_IWindowOperation, &object);
    static_cast<IClassFactory*>(factory)->Release();
    if (object != nullptr) FObjects.push_back(static_cast<IWindowOperation*>(object));
    return static_cast<IWindowOperation*>(object);
  }
  static IZoomOperation* Zoom(IWindowOperation* window) {
    void* zoom = nullptr;
    window->QueryInterface(IID_IZoomOperation, &zoom);
    static_cast<IZoomOperation*>(zoom)->Release();
    return static_cast<IZoomOperation*>(zoom);
  }

  platform::ModuleHandle FModule = nullptr;
  platform::com::DllGetClassObjectFunction FEntry = nullptr;
  std::vector<IWindowOperation*> FObjects;
};

std::vector<uint8_t> Words(const std::vector<int32_t>& values) {
  std::vector<uint8_t> bytes(values.size() * 2);
  for (size_t i = 0; i < values.size(); ++i) {
    const uint16_t v = uint16_t(values[i]);
    std::memcpy(&bytes[2 * i], &v, 2);
  }
  return bytes;
}

}  // namespace

TEST_F(Motivar, EveryClassIsMadeAndAnUnknownOneRefused) {
  for (const auto* clsid : {&CLSID_MotivarGrey8, &CLSID_MotivarGrey16, &CLSID_MotivarRGBInterleaved,
                            &CLSID_MotivarRGBPlanar})
    EXPECT_NE(Make(*clsid), nullptr);
  void* factory = nullptr;
  EXPECT_NE(FEntry(IID_IZoomOperation, platform::com::IID_IClassFactory, &factory), 0);
  EXPECT_EQ(factory, nullptr);
}

TEST_F(Motivar, SixteenBitGreyIsWindowedOverItsOwnRange) {
  IWindowOperation* window = Make(CLSID_MotivarGrey16);
  ASSERT_NE(window, nullptr);
  // Rescaled CT values (intercept −1024 makes them signed): −1000 .. 1000.
  std::vector<int32_t> values;
  for (int i = 0; i < 2001; ++i) values.push_back(i - 1000);
  const std::vector<uint8_t> source = Words(values);
  ASSERT_NE(window->SetupWindow(1, 1, 2001, 0, 11, 1.0f, -1024.0f), 0);
  ASSERT_EQ(window->GetOutputSize(), 2001u);
  std::vector<uint8_t> out(2001);
  ASSERT_NE(window->ApplyWindow(source.data(), 2001, out.data()), 0);
  EXPECT_LE(out[2], 1);
  EXPECT_GE(out[1998], 254);
  EXPECT_NEAR(out[1000], 128, 2);
  for (size_t i = 1; i < out.size(); ++i) ASSERT_GE(out[i], out[i - 1]) << i;
  EXPECT_NEAR(window->GetWindowCenter(), 0.0, 3.0);
  EXPECT_NEAR(window->GetWindowWidth(), 1997.0, 3.0);
}

TEST_F(Motivar, WindowRefusesWhatDoesNotFit) {
  IWindowOperation* window = Make(CLSID_MotivarGrey8);
  ASSERT_NE(window, nullptr);
  std::vector<uint8_t> buffer(16);
  EXPECT_EQ(window->ApplyWindow(buffer.data(), 16, buffer.data()), 0);  // not set up
  EXPECT_STRNE(window->GetErrorText(), "");
  EXPECT_EQ(window->SetupWindow(3, 4, 4, 0, 7, 1.0f, 0.0f), 0);  // grey class, three samples
  ASSERT_NE(window->SetupWindow(1, 4, 4, 0, 7, 1.0f, 0.0f), 0);
  EXPECT_EQ(window->ApplyWindow(buffer.data(), 15, buffer.data()), 0);
  EXPECT_EQ(window->ApplyWindow(nullptr, 16, buffer.data()), 0);
}

TEST_F(Motivar, ZoomSizesRegionsAndAverages) {
  IWindowOperation* window = Make(CLSID_MotivarGrey8);
  IZoomOperation* zoom = Zoom(window);
  // 4 × 2 into at most 8 × 8 at scale 0.5: 2 × 1, each pixel the mean of a 2 × 2 block.
  const std::vector<uint8_t> source = {0, 10, 100, 101, 20, 30, 103, 104};
  TZoomRegion region{-4, -4, 4, 4};
  ASSERT_NE(zoom->SetRegion(region.Left, region.Top, region.Right, region.Bottom, 2, 4), 0);
  ASSERT_NE(zoom->SetScale(0.5, &region), 0);
  EXPECT_EQ(region.Right - region.Left, 2);
  EXPECT_EQ(region.Bottom - region.Top, 1);
  ASSERT_EQ(zoom->GetOutputSize(0.5), 2u);
  std::vector<uint8_t> out(2);
  ASSERT_NE(zoom->ZoomImage(source.data(), out.data(), 0.5), 0);
  EXPECT_EQ(out, (std::vector<uint8_t>{15, 102}));

  // Enlarging repeats pixels; the region limits the result.
  ASSERT_NE(zoom->SetScale(4.0, &region), 0);
  EXPECT_EQ(region.Right - region.Left, 8);
  EXPECT_EQ(region.Bottom - region.Top, 8);
  std::vector<uint8_t> big(zoom->GetOutputSize(4.0));
  ASSERT_EQ(big.size(), 64u);
  ASSERT_NE(zoom->ZoomImage(source.data(), big.data(), 4.0), 0);
  EXPECT_EQ(big[0], 0);
  EXPECT_EQ(big[7], 101);

  EXPECT_EQ(zoom->SetScale(0.0, &region), 0);
  EXPECT_EQ(zoom->SetScale(0.5, nullptr), 0);
  EXPECT_EQ(zoom->SetRegion(0, 0, 0, 4, 2, 4), 0);
  EXPECT_EQ(zoom->GetOutputSize(0.5), 0u);  // no region after a refused one
}

TEST_F(Motivar, InterleavedRGBIsAveragedPerComponent) {
  IWindowOperation* window = Make(CLSID_MotivarRGBInterleaved);
  IZoomOperation* zoom = Zoom(window);
  const std::vector<uint8_t> source = {10, 0, 200, 30, 2, 100};  // two pixels in one row
  TZoomRegion region{-1, -1, 1, 1};
  ASSERT_NE(zoom->SetRegion(region.Left, region.Top, region.Right, region.Bottom, 1, 2), 0);
  ASSERT_NE(zoom->SetScale(0.5, &region), 0);
  ASSERT_EQ(zoom->GetOutputSize(0.5), 3u);
  std::vector<uint8_t> out(3);
  ASSERT_NE(zoom->ZoomImage(source.data(), out.data(), 0.5), 0);
  EXPECT_EQ(out, (std::vector<uint8_t>{20, 1, 150}));
}
