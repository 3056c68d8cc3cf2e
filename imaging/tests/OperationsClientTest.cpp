// The client of the image-operation component: selection by pixel layout, the interface
// getters, and the failures of a missing, entry-less or refusing component.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/TgbComDynamicOperationsClient.h"
#include "platform/com/Library.h"

using namespace ORN_image;

TEST(TgbComDynamicOperationsClient, SelectsAClassByPixelLayout) {
  TgbComDynamicOperationsClient client;
  ASSERT_EQ(client.GetErrorText(), "");
  EXPECT_EQ(client.GetWindowInterface(), nullptr);  // before any selection

  struct Case {
    int32_t samples, bits, planar;
    bool selected;
  };
  const std::vector<Case> cases = {
      {1, 8, 0, true},  {1, 16, 0, true}, {1, 12, 0, false}, {1, 32, 0, false},
      {3, 8, 0, true},  {3, 8, 1, true},  {3, 8, 2, false},  {3, 12, 0, true},  // bits not looked at for 3
      {2, 8, 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(client.SelectOperation(c.samples, c.bits, c.planar), c.selected)
        << c.samples << "/" << c.bits << "/" << c.planar;
    EXPECT_EQ(client.GetErrorText(), "");
    EXPECT_EQ(client.GetWindowInterface() != nullptr, c.selected);
    EXPECT_EQ(client.GetZoomInterface() != nullptr, c.selected);
  }
}

TEST(TgbComDynamicOperationsClient, TheSelectedObjectWindowsAndZooms) {
  TgbComDynamicOperationsClient client;
  ASSERT_TRUE(client.SelectOperation(3, 8, 1));
  orn_motivar::IWindowOperation* window = client.GetWindowInterface();
  orn_motivar::IZoomOperation* zoom = client.GetZoomInterface();
  ASSERT_NE(window, nullptr);
  ASSERT_NE(zoom, nullptr);
  // Planar RGB, 2 × 2: three planes of four bytes.
  const std::vector<uint8_t> source = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
  ASSERT_NE(window->SetupWindow(3, 2, 2, 0, 7, 1.0f, 0.0f), 0);
  ASSERT_EQ(window->GetOutputSize(), 12u);
  std::vector<uint8_t> windowed(12);
  ASSERT_NE(window->ApplyWindow(source.data(), 12, windowed.data()), 0);
  EXPECT_EQ(windowed, source);

  orn_motivar::TZoomRegion region{-1, -1, 1, 1};
  ASSERT_NE(zoom->SetRegion(region.Left, region.Top, region.Right, region.Bottom, 2, 2), 0);
  ASSERT_NE(zoom->SetScale(0.5, &region), 0);
  EXPECT_EQ(region.Right - region.Left, 1);
  EXPECT_EQ(region.Bottom - region.Top, 1);
  ASSERT_EQ(zoom->GetOutputSize(0.5), 3u);
  std::vector<uint8_t> zoomed(3);
  ASSERT_NE(zoom->ZoomImage(windowed.data(), zoomed.data(), 0.5), 0);
  EXPECT_EQ(zoomed, (std::vector<uint8_t>{25, 65, 105}));

  client.ReleaseOperation();
  EXPECT_EQ(client.GetWindowInterface(), nullptr);
}

TEST(TgbComDynamicOperationsClient, AMissingComponentFailsEverySelection) {
  TgbComDynamicOperationsLoader loader(platform::ProgramFolder() + "NoSuchMotivar.dll");
  EXPECT_EQ(loader.Module(), nullptr);
  TgbComDynamicOperationsClient client(loader);
  EXPECT_NE(client.GetErrorText(), "");
  EXPECT_FALSE(client.SelectOperation(1, 8, 0));
  EXPECT_EQ(client.GetWindowInterface(), nullptr);
  EXPECT_EQ(client.GetZoomInterface(), nullptr);
}

TEST(TgbComDynamicOperationsClient, AComponentWithoutEntryPointFails) {
  TgbComDynamicOperationsLoader loader(platform::ProgramFolder() + "ComTestNoEntry.dll");
  ASSERT_NE(loader.Module(), nullptr);
  TgbComDynamicOperationsClient client(loader);
  EXPECT_EQ(client.GetErrorText(), "");
  EXPECT_FALSE(client.SelectOperation(1, 8, 0));
  EXPECT_NE(client.GetErrorText(), "");
  EXPECT_FALSE(client.SelectOperation(1, 16, 0));
}

TEST(TgbComDynamicOperationsClient, AfterARefusedInstanceTheComponentIsNotAskedAgain) {
  TgbComDynamicOperationsLoader loader(platform::ProgramFolder() + "MotivarProbe.dll");
  ASSERT_NE(loader.Module(), nullptr);
  auto calls = reinterpret_cast<int (*)()>(platform::ModuleSymbol(loader.Module(), "MotivarProbeCreateCalls"));
  ASSERT_NE(calls, nullptr);
  const int before = calls();
  TgbComDynamicOperationsClient client(loader);
  EXPECT_FALSE(client.SelectOperation(1, 8, 0));
  EXPECT_EQ(client.GetErrorText(), "COM-system-is-out-of-memory");  // E_UNEXPECTED's text
  EXPECT_EQ(calls(), before + 1);
  EXPECT_FALSE(client.SelectOperation(1, 8, 0));
  EXPECT_EQ(calls(), before + 1);
  EXPECT_EQ(client.GetWindowInterface(), nullptr);
}
