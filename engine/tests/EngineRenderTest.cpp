// The engine's pictures against pydicom and numpy: stacks of every kind are written by
// make_stacks.py, the engine draws them through the real launcher, and render_check.py
// renders the same view independently and compares every pixel (within 1 grey level).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "engine/tests/EngineHarness.h"
#include "engine/tests/TestStacks.h"

namespace ORN_engine::testing {
namespace {

struct RenderCase {
  const char* Name;
  std::vector<std::string> Files;  // relative to the stacks folder
  std::vector<std::string> Frames;
  int Width, Height;
  std::function<bool(EngineHarness&)> Steps;  // requests after readiness
  std::string View;                            // JSON members beside size, surface and cells
  std::vector<std::string> CellFiles;          // "file" or "file#frame"; "" for an empty cell
};

void PrintTo(const RenderCase& c, std::ostream* os) { *os << c.Name; }

bool Post(EngineHarness& e, uint32_t m, platform::WParam w, platform::LParam l) { return e.Request(m, w, l); }

std::string PaletteFile() {
  const std::string path = Stacks() + "/palette.bin";
  std::ofstream out(path, std::ios::binary);
  for (int c = 0; c < 3; ++c)
    for (int i = 0; i < 256; ++i) out.put(char(c == 0 ? i : c == 1 ? (i * 7) % 256 : 255 - i));
  return path;
}

class EngineRender : public ::testing::TestWithParam<RenderCase> {};

TEST_P(EngineRender, MatchesPydicomRendering) {
  const RenderCase& c = GetParam();
  std::vector<std::string> files;
  for (const auto& f : c.Files) files.push_back(Stacks() + "/" + f);
  EngineHarness engine;
  ASSERT_TRUE(engine.Open(files, c.Width, c.Height, c.Frames));
  if (c.Steps) {
    ASSERT_TRUE(c.Steps(engine));
  }
  ASSERT_EQ(engine.Width(), c.Width);
  ASSERT_EQ(engine.Height(), c.Height);

  const std::string base = Stacks() + "/" + c.Name;
  {
    std::ofstream raw(base + ".raw", std::ios::binary);
    raw.write(reinterpret_cast<const char*>(engine.Pixels().data()), std::streamsize(engine.Pixels().size() * 4));
  }
  std::string cells;
  for (const auto& f : c.CellFiles) {
    if (!cells.empty()) cells += ",";
    if (f.empty()) {
      cells += "null";
      continue;
    }
    const size_t hash = f.find('#');
    cells += "{\"file\":\"" + Stacks() + "/" + f.substr(0, hash) + "\",\"frame\":" +
             (hash == std::string::npos ? "0" : f.substr(hash + 1)) + "}";
  }
  std::string view = "{\"width\":" + std::to_string(c.Width) + ",\"height\":" + std::to_string(c.Height) +
                     ",\"surface\":\"" + base + ".raw\",\"cells\":[" + cells + "]";
  std::string extra = c.View;
  const size_t at = extra.find("PALETTE");
  if (at != std::string::npos) extra.replace(at, 7, PaletteFile());
  if (!extra.empty()) view += "," + extra;
  view += "}";
  std::ofstream(base + ".json") << view;
  const std::string command = "/usr/bin/python3 " + std::string(ENGINE_TEST_DIR) + "/render_check.py " + base + ".json";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

std::vector<uint8_t> Palette() {
  std::vector<uint8_t> p(768);
  for (int i = 0; i < 256; ++i) {
    p[i] = uint8_t(i);
    p[256 + i] = uint8_t((i * 7) % 256);
    p[512 + i] = uint8_t(255 - i);
  }
  return p;
}

const std::vector<std::string> kCt = {"ct/ct000.dcm", "ct/ct001.dcm", "ct/ct002.dcm"};

INSTANTIATE_TEST_SUITE_P(
    Stacks, EngineRender,
    ::testing::Values(
        RenderCase{"ct_first", kCt, {}, 64, 64, nullptr, "", {"ct/ct000.dcm"}},
        RenderCase{"ct_wide_panel", kCt, {}, 100, 70, nullptr, "", {"ct/ct000.dcm"}},
        RenderCase{"ct_window",
                   kCt,
                   {},
                   64,
                   64,
                   [](EngineHarness& e) { return Post(e, msg::kWindowLevel, 0, msg::PackWindowValues(-100, 700)); },
                   "\"window\":[-100,700]",
                   {"ct/ct000.dcm"}},
        RenderCase{"ct_zoom_pan",
                   kCt,
                   {},
                   64,
                   64,
                   [](EngineHarness& e) {
                     return Post(e, msg::kZoom, 0, 20000) && Post(e, msg::kPan, 0, msg::PackPoint(5, -3));
                   },
                   "\"zoom\":2,\"pan\":[5,-3]",
                   {"ct/ct000.dcm"}},
        RenderCase{"ct_last", kCt, {}, 64, 64, [](EngineHarness& e) { return Post(e, msg::kGoToImage, 0, 2); }, "",
                   {"ct/ct002.dcm"}},
        RenderCase{"ct_matrix",
                   kCt,
                   {},
                   128,
                   128,
                   [](EngineHarness& e) { return Post(e, msg::kMatrix, 0, 2 | (2 << 16)); },
                   "\"matrix\":[2,2]",
                   {"ct/ct000.dcm", "ct/ct001.dcm", "ct/ct002.dcm", ""}},
        RenderCase{"ct_inverse", kCt, {}, 64, 64, [](EngineHarness& e) { return Post(e, msg::kInverse, 0, 1); },
                   "\"inverse\":true", {"ct/ct000.dcm"}},
        RenderCase{"ct_flip", kCt, {}, 64, 64, [](EngineHarness& e) { return Post(e, msg::kFlipHorizontal, 0, 0); },
                   "\"flipH\":true", {"ct/ct000.dcm"}},
        RenderCase{"ct_palette",
                   kCt,
                   {},
                   64,
                   64,
                   [](EngineHarness& e) {
                     const auto p = Palette();
                     return e.SendRecord(msg::kPalette, p.data(), 768) &&
                            Post(e, msg::kPaletteOnOff, 0, platform::LParam(e.Panel())) && Post(e, msg::kRedraw, 0, 0);
                   },
                   "\"palette\":\"PALETTE\"",
                   {"ct/ct000.dcm"}},
        RenderCase{"mono1", {"mono1/m1.dcm"}, {}, 60, 50, nullptr, "", {"mono1/m1.dcm"}},
        RenderCase{"rgb", {"rgb/rgb.dcm"}, {}, 96, 80, nullptr, "", {"rgb/rgb.dcm"}},
        RenderCase{"palette_colour", {"palette/pal.dcm"}, {}, 64, 64, nullptr, "", {"palette/pal.dcm"}},
        RenderCase{"multiframe",
                   {"multiframe/mf.dcm", "multiframe/mf.dcm", "multiframe/mf.dcm", "multiframe/mf.dcm"},
                   {"0", "1", "2", "3"},
                   40,
                   30,
                   [](EngineHarness& e) { return Post(e, msg::kGoToImage, 0, 2); },
                   "",
                   {"multiframe/mf.dcm#2"}},
        RenderCase{"jpeg_lossless", {"jpegll/jpegll.dcm"}, {}, 64, 64, nullptr, "", {"jpegll/jpegll.dcm"}},
        RenderCase{"jpeg_baseline", {"jpegbase/jpegbase.dcm"}, {}, 64, 48, nullptr, "", {"jpegbase/jpegbase.dcm"}},
        RenderCase{"rle", {"rle/rle.dcm"}, {}, 64, 64, nullptr, "", {"rle/rle.dcm"}},
        RenderCase{"real_ct", {"real/CT_small.dcm"}, {}, 128, 128, nullptr, "", {"real/CT_small.dcm"}},
        RenderCase{"real_mr_rle", {"real/MR_small_RLE.dcm"}, {}, 64, 64, nullptr, "", {"real/MR_small_RLE.dcm"}},
        RenderCase{"real_mr_big_endian", {"real/MR_small_bigendian.dcm"}, {}, 64, 64, nullptr, "",
                   {"real/MR_small_bigendian.dcm"}},
        // The imaging library turns YBR into RGB with coefficients in 1/64 steps (1.390625 for
        // 1.402): up to 2 levels from the exact formula pydicom uses.
        RenderCase{"real_ybr_422", {"real/SC_ybr_full_422_uncompressed.dcm"}, {}, 100, 100, nullptr, "\"tolerance\":2",
                   {"real/SC_ybr_full_422_uncompressed.dcm"}},
        RenderCase{"real_rgb_rle", {"real/SC_rgb_rle.dcm"}, {}, 100, 100, nullptr, "", {"real/SC_rgb_rle.dcm"}},
        RenderCase{"real_rgb_jpeg_rgb", {"real/SC_rgb_dcmtk_+eb+cr.dcm"}, {}, 100, 100, nullptr, "",
                   {"real/SC_rgb_dcmtk_+eb+cr.dcm"}},
        RenderCase{"real_ybr_jpeg", {"real/SC_rgb_jpeg_dcmtk.dcm"}, {}, 100, 100, nullptr, "",
                   {"real/SC_rgb_jpeg_dcmtk.dcm"}},
        RenderCase{"big_endian", {"bigendian/ct000.dcm", "bigendian/ct001.dcm"}, {}, 64, 64,
                   [](EngineHarness& e) { return Post(e, msg::kGoToImage, 0, 1); }, "", {"bigendian/ct001.dcm"}}),
    [](const ::testing::TestParamInfo<RenderCase>& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace ORN_engine::testing
