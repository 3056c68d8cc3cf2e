// The factory basis as every factory has it: facade-made factories, the byte-stream helpers,
// the stream peek.
#include <gtest/gtest.h>

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
