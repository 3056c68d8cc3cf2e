// The factory basis as every factory has it: facade-made factories, the byte-stream helpers,
// the stream peek.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "dicom/io/factory/TanDDEFactoryBasis.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom {
namespace {

TEST(FactoryBasis, FacadesMakeFactoriesWithEmptyClosures) {
  for (uint8_t kind : {1, 2, 3, 5, 6, 7}) {
    TanDDEFactory f(kind);
    ASSERT_NE(f.Get(), nullptr) << int(kind);
    EXPECT_FALSE(f->FFindDDE);
    EXPECT_FALSE(f->FReplaceDDE);
    EXPECT_EQ(f->GetLastMessage(), nullptr);
    auto* basis = static_cast<TanDDEFactoryBasis*>(f.Get());
    EXPECT_EQ(basis->FCurrentSet, nullptr);
    EXPECT_EQ(basis->GetSamplesPerPixel(), 0);
  }
  for (uint8_t kind : {0, 8, 200}) {
    TanDDEFactory f(kind);
    EXPECT_EQ(f.Get(), nullptr);
    TanIODFactory iod(kind, 50);
    EXPECT_EQ(iod.Get(), nullptr);
  }
}

TEST(FactoryBasis, ByteStreamHelpers) {
  const char* empty = "";
  EXPECT_EQ(CStringSize(empty), 1u);
  unsigned char buffer[40] = {};
  TanByteWriter w{buffer, 0};
  WriteCString(w, "");
  EXPECT_EQ(w.FWritten, 1u);
  WriteCString(w, "TITLE");
  EXPECT_EQ(w.FWritten, 7u);
  TanByteReader r{buffer, 7};
  EXPECT_EQ(ReadCString(r), "");
  EXPECT_EQ(ReadCString(r), "TITLE");
  EXPECT_EQ(r.FRemaining, 0u);
  // A text without its NUL in the remaining bytes is taken up to their end, no further.
  const unsigned char noNul[] = {'A', 'B', 'C'};
  TanByteReader cut{noNul, 2};
  EXPECT_EQ(ReadCString(cut), "AB");
  EXPECT_EQ(cut.FRemaining, 0u);
}

TEST(FactoryBasis, PeekedTagsLeaveTheStreamWhereItWas) {
  std::istringstream in(std::string("\x08\x00\x60\x00rest", 8));
  EXPECT_EQ(PeekStreamTag(in), 0x00080060u);
  EXPECT_EQ(in.tellg(), 0);
  std::istringstream big(std::string("\x00\x08\x00\x60", 4));
  EXPECT_EQ(PeekStreamTag(big, true), 0x00080060u);
  std::istringstream shortStream(std::string("\x08\x00", 2));
  EXPECT_EQ(PeekStreamTag(shortStream), 0u);
  EXPECT_FALSE(shortStream.good());
}

}  // namespace
}  // namespace ORN_dicom

namespace ORN_dicom {
namespace {

class PixelHelpers : public ::testing::Test {
 protected:
  void SetUp() override {
    f = std::make_unique<TanDDEFactory>(2);
    b = static_cast<TanDDEFactoryBasis*>(f->Get());
    b->FCurrentSet = &set;
  }
  void Add(iDDE* e) { set.Insert(e); }
  std::unique_ptr<TanDDEFactory> f;
  TanDDEFactoryBasis* b = nullptr;
  TanDDESet<iDDE> set;
};

TEST_F(PixelHelpers, PlanarConfigurationFramesAndNumbers) {
  Add((*f)->MakeDDE(0x0028, 0x0004, 1, "RGB "));
  Add((*f)->MakeDDE(0x0028, 0x0010, 1, 4));
  Add((*f)->MakeDDE(0x0028, 0x0011, 1, 5));
  int32_t columns = 0, rows = 0, high = -1, stored = -1, allocated = -1, planar = 0, frames = 0;
  std::string photometric;
  b->GetPixelAttributes(columns, rows, high, stored, allocated, photometric, planar, frames);
  EXPECT_EQ(photometric, "RGB");
  EXPECT_EQ(planar, 0);
  ASSERT_NE(set.Find(0x00280006u), nullptr);  // made for RGB
  EXPECT_EQ(set.Find(0x00280006u)->GetUShort(), 0);
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(rows, 4);
  EXPECT_EQ(columns, 5);
  EXPECT_EQ(high, -1);
  set.Find(0x00280006u)->SetUShort(1);
  Add((*f)->MakeDDE(0x0028, 0x0008, 1, "12 "));
  planar = 0;
  b->GetPixelAttributes(columns, rows, high, stored, allocated, photometric, planar, frames);
  EXPECT_EQ(planar, 1);
  EXPECT_EQ(set.Find(0x00280006u)->GetUShort(), 0);
  EXPECT_EQ(frames, 12);
}

TEST_F(PixelHelpers, PaddingLossyAndSamples) {
  Add((*f)->MakeDDEWithVR(0x0028, 0x0120, "US", 1, 0xFFFF));
  Add((*f)->MakeDDE(0x0028, 0x0103, 1, 1));
  int32_t value = 0, limit = 0;
  ASSERT_TRUE(b->GetPixelPaddingRange(value, limit));
  EXPECT_EQ(value, -1);
  EXPECT_EQ(limit, -1);
  set.Find(0x00280103u)->SetUShort(0);
  ASSERT_TRUE(b->GetPixelPaddingRange(value, limit));
  EXPECT_EQ(value, 65535);
  EXPECT_FALSE(b->IsLossyCompressed());
  Add((*f)->MakeDDE(0x0028, 0x2110, 1, "01"));
  EXPECT_TRUE(b->IsLossyCompressed());
  EXPECT_EQ(b->GetSamplesPerPixel(), 0);
  b->FCurrentSet = nullptr;
  EXPECT_FALSE(b->IsLossyCompressed());
  b->FGetSourceKind = [](int32_t& kind) { kind = 7; };
  EXPECT_TRUE(b->IsLossyCompressed());
}

}  // namespace
}  // namespace ORN_dicom
