// Unpackwell.dll through its binary interface, and the RLE decoder on malformed frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/unpackwell/RleDecoder.h"
#include "components/unpackwell/UnpackwellInterface.h"
#include "platform/com/Library.h"

namespace {

using namespace orn_codec;
using unpackwell::RleLayout;

std::vector<uint8_t> RleFrame(std::vector<uint32_t> offsets, std::vector<uint8_t> body) {
  std::vector<uint8_t> out(64, 0);
  out[0] = uint8_t(offsets.size());
  for (size_t i = 0; i < offsets.size(); ++i)
    for (int b = 0; b < 4; ++b) out[4 + 4 * i + b] = uint8_t(offsets[i] >> (8 * b));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

TEST(RleDecoder, SixteenBitHighBytesFirst) {
  // 2 × 2 pixels: high bytes 0x12 repeated, low bytes a literal 1 2 3 4.
  const auto frame = RleFrame({64, 66}, {0xFD, 0x12, 0x03, 1, 2, 3, 4});
  std::vector<uint8_t> out(8);
  std::string error;
  ASSERT_TRUE(unpackwell::DecodeRleFrame(2, 2, RleLayout::Grey16, frame.data(), frame.size(), out.data(), error));
  EXPECT_EQ(out, (std::vector<uint8_t>{1, 0x12, 2, 0x12, 3, 0x12, 4, 0x12}));
}

TEST(RleDecoder, MalformedFramesFail) {
  std::string error;
  std::vector<uint8_t> out(3 * 16);
  struct Row {
    const char* what;
    std::vector<uint8_t> frame;
    RleLayout layout;
  } table[] = {
      {"truncated header", std::vector<uint8_t>(40, 0), RleLayout::Grey8},
      {"wrong segment count", RleFrame({64, 66}, {0xF1, 0}), RleLayout::Grey8},
      {"three segments for 16 bits", RleFrame({64, 66, 68}, {0xF1, 0, 0xF1, 0, 0xF1, 0}), RleLayout::Grey16},
      {"segment too short", RleFrame({64}, {0xFE, 0}), RleLayout::Grey8},
      {"literal past the end", RleFrame({64}, {0x0F, 1, 2}), RleLayout::Grey8},
      {"offset past the end", RleFrame({640}, {0xF1, 0}), RleLayout::Grey8},
      {"offsets out of order", RleFrame({70, 64, 66}, std::vector<uint8_t>(12, 0xF1)), RleLayout::Rgb8},
      {"offset inside the header", RleFrame({8}, {0xF1, 0}), RleLayout::Grey8},
  };
  for (const Row& r : table) {
    EXPECT_FALSE(unpackwell::DecodeRleFrame(4, 4, r.layout, r.frame.data(), r.frame.size(), out.data(), error))
        << r.what;
  }
}

class UnpackwellComponent : public ::testing::Test {
 protected:
  void SetUp() override {
    FModule = platform::LoadModule(kUnpackwellFileName);
    ASSERT_NE(FModule, nullptr);
    auto entry = reinterpret_cast<platform::com::DllGetClassObjectFunction>(
        platform::ModuleSymbol(FModule, platform::com::kDllGetClassObjectName));
    ASSERT_NE(entry, nullptr);
    platform::com::IClassFactory* factory = nullptr;
    ASSERT_EQ(entry(CLSID_Unpackwell, platform::com::IID_IClassFactory, reinterpret_cast<void**>(&factory)), 0);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IJpegDecompressor, reinterpret_cast<void**>(&FJpeg)), 0);
    factory->Release();
    ASSERT_EQ(FJpeg->QueryInterface(IID_IRleDecompressor, reinterpret_cast<void**>(&FRle)), 0);
  }
  void TearDown() override {
    if (FRle) FRle->Release();
    if (FJpeg) FJpeg->Release();
    platform::FreeModule(FModule);
  }
  platform::ModuleHandle FModule = nullptr;
  IJpegDecompressor* FJpeg = nullptr;
  IRleDecompressor* FRle = nullptr;
};

TEST_F(UnpackwellComponent, RefusesWhatItCannotDecode) {
  const uint8_t notJpeg[] = {0x00, 0x01, 0x02, 0x03, 0x04};
  EXPECT_LT(FJpeg->Decode(notJpeg, sizeof notJpeg), 0);
  EXPECT_EQ(FJpeg->HasFrame(), 1);
  int32_t width = 0;
  EXPECT_LT(FJpeg->GetWidth(&width), 0);
  // A header that asks for a 65535 × 65535 frame from a few bytes is refused before decoding.
  const uint8_t huge[] = {0xFF, 0xD8, 0xFF, 0xC3, 0x00, 0x0B, 0x10, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x01, 0x11, 0x00,
                          0xFF, 0xD9};
  EXPECT_LT(FJpeg->Decode(huge, sizeof huge), 0);
  const auto frame = RleFrame({64}, {0xF1, 7});
  std::vector<uint8_t> out(64);
  EXPECT_LT(FRle->Decode(4, 4, 32, frame.data(), uint32_t(frame.size()), out.data()), 0);
  EXPECT_EQ(FRle->Decode(4, 4, 8, frame.data(), uint32_t(frame.size()), out.data()), 0);
  EXPECT_EQ(out[15], 7);
}

}  // namespace
