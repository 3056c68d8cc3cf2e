// The explicit VR factories: VR dispatch, the long and short forms, sequences and items,
// pixel data native and encapsulated, big endian, and making elements from values.
#include <gtest/gtest.h>

#include "dicom/elements/dataset/TanEPDValue.h"
#include "dicom/elements/element/ElementClasses.h"
#include "dicom/io/explicit/TanExplicitDDEFactory.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "dicom/io/tests/Bytes.h"

namespace ORN_dicom {
namespace {

using testing::Bytes;
using testing::Owned;

class ExplicitFactory : public ::testing::Test {
 protected:
  void SetUp() override { EnsureDDERegistry(); }
  template <class F>
  Owned Read(F& f, const Bytes& b, bool stream) {
    if (stream) {
      auto in = b.stream();
      Owned e(f.MakeDDEFromStream(in));
      if (e != nullptr) {
        EXPECT_EQ(static_cast<uint32_t>(in.tellg()), e->Size());
      }
      return e;
    }
    FBuffer = b.copy();
    return Owned(f.MakeDDEFromRange(FBuffer.get(), FBuffer.get() + b.size()));
  }
  TanExplicitLEFactory le;
  TanExplicitBEFactory be;
  std::unique_ptr<uint8_t[]> FBuffer;
};

TEST_F(ExplicitFactory, EveryVRIsReadAndKeptWithItsWholeLength) {
  struct Case {
    const char* vr;
    std::string value;
    uint32_t size;
  };
  const Case cases[] = {
      {"CS", "CT", 10},           {"US", std::string("\1\2\3", 3), 11}, {"US", "", 8},
      {"FD", std::string(8, '\0'), 16}, {"AT", std::string("\x28\0\x10\0", 4), 12},
      {"OB", "\1\2", 14},         {"OW", "\1\2", 14},                    {"UT", "text", 16},
      // Newer VRs: kept with their own VR.
      {"UC", "long text ", 22},   {"UR", "http://x/", 21},              {"OD", std::string(8, '\1'), 20},
      {"OL", std::string(4, '\1'), 16}, {"OV", std::string(8, '\1'), 20}, {"SV", std::string(8, '\1'), 20},
      {"UV", std::string(8, '\1'), 20},
  };
  for (const Case& c : cases) {
    for (bool stream : {false, true}) {
      Owned e = Read(le, Bytes().expl(0x0011, 0x1010, c.vr, c.value), stream);
      ASSERT_NE(e, nullptr) << c.vr;
      EXPECT_TRUE(e->IsValid()) << c.vr;
      EXPECT_EQ(e->VRText(), c.vr);
      EXPECT_EQ(e->Size(), c.size) << c.vr;
    }
  }
  // A VR without a class, and reserved bytes that hold anything.
  EXPECT_EQ(Read(le, Bytes().tag(0x0010, 0x0010).str("QQ").u16(0), false), nullptr);
  Owned ob = Read(le, Bytes().tag(0x0009, 0x1010).str("OB").raw({0xAB, 0xCD}).u32(2).raw({1, 2}), false);
  ASSERT_NE(ob, nullptr);
  EXPECT_EQ(ob->GetLength(), 2u);
}

TEST_F(ExplicitFactory, SequencesItemsAndDelimiters) {
  Bytes item;
  item.item(0xFFFFFFFF).expl(0x0008, 0x1150, "UI", "1.2").itemEnd();
  Bytes sq;
  sq.tag(0x0008, 0x1115).str("SQ").u16(0).u32(0xFFFFFFFF).add(item).add(item).sequenceEnd();
  for (bool stream : {false, true}) {
    Owned e = Read(le, sq, stream);
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(e->GetSequence()->Count(), 3u);
    EXPECT_EQ(e->GetSequence()->At(0)->GetItem()->Count(), 2u);
    EXPECT_EQ(e->Size(), sq.size());
  }
  Owned empty = Read(le, Bytes().tag(0x0008, 0x1115).str("SQ").u16(0).u32(0), false);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->Size(), 12u);
  // A sequence delimiter before the defined length is reached ends the sequence.
  Bytes early;
  early.tag(0x0008, 0x1115).str("SQ").u16(0).u32(100).sequenceEnd();
  EXPECT_NE(Read(le, early, false), nullptr);
  EXPECT_NE(Read(le, Bytes().itemEnd(), false), nullptr);
  Bytes inItem;
  inItem.item(0xFFFFFFFF).item(0).itemEnd();
  EXPECT_EQ(Read(le, inItem, false), nullptr);
}

TEST_F(ExplicitFactory, UndefinedLengthUNHoldsImplicitItems) {
  Bytes items;
  items.item(0xFFFFFFFF).implicit(0x0010, 0x0010, "Doe^J ").implicit(0x0010, 0x0020, "42").itemEnd().sequenceEnd();
  for (const char* vr : {"UN", "OB", "UT"}) {
    Bytes b;
    b.tag(0x0011, 0x1010).str(vr).u16(0).u32(0xFFFFFFFF).add(items);
    for (bool stream : {false, true}) {
      Owned e = Read(le, b, stream);
      ASSERT_NE(e, nullptr) << vr;
      ASSERT_NE(e->GetSequence(), nullptr);
      EXPECT_EQ(e->Size(), b.size());
      iDDE* name = e->GetSequence()->At(0)->GetItem()->At(0);
      EXPECT_EQ(name->GetString(), "Doe^J");
      EXPECT_EQ(name->HeaderSize(), 8u);
    }
  }
  // Content that is not items is refused, never read as an empty value.
  Bytes notItems;
  notItems.tag(0x0011, 0x1010).str("UN").u16(0).u32(0xFFFFFFFF).implicit(0x0010, 0x0010, "Doe ");
  EXPECT_EQ(Read(le, notItems, false), nullptr);
  EXPECT_EQ(Read(le, notItems, true), nullptr);
}

TEST_F(ExplicitFactory, PixelDataNativeAndEncapsulated) {
  Bytes native;
  native.expl(0x7FE0, 0x0010, "OW", "\1\2\3\4");
  Owned ow = Read(le, native, false);
  ASSERT_NE(ow, nullptr);
  EXPECT_EQ(ow->GetLength(), 4u);
  Bytes enc;
  enc.tag(0x7FE0, 0x0010).str("OB").u16(0).u32(0xFFFFFFFF).item(4).u32(0).item(3).raw({0xFF, 0xD8, 0xFF})
      .item(2).raw({0xD9, 0}).sequenceEnd();
  for (bool stream : {false, true}) {
    Owned e = Read(le, enc, stream);
    ASSERT_NE(e, nullptr);
    TanEPDValue* v = e->GetEncapsulatedPixelData();
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->Count(), 4u);  // offset table, two fragments, delimiter
    EXPECT_EQ(e->Size(), enc.size());
    EXPECT_EQ(v->At(1)->GetLength(), 3u);
  }
  // Fragments without the sequence delimiter, or running past the end: refused.
  Bytes cut;
  cut.tag(0x7FE0, 0x0010).str("OB").u16(0).u32(0xFFFFFFFF).item(0).item(40).raw({1, 2});
  EXPECT_EQ(Read(le, cut, false), nullptr);
  EXPECT_EQ(Read(le, cut, true), nullptr);
}

