// The loading bar with real widgets: the picture or a bar of only its lines, colours, fonts
// and sizes scaled by the GUI scale, the setters the file set drives, and ApplyScaledFont.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "app/mainwindow/TFormLoadingBar.h"
#include "app/mainwindow/tests/FakeStartup.h"
#include "fileset/set/TanDicomFileSet.h"

namespace app {
namespace {

using test::FakeColors;

std::string Scratch(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("loading_bar_" + std::to_string(::getpid()) + "_" + name)).string();
}

// A 40 x 30 picture written as BMP or JPEG.
std::string WritePicture(const std::string& name, bool jpeg) {
  TBitmap bitmap;
  bitmap.SetSize(40, 30);
  bitmap.Canvas()->Brush.Color = clNavy;
  bitmap.Canvas()->FillRect(Rect(0, 0, 40, 30));
  const std::string path = Scratch(name);
  if (jpeg) {
    TJPEGImage image;
    image.Assign(bitmap);
    EXPECT_TRUE(image.SaveToFile(path));
  } else {
    EXPECT_TRUE(bitmap.SaveToFile(path));
  }
  return path;
}

TEST(LoadingBarTest, PictureOrABarOfOnlyItsLines) {
  const std::string bmp = WritePicture("splash.bmp", false), jpeg = WritePicture("splash.jpg", true);
  const std::string junk = Scratch("junk.jpg");
  {
    FILE* f = std::fopen(junk.c_str(), "wb");
    std::fputs("not a picture", f);
    std::fclose(f);
  }
  const struct {
    const char* what;
    std::string path;
    bool picture;
  } cases[] = {
      {"no path", "", false},
      {"missing file", Scratch("missing.jpg"), false},
      {"a folder", std::filesystem::temp_directory_path().string(), false},
      {"unreadable file", junk, false},
      {"bitmap", bmp, true},
      {"jpeg", jpeg, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TFormLoadingBar bar(nullptr, TGuiResources{}, c.path, L"Loading");
    EXPECT_EQ(bar.Image->Picture()->Width(), c.picture ? 40 : 0);
    EXPECT_EQ(bar.Height(), c.picture ? 264 : 64);
    EXPECT_EQ(bar.pnlMain->Height(), 64);
    EXPECT_EQ(bar.lblCaption->Caption(), L"Loading");
  }
  std::filesystem::remove(bmp);
  std::filesystem::remove(jpeg);
  std::filesystem::remove(junk);
}

TEST(LoadingBarTest, StartsEmptyWithTheMainWindowsColours) {
  FakeColors colors;
  colors.colors = {{L"cActive", 0x0A0A0A}, {L"cTitle", 0x0B0B0B}, {L"cDefault", 0x0C0C0C},
                   {L"cInfo", 0x0D0D0D}, {L"cSelected", 0x0E0E0E}};
  TFormLoadingBar bar(nullptr, TGuiResources{&colors, nullptr, 1.0}, "", L"");
  EXPECT_EQ(bar.pnlMain->Color(), 0x0A0A0A);
  EXPECT_EQ(bar.pnlTitle->Color(), 0x0B0B0B);
  EXPECT_EQ(bar.pnlDesk->Color(), 0x0C0C0C);
  EXPECT_EQ(bar.CGaugeProgres->BackColor, 0x0D0D0D);
  EXPECT_EQ(bar.CGaugeProgres->ForeColor, 0x0E0E0E);
  EXPECT_EQ(bar.lblInformation->Caption(), L"");
  EXPECT_EQ(bar.CGaugeProgres->MinValue, 0);
  EXPECT_EQ(bar.CGaugeProgres->MaxValue, 0);
  EXPECT_EQ(bar.CGaugeProgres->Progress(), 0);

  FakeColors none;
  TFormLoadingBar plain(nullptr, TGuiResources{&none, nullptr, 1.0}, "", L"");
  EXPECT_EQ(plain.CGaugeProgres->ForeColor, clNavy);
  EXPECT_EQ(plain.CGaugeProgres->BackColor, clWhite);
}

TEST(LoadingBarTest, FontsAndSizesFollowTheGuiScale) {
  TvsFonts fonts(nullptr);
  fonts.Title = {"TitleFace", 9};
  fonts.Info = {"InfoFace", 7};
  fonts.Default = {"BodyFace", 8};
  const struct {
    double scale;
    int infoSize, infoLeft, infoTop, gaugeWidth, gaugeHeight, formWidth, barHeight;
  } cases[] = {
      {1.0, 8, 6, 2, 348, 18, 360, 64},
      {2.0, 16, 12, 4, 696, 36, 720, 128},
      {1.5, 12, 9, 3, 522, 27, 540, 96},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scale);
    TFormLoadingBar bar(nullptr, TGuiResources{nullptr, &fonts, c.scale}, "", L"Reading");
    EXPECT_EQ(bar.lblInformation->Font.Name, "BodyFace");
    EXPECT_EQ(bar.lblInformation->Font.Size, c.infoSize);
    EXPECT_EQ(bar.lblInformation->Left(), c.infoLeft);
    EXPECT_EQ(bar.lblInformation->Top(), c.infoTop);
    EXPECT_EQ(bar.lblCaption->Font.Name, "TitleFace");
    EXPECT_EQ(bar.lblCaption->Font.Size, static_cast<int>(9 * c.scale));
    EXPECT_EQ(bar.CGaugeProgres->Font.Name, "InfoFace");
    EXPECT_EQ(bar.CGaugeProgres->Font.Size, static_cast<int>(7 * c.scale));
    EXPECT_EQ(bar.CGaugeProgres->Width(), c.gaugeWidth);
    EXPECT_EQ(bar.CGaugeProgres->Height(), c.gaugeHeight);
    EXPECT_EQ(bar.Width(), c.formWidth);
    EXPECT_EQ(bar.pnlMain->Height(), c.barHeight);
    EXPECT_EQ(bar.pnlTitle->Height(), static_cast<int>(20 * c.scale));
    // Without a picture the bar is as high as its lines and gauge.
    EXPECT_EQ(bar.Height(), c.barHeight);
  }
}

TEST(LoadingBarTest, ApplyScaledFontMovesButKeepsTheSize) {
  const struct {
    double scale;
    int size, left, top;
  } cases[] = {{1.0, 10, 7, 5}, {2.0, 20, 14, 10}, {1.5, 15, 10, 7}, {0.5, 5, 3, 2}};
  for (const auto& c : cases) {
    TForm form(nullptr);
    TLabel label(&form);
    label.SetParent(&form);
    label.AutoSize = false;
    label.SetBounds(7, 5, 50, 13);
    ApplyScaledFont(&label, TvsFontEntry{"Face", 10}, c.scale);
    EXPECT_EQ(label.Font.Name, "Face");
    EXPECT_EQ(label.Font.Size, c.size) << c.scale;
    EXPECT_EQ(label.Left(), c.left) << c.scale;
    EXPECT_EQ(label.Top(), c.top) << c.scale;
    EXPECT_EQ(label.Width(), 50);
    EXPECT_EQ(label.Height(), 13);
  }
}

TEST(LoadingBarTest, SetProgressSetsMinimumMaximumThenPosition) {
  const struct {
    int minimum, position, maximum;
    int progress, percent;
  } cases[] = {
      {0, 0, 0, 0, 0},  // an empty gauge
      {0, 50, 100, 50, 50},
      {10, 20, 30, 20, 50},
      {0, 7, 7, 7, 100},
      {0, 150, 100, 100, 100},  // clamped
      {5, 0, 10, 5, 0},
  };
  TFormLoadingBar bar(nullptr, TGuiResources{}, "", L"");
  bar.SetProgress(0, 90, 1000);  // a previous range must not clamp the next position
  for (const auto& c : cases) {
    bar.SetProgress(c.minimum, c.position, c.maximum);
    EXPECT_EQ(bar.CGaugeProgres->MinValue, c.minimum);
    EXPECT_EQ(bar.CGaugeProgres->MaxValue, c.maximum);
    EXPECT_EQ(bar.CGaugeProgres->Progress(), c.progress) << c.position;
    EXPECT_EQ(bar.CGaugeProgres->PercentDone(), c.percent) << c.position;
  }
}

TEST(LoadingBarTest, TheFileSetsClosuresDriveTheLines) {
  TFormLoadingBar bar(nullptr, TGuiResources{}, "", L"Opening");
  bar.Show();
  ORN_dicom::TanDicomFileSet::TProgress progress = [&](int32_t a, int32_t b, int32_t c) { bar.SetProgress(a, b, c); };
  ORN_dicom::TanDicomFileSet::TFileDoneHandler fileDone = [&](int32_t n, int32_t i, const char* t) {
    bar.SetInfoText(n, i, t);
  };
  progress(0, 3, 12);
  fileDone(12, 3, "/data/CT/IM0003");
  EXPECT_EQ(bar.CGaugeProgres->Progress(), 3);
  EXPECT_EQ(bar.lblInformation->Caption(), L"/data/CT/IM0003");
  fileDone(12, 4, "/data/M\xC3\xBCller/IM0004");
  EXPECT_EQ(bar.lblInformation->Caption(), L"/data/M\u00FCller/IM0004");
  fileDone(12, 5, nullptr);
  EXPECT_EQ(bar.lblInformation->Caption(), L"");
  bar.SetCaption(L"Building stacks");
  EXPECT_EQ(bar.lblCaption->Caption(), L"Building stacks");
  bar.Hide();
}

}  // namespace
}  // namespace app
