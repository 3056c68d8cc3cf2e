// The implicit VR little-endian factory: reading from memory and streams, making elements from
// values, converting elements of other encodings.
#include <gtest/gtest.h>

#include "dicom/elements/dataset/TanDDEItemValue.h"
#include "dicom/elements/element/ElementClasses.h"
#include "dicom/io/implicit/TanImplicitDDEFactory.h"
#include "dicom/io/explicit/TanExplicitDDEFactory.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "dicom/io/tests/Bytes.h"

namespace ORN_dicom {
namespace {

using testing::Bytes;
using testing::Owned;

class ImplicitFactory : public ::testing::Test {
 protected:
  void SetUp() override { EnsureDDERegistry(); }
  Owned FromMemory(const Bytes& b) {
    FBuffer = b.copy();
    return Owned(f.MakeDDEFromRange(FBuffer.get(), FBuffer.get() + b.size()));
  }
  Owned FromStream(const Bytes& b) {
    auto in = b.stream();
    return Owned(f.MakeDDEFromStream(in));
  }
  TanImplicitDDEFactory f;
  std::unique_ptr<uint8_t[]> FBuffer;
};

TEST_F(ImplicitFactory, ElementsTakeTheDictionaryVRAndTheirWholeLength) {
  struct Case {
    const char* name;
    Bytes bytes;
    uint16_t vr;
    uint32_t size;
  };
  const Case cases[] = {
      {"CS", Bytes().implicit(0x0008, 0x0060, "CT"), vr::CS, 10},
      // A number value whose length is no multiple of its size keeps its odd byte.
      {"US of 3 bytes", Bytes().implicit(0x0028, 0x0010, std::string("\x00\x02\x07", 3)), vr::US, 11},
      {"private", Bytes().implicit(0x0009, 0x1001, "abcd"), vr::UN, 12},
      {"private creator", Bytes().implicit(0x0009, 0x0010, "ACME"), vr::LO, 12},
      {"pixel data", Bytes().implicit(0x7FE0, 0x0010, "\x01\x02"), VRCode("OB"), 10},
  };
  for (const Case& c : cases) {
    for (bool stream : {false, true}) {
      Owned e = stream ? FromStream(c.bytes) : FromMemory(c.bytes);
      ASSERT_NE(e, nullptr) << c.name;
      EXPECT_TRUE(e->IsValid()) << c.name;
      EXPECT_EQ(e->VR(), c.vr) << c.name << " " << e->VRText();
      EXPECT_EQ(e->Size(), c.size) << c.name;
    }
  }
  Owned us = FromMemory(cases[1].bytes);
  EXPECT_EQ(us->GetCount(), 1);
  EXPECT_EQ(us->GetUShort(), 0x0200);
}

TEST_F(ImplicitFactory, SequencesOfDefinedAndUndefinedLength) {
  Bytes inner;
  inner.implicit(0x0008, 0x1150, "1.2").implicit(0x0008, 0x1155, "1.3");
  Bytes undefinedSq;
  undefinedSq.tag(0x0008, 0x1115).u32(0xFFFFFFFF).item(inner.size()).add(inner).item(0xFFFFFFFF).add(inner).itemEnd()
      .sequenceEnd();
  for (bool stream : {false, true}) {
    Owned sq = stream ? FromStream(undefinedSq) : FromMemory(undefinedSq);
    ASSERT_NE(sq, nullptr);
    ASSERT_EQ(sq->GetSequence()->Count(), 3u);
    EXPECT_EQ(sq->GetSequence()->At(2)->Tag(), 0xFFFEE0DDu);
    EXPECT_EQ(sq->GetSequence()->At(1)->GetItem()->Count(), 3u);  // two elements and the delimiter
    EXPECT_EQ(sq->Size(), undefinedSq.size());
  }
  Owned empty = FromMemory(Bytes().tag(0x0008, 0x1115).u32(0));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->GetSequence()->Count(), 0u);
  // Items that overrun the sequence's defined length.
  Bytes overrun;
  overrun.tag(0x0008, 0x1115).u32(8).item(inner.size()).add(inner);
  EXPECT_EQ(FromMemory(overrun), nullptr);
  EXPECT_EQ(FromStream(overrun), nullptr);
  // An item directly inside an item, from memory.
  Bytes nestedItem;
  nestedItem.tag(0x0008, 0x1115).u32(0xFFFFFFFF).item(0xFFFFFFFF).item(0).itemEnd().sequenceEnd();
  EXPECT_EQ(FromMemory(nestedItem), nullptr);
}

TEST_F(ImplicitFactory, UndefinedLengthValuesAreReadAsSequencesOfItems) {
  Bytes items;
  items.item(0xFFFFFFFF).implicit(0x0010, 0x0010, "Doe^J ").itemEnd().sequenceEnd();
  for (uint16_t group : {0x0029, 0x0028}) {
    Bytes b;
    b.tag(group, 0x1010).u32(0xFFFFFFFF).add(items);
    for (bool stream : {false, true}) {
      Owned e = stream ? FromStream(b) : FromMemory(b);
      ASSERT_NE(e, nullptr) << group;
      ASSERT_NE(e->GetSequence(), nullptr);
      EXPECT_EQ(e->GetSequence()->Count(), 2u);
      EXPECT_EQ(e->Size(), b.size());
    }
  }
  // Implicit VR has no encapsulated pixel data: refused, not read as an empty value.
  Bytes pixels;
  pixels.tag(0x7FE0, 0x0010).u32(0xFFFFFFFF).item(0).item(2).raw({1, 2}).sequenceEnd();
  EXPECT_EQ(FromMemory(pixels), nullptr);
  EXPECT_EQ(FromStream(pixels), nullptr);
}

TEST_F(ImplicitFactory, ReadsNeverPassTheEndOfTheData) {
  const Bytes cases[] = {
      Bytes().tag(0x0010, 0x0010).u32(100).str("Doe"),                // value beyond the end
      Bytes().tag(0x0010, 0x0010).u32(0x7FFFFFF0).str("Doe"),         // a huge length: no allocation
      Bytes().tag(0x0008, 0x1115).u32(0xFFFFFFFF).item(0xFFFFFFFF),   // items without their end
      Bytes().tag(0x0008, 0x1115).u32(0xFFFFFFFF).item(40).implicit(0x0010, 0x0010, "Doe "),
      Bytes().tag(0x0010, 0x00),                                      // a header cut short
  };
  for (const Bytes& b : cases) {
    EXPECT_EQ(FromMemory(b), nullptr);
    EXPECT_EQ(FromStream(b), nullptr);
  }
}

TEST_F(ImplicitFactory, AStreamEndingInsideADelimiterFailsTheSequence) {
  Bytes b;
  b.tag(0x0008, 0x1115).u32(0xFFFFFFFF).item(0xFFFFFFFF).implicit(0x0010, 0x0020, "42").itemEnd().sequenceEnd();
  EXPECT_NE(FromStream(b), nullptr);
  for (size_t cut : {2u, 5u}) {  // inside the sequence delimiter's tag, inside its length
    Bytes shorter = b;
    shorter.b.resize(b.b.size() - 8 + cut);
    EXPECT_EQ(FromStream(shorter), nullptr) << cut;
    EXPECT_EQ(FromMemory(shorter), nullptr) << cut;
  }
  Bytes itemCut = b;
  itemCut.b.resize(b.b.size() - 8 - 3);  // inside the item delimiter
  EXPECT_EQ(FromStream(itemCut), nullptr);
}

TEST_F(ImplicitFactory, DeepNestingIsRefused) {
  Bytes deep;
  for (int i = 0; i < 200; ++i) deep.tag(0x0008, 0x1115).u32(0xFFFFFFFF).item(0xFFFFFFFF);
  for (int i = 0; i < 200; ++i) deep.itemEnd().sequenceEnd();
  EXPECT_EQ(FromMemory(deep), nullptr);
  EXPECT_EQ(FromStream(deep), nullptr);
  Bytes fits;
  for (int i = 0; i < 20; ++i) fits.tag(0x0008, 0x1115).u32(0xFFFFFFFF).item(0xFFFFFFFF);
  for (int i = 0; i < 20; ++i) fits.itemEnd().sequenceEnd();
  EXPECT_NE(FromMemory(fits), nullptr);
  EXPECT_NE(FromStream(fits), nullptr);
}

TEST_F(ImplicitFactory, StreamMessagesNameTheFailingElementItemAndSequence) {
  Bytes good;
  good.implicit(0x0010, 0x0020, "42");
  Bytes b;
  b.tag(0x0008, 0x1115).u32(0xFFFFFFFF).item(good.size()).add(good).item(0xFFFFFFFF).add(good)
      .tag(0x0010, 0x0010).u32(64).str("cut");
  Owned sq = FromStream(b);
  EXPECT_EQ(sq, nullptr);
  ASSERT_NE(f.GetLastMessage(), nullptr);
  EXPECT_STREQ(f.GetLastMessage(), "Cannot make DDE[0010,0010] of Item[2] of SQ[0008,1115]");
  // At the end of the stream: null, message unchanged.
  std::istringstream atEnd;
  atEnd.get();
  EXPECT_EQ(f.MakeDDEFromStream(atEnd), nullptr);
  EXPECT_STREQ(f.GetLastMessage(), "Cannot make DDE[0010,0010] of Item[2] of SQ[0008,1115]");
}

TEST_F(ImplicitFactory, PixelDataInAnItemRaisesTheFlagWhileItIsRead) {
  class Watching : public TanImplicitDDEFactory {
   public:
    iDDE* MakeDDEFromMemory(const void* p) override {
      if (MakeTag(p) == 0x7FE00010u) seen = FPixelDataInItem;
      return TanImplicitDDEFactory::MakeDDEFromMemory(p);
    }
    int seen = -1;
  } w;
  Bytes b;
  b.tag(0x0088, 0x0200).u32(0xFFFFFFFF).item(10).implicit(0x7FE0, 0x0010, "\1\2").sequenceEnd();
  auto buf = b.copy();
  Owned sq(w.MakeDDEFromRange(buf.get(), buf.get() + b.size()));
  ASSERT_NE(sq, nullptr);
  EXPECT_EQ(w.seen, 1);
  EXPECT_EQ(w.FPixelDataInItem, 0);
  EXPECT_EQ(w.FInIconSequence, 0);
}

TEST_F(ImplicitFactory, MakingElementsFromValues) {
  Owned cs(f.MakeDDE(0x0008, 0x0060, 2, "CT", "MR"));
  EXPECT_EQ(cs->GetString(), "CT\\MR");
  Owned pn(f.MakeDDE(0x0010, 0x0010, 3, "A", "B", "C"));
  EXPECT_EQ(pn->GetString(), "A=B=C");
  Owned rows(f.MakeDDE(0x0028, 0x0010, 1, 512));
  EXPECT_EQ(rows->GetUShort(), 512);
  EXPECT_EQ(rows->Length(), 2u);
  Owned wrapped(f.MakeDDE(0x0028, 0x0010, 1, 70000));
  EXPECT_EQ(wrapped->GetUShort(), 4464);
  Owned fd(f.MakeDDE(0x0040, 0x9224, 1, 1.5));
  double d = 0;
  ASSERT_TRUE(fd->GetDoubleAt(d, 0));
  EXPECT_EQ(d, 1.5);
  EXPECT_EQ(fd->Length(), 8u);
  Owned lt(f.MakeDDE(0x0010, 0x4000, 2, "first", "second"));
  EXPECT_EQ(lt->GetString(), "first");
  const uint8_t three[] = {1, 2, 3};
  Owned ob(f.MakeDDE(0x0002, 0x0001, 1, 3u, three));
  EXPECT_EQ(ob->GetLength(), 4u);
  Owned sq(f.MakeDDE(0x0008, 0x1115, 1, 1));
  EXPECT_EQ(sq->Length(), kUndefinedLength);
  EXPECT_EQ(sq->GetSequence()->Count(), 1u);
  Owned item(f.MakeDDE(0xFFFE, 0xE000, 0));
  EXPECT_EQ(item->VR(), vr::no);
  EXPECT_EQ(item->Length(), 0u);
  Owned pixels(f.MakeDDE(0x7FE0, 0x0010, 1, 3u, three));
  EXPECT_EQ(pixels->VR(), vr::OW);
  Owned creator(f.MakeDDE(0x0029, 0x0010, 1, "ACME"));
  EXPECT_EQ(creator->VR(), vr::LO);
  Owned priv(f.MakeDDE(0x0029, 0x1010, 1, 3u, three));
  EXPECT_EQ(priv->VR(), vr::UN);
  Owned withVR(f.MakeDDEWithVR(0x0028, 0x0010, "SS", 1, 5));
  EXPECT_EQ(withVR->VR(), vr::US);
  Owned undefinedSq(f.MakeSequence(0x0008, 0x1140, 1));
  EXPECT_EQ(undefinedSq->Length(), kUndefinedLength);
  EXPECT_EQ(undefinedSq->GetSequence()->At(0)->Tag(), 0xFFFEE0DDu);
}

TEST_F(ImplicitFactory, ConvertsBigEndianElementsToLittleEndian) {
  TanExplicitBEFactory be;
  Bytes b;
  b.big = true;
  b.tag(0x0028, 0x0010).str("US").u16(4).u16(0x0102).u16(7);
  auto buf = b.copy();
  Owned source(be.MakeDDEFromRange(buf.get(), buf.get() + b.size()));
  ASSERT_NE(source, nullptr);
  Owned made(f.MakeDDEFromDDE(source.get()));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->HeaderSize(), 8u);
  uint16_t v = 0;
  ASSERT_TRUE(made->GetUShortAt(v, 0));
  EXPECT_EQ(v, 0x0102);
  unsigned char out[12];
  made->CopyTo(out);
  EXPECT_EQ(out[8], 0x02);
  EXPECT_EQ(out[9], 0x01);
  // A sequence with an item converts element by element.
  Owned sq(f.MakeDDE(0x0008, 0x1115, 0));
  Owned item(f.MakeItem(0));
  item->GetItem()->Append(f.MakeDDE(0x0008, 0x1150, 1, "1.2"));
  sq->GetSequence()->Append(item.release());
  Owned copy(f.MakeDDEFromDDE(sq.get()));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Size(), sq->Size());
}

}  // namespace
}  // namespace ORN_dicom