TEST_F(ExplicitFactory, BigEndianKeepsStoredBytesAndDecodesThem) {
  Bytes b;
  b.big = true;
  b.tag(0x0028, 0x0010).str("US").u16(2).raw({0x01, 0x02});
  for (bool stream : {false, true}) {
    Owned e = Read(be, b, stream);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Tag(), 0x00280010u);
    EXPECT_EQ(e->GetUShort(), 258);
    unsigned char out[10];
    e->CopyTo(out);
    EXPECT_EQ(out[8], 0x01);
  }
  Bytes sq;
  sq.big = true;
  sq.tag(0x0008, 0x1115).str("SQ").u16(0).u32(0xFFFFFFFF).item(10).tag(0x0008, 0x1150).str("UI").u16(2).str("1.")
      .sequenceEnd();
  Owned e = Read(be, sq, false);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->Size(), sq.size());
}

TEST_F(ExplicitFactory, DeepNestingIsRefusedAlsoInsideUN) {
  // Sequences in items, explicit (SQ) or implicit inside an undefined-length UN.
  auto nested = [](const char* vr, int levels) {
    const bool explicitItems = std::string(vr) == "SQ";
    Bytes b;
    b.tag(0x0011, 0x1010).str(vr).u16(0).u32(0xFFFFFFFF);
    for (int i = 0; i < levels; ++i) {
      b.item(0xFFFFFFFF).tag(0x0011, 0x1010);
      if (explicitItems) b.str("SQ").u16(0);
      b.u32(0xFFFFFFFF);
    }
    for (int i = 0; i < levels; ++i) b.sequenceEnd().itemEnd();
    return b.sequenceEnd();
  };
  for (const char* vr : {"SQ", "UN"}) {
    for (bool stream : {false, true}) {
      EXPECT_NE(Read(le, nested(vr, 20), stream), nullptr) << vr;
      EXPECT_EQ(Read(le, nested(vr, 100), stream), nullptr) << vr;
    }
  }
}

TEST_F(ExplicitFactory, StreamMessageOfAnItemThatCannotBeMade) {
  Bytes b;
  b.tag(0x0008, 0x1115).str("SQ").u16(0).u32(0xFFFFFFFF).item(0).tag(0x0010, 0x0010).str("PN").u16(2).str("AB");
  Owned e = Read(le, b, true);
  EXPECT_EQ(e, nullptr);
  EXPECT_STREQ(le.GetLastMessage(), "Cannot make Item[2] of SQ[0008,1115]");
}

TEST_F(ExplicitFactory, MakingElementsFromValues) {
  Owned ss(le.MakeDDEWithVR(0x0028, 0x0010, "SS", 1, -2));
  ASSERT_NE(ss, nullptr);
  EXPECT_EQ(ss->VR(), vr::SS);
  EXPECT_EQ(ss->GetShort(), -2);
  Owned ui(le.MakeDDE(0x0002, 0x0010, 1, "1.2.840.10008.1.2.1"));
  EXPECT_EQ(ui->Size(), 8u + 20u);
  Owned ut(le.MakeDDE(0x0040, 0xA160, 1, "text"));
  EXPECT_EQ(ut->HeaderSize(), 12u);
  Owned usBE(be.MakeDDE(0x0028, 0x0010, 1, 258));
  unsigned char out[10];
  usBE->CopyTo(out);
  EXPECT_EQ(out[8], 0x01);
  EXPECT_EQ(out[9], 0x02);
  EXPECT_EQ(le.MakeDDEWithVR(0x0028, 0x0010, "QQ", 0), nullptr);
}

}  // namespace
}  // namespace ORN_dicom
