#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "dicom/elements/header/TanDDEHeader.h"
#include "dicom/elements/tests/LoadDictionary.h"

namespace ORN_dicom {
namespace {

using Bytes = std::vector<unsigned char>;

std::string AsString(const Bytes& b) { return std::string(b.begin(), b.end()); }

struct Expected {
  uint16_t group, element;
  const char* vr;  // null: the implicit form, VR not in the bytes
  uint32_t length;
  const char* tagText;
  const char* lengthText;
};

template <class H>
void CheckHeader(const Bytes& record, const Expected& e, const Bytes& written) {
  SCOPED_TRACE(e.tagText);
  H fromRecord(record.data());
  std::istringstream in(AsString(record));
  H fromStream(in);
  for (const H* h : {&fromRecord, &fromStream}) {
    EXPECT_TRUE(h->IsValid());
    EXPECT_EQ(h->Group(), e.group);
    EXPECT_EQ(h->Element(), e.element);
    EXPECT_EQ(h->Tag(), uint32_t{e.group} << 16 | e.element);
    if (e.vr != nullptr) {
      EXPECT_EQ(VRText(h->VR()), e.vr);
    }
    EXPECT_EQ(h->Length(), e.length);
    EXPECT_EQ(h->TagText(), e.tagText);
    EXPECT_EQ(h->LengthText(), e.lengthText);
    Bytes out(H::kSize, 0xAA);
    h->CopyTo(out.data());
    EXPECT_EQ(out, written);
    std::ostringstream os;
    h->WriteTo(os);
    EXPECT_EQ(os.str(), AsString(written));
  }
  // Made from values, the header writes the same bytes.
  H made(e.group, e.element, fromRecord.VR(), e.length);
  Bytes out(H::kSize);
  made.CopyTo(out.data());
  EXPECT_EQ(out, written);
}

TEST(HeaderBytes, ExplicitFormsInBothByteOrders) {
  // Explicit long LE: reserved bytes are skipped when read and written as zeros.
  CheckHeader<LongLE>({0xE0, 0x7F, 0x10, 0x00, 'O', 'W', 0x12, 0x34, 0x00, 0x10, 0x00, 0x00},
                      {0x7FE0, 0x0010, "OW", 4096, "7FE0,0010", "4096"},
                      {0xE0, 0x7F, 0x10, 0x00, 'O', 'W', 0x00, 0x00, 0x00, 0x10, 0x00, 0x00});
  CheckHeader<LongBE>({0x7F, 0xE0, 0x00, 0x10, 'O', 'B', 0xAB, 0xCD, 0x00, 0x00, 0x10, 0x00},
                      {0x7FE0, 0x0010, "OB", 4096, "7FE0,0010", "4096"},
                      {0x7F, 0xE0, 0x00, 0x10, 'O', 'B', 0x00, 0x00, 0x00, 0x00, 0x10, 0x00});
  CheckHeader<ShortLE>({0x28, 0x00, 0x10, 0x00, 'U', 'S', 0x02, 0x00},
                       {0x0028, 0x0010, "US", 2, "0028,0010", "2"},
                       {0x28, 0x00, 0x10, 0x00, 'U', 'S', 0x02, 0x00});
  CheckHeader<ShortBE>({0x00, 0x28, 0x00, 0x10, 'U', 'S', 0x00, 0x02},
                       {0x0028, 0x0010, "US", 2, "0028,0010", "2"},
                       {0x00, 0x28, 0x00, 0x10, 'U', 'S', 0x00, 0x02});
  CheckHeader<ShortLE>({0x08, 0x00, 0x18, 0x00, 'U', 'I', 0xFF, 0xFF},
                       {0x0008, 0x0018, "UI", 65535, "0008,0018", "65535"},
                       {0x08, 0x00, 0x18, 0x00, 'U', 'I', 0xFF, 0xFF});
  CheckHeader<LongLE>({0x08, 0x00, 0x15, 0x11, 'S', 'Q', 0, 0, 0xFF, 0xFF, 0xFF, 0xFF},
                      {0x0008, 0x1115, "SQ", 0xFFFFFFFF, "0008,1115", "FFFFFFFFh"},
                      {0x08, 0x00, 0x15, 0x11, 'S', 'Q', 0, 0, 0xFF, 0xFF, 0xFF, 0xFF});
}

class ImplicitHeader : public ::testing::Test {
 protected:
  void SetUp() override { testing::LoadDictionary(); }
};

TEST_F(ImplicitHeader, FormsInBothByteOrdersTakeTheDictionaryVR) {
  CheckHeader<ImplicitLE>({0x10, 0x00, 0x10, 0x00, 0x04, 0x00, 0x00, 0x00},
                          {0x0010, 0x0010, nullptr, 4, "0010,0010", "4"},
                          {0x10, 0x00, 0x10, 0x00, 0x04, 0x00, 0x00, 0x00});
  CheckHeader<ImplicitBE>({0xFF, 0xFE, 0xE0, 0x00, 0xFF, 0xFF, 0xFF, 0xFF},
                          {0xFFFE, 0xE000, nullptr, 0xFFFFFFFF, "FFFE,E000", "FFFFFFFFh"},
                          {0xFF, 0xFE, 0xE0, 0x00, 0xFF, 0xFF, 0xFF, 0xFF});
  const unsigned char name[] = {0x10, 0x00, 0x10, 0x00, 0x04, 0x00, 0x00, 0x00};
  EXPECT_EQ(VRText(ImplicitLE(name).VR()), "PN");
}

TEST_F(ImplicitHeader, PrivateUndefinedLengthIsASequenceOnlyInLittleEndian) {
  struct Case {
    Bytes bytes;
    bool bigEndian;
    const char* vr;
  } cases[] = {
      {{0x09, 0x00, 0x10, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}, false, "SQ"},
      {{0x09, 0x00, 0x10, 0x00, 0x0C, 0x00, 0x00, 0x00}, false, "LO"},  // private creator
      {{0x00, 0x09, 0x10, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}, true, "UN"},   // (0009,1000)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.vr);
    std::istringstream in(AsString(c.bytes));
    if (c.bigEndian) {
      EXPECT_EQ(VRText(ImplicitBE(c.bytes.data()).VR()), c.vr);
      EXPECT_EQ(VRText(ImplicitBE(in).VR()), c.vr);
    } else {
      EXPECT_EQ(VRText(ImplicitLE(c.bytes.data()).VR()), c.vr);
      EXPECT_EQ(VRText(ImplicitLE(in).VR()), c.vr);
    }
  }
}

// Runs alone in its process under ctest; skipped when the dictionary is already loaded.
TEST(ImplicitHeaderWithoutDictionary, OnlyTheMemoryFormOfAPrivateSequenceCanBeRead) {
  if (orn_dicom::IsDDERegistryReady()) GTEST_SKIP() << "dictionary already loaded in this process";
  const unsigned char sq[] = {0x09, 0x00, 0x10, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(ImplicitLE(sq).VR(), vr::SQ);
  std::istringstream in(std::string(reinterpret_cast<const char*>(sq), 8));
  try {
    ImplicitLE h(in);
    FAIL() << "the stream form asks the dictionary";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "DICOM Data Element Registry is uninitialized.");
  }
  // The explicit forms never ask.
  const unsigned char us[] = {0x28, 0x00, 0x10, 0x00, 'U', 'S', 0x02, 0x00};
  EXPECT_EQ(ShortLE(us).VR(), vr::US);
}

TEST(HeaderStream, ShortStreamGivesAnInvalidHeaderWithZeroFields) {
  struct Case {
    std::string bytes;
    uint16_t group;
    uint32_t length;
  } cases[] = {
      {std::string("\x28\x00\x10\x00US\x02", 7), 0x0028, 0},   // length cut
      {std::string("\x28\x00", 2), 0x0028, 0},                 // after the group
      {std::string("\x28", 1), 0, 0},                          // inside the group
  };
  for (const Case& c : cases) {
    std::istringstream in(c.bytes);
    ShortLE h(in);
    EXPECT_FALSE(h.IsValid());
    EXPECT_EQ(h.Group(), c.group);
    EXPECT_EQ(h.Length(), c.length);
  }
  // End of file right after a complete header is still valid.
  std::istringstream exact(std::string("\x28\x00\x10\x00US\x02\x00", 8));
  ShortLE h(exact);
  EXPECT_TRUE(h.IsValid());
  EXPECT_EQ(h.Length(), 2u);
}

TEST_F(ImplicitHeader, SixBytesOfAnImplicitHeaderAreNotValid) {
  std::istringstream in(std::string("\x10\x00\x10\x00\x04\x00", 6));
  ImplicitLE h(in);
  EXPECT_FALSE(h.IsValid());
  EXPECT_EQ(h.Length(), 0u);
}

TEST_F(ImplicitHeader, AssignReplacesTheVROfExplicitFormsOnly) {
  const unsigned char us[] = {0x28, 0x00, 0x10, 0x00, 'U', 'S', 0x02, 0x00};
  const unsigned char ss[] = {0x28, 0x00, 0x11, 0x00, 'S', 'S', 0x04, 0x00};
  ShortLE e(us);
  e.Assign(ss);
  EXPECT_EQ(e.VR(), vr::SS);
  EXPECT_EQ(e.Element(), 0x0011);
  EXPECT_EQ(e.Length(), 4u);
  const unsigned char rows[] = {0x28, 0x00, 0x10, 0x00, 0x02, 0x00, 0x00, 0x00};
  const unsigned char other[] = {0x10, 0x00, 0x10, 0x00, 0x06, 0x00, 0x00, 0x00};
  ImplicitLE i(rows);
  const uint16_t vrBefore = i.VR();
  i.Assign(other);
  EXPECT_EQ(i.VR(), vrBefore);
  EXPECT_EQ(i.Tag(), 0x00100010u);
  EXPECT_EQ(i.Length(), 6u);
}

TEST(HeaderLength, A16BitFieldRefusesLongerLengths) {
  ShortLE h(0x0010, 0x0010, vr::PN, 10);
  EXPECT_TRUE(h.SetLength(0xFFFF));
  EXPECT_FALSE(h.SetLength(0x10000));
  EXPECT_EQ(h.Length(), 0xFFFFu);  // unchanged, never the low 16 bits
  ShortLE tooLong(0x0010, 0x0010, vr::PN, 0x10001);
  EXPECT_FALSE(tooLong.IsValid());
  EXPECT_EQ(tooLong.Length(), 0u);
  ShortBE be(0x0010, 0x0010, vr::PN, 0);
  EXPECT_TRUE(be.SetLength(0x1234));
  EXPECT_EQ(be.FVL.Bytes()[0], 0x12);
}

TEST(TextForms, Table) {
  const uint16_t w = 0x7FE0, small = 0x0008;
  const unsigned char wBE[] = {0x7F, 0xE0};
  const uint16_t pair[] = {0x0028, 0x0010};
  const unsigned char pairBE[] = {0x00, 0x28, 0x00, 0x10};
  const uint32_t undefined = 0xFFFFFFFF, big = 0xFFFFFFFE;
  const unsigned char lenBE[] = {0x00, 0x00, 0x01, 0x00};
  const uint16_t shortMax = 0xFFFF;
  const unsigned char shortBE[] = {0x01, 0x02};
  struct Case {
    std::string got, want;
  } cases[] = {
      {HexWordText(&w), "7FE0"},          {HexWordText(&small), "0008"},
      {HexWordTextBE(wBE), "7FE0"},       {TagText(pair), "0028,0010"},
      {TagTextBE(pairBE), "0028,0010"},   {LengthText(&undefined), "FFFFFFFFh"},
      {LengthText(&big), "4294967294"},   {LengthTextBE(lenBE), "256"},
      {ShortLengthText(&shortMax), "65535"}, {ShortLengthTextBE(shortBE), "258"},
      {VRText(vr::SQ), "SQ"},             {VRText(vr::no), "no"},
      {VRText(vr::NO), "NO"},             {TagNumberText(0x7FE00010), "(7FE0,0010)"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.want);
  EXPECT_EQ(vr::SQ, 0x5153);
  EXPECT_EQ(vr::OB, 0x424F);
  EXPECT_EQ(vr::OW, 0x574F);
  EXPECT_EQ(vr::no, 0x6F6E);
  EXPECT_EQ(vr::NO, 0x4F4E);
  EXPECT_EQ(MakeTag(pair), 0x00280010u);
  EXPECT_EQ(MakeTagBigEndian(pairBE), 0x00280010u);
}

TEST(ByteOrder, BigEndianCodecReversesBytesOfEveryWidth) {
  unsigned char b[8];
  TanBEV<uint32_t>::Encode(b, 0x01020304);
  EXPECT_EQ(Bytes(b, b + 4), (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(TanBEV<uint32_t>::Decode(b), 0x01020304u);
  TanBEV<double>::Encode(b, 2.5);
  EXPECT_EQ(b[0], 0x40);
  EXPECT_EQ(TanBEV<double>::Decode(b), 2.5);
  TanBEV<int16_t>::Encode(b, -2);
  EXPECT_EQ(b[0], 0xFF);
  EXPECT_EQ(b[1], 0xFE);
  EXPECT_EQ(TanBEV<int16_t>::Decode(b), -2);
  TanVF<float, TanBEV> f(1.0f);
  TanVF<float, TanBEV> g;
  g = f;
  EXPECT_EQ(g.Get(), 1.0f);
  EXPECT_EQ(g.Bytes()[0], 0x3F);
}

}  // namespace
}  // namespace ORN_dicom
