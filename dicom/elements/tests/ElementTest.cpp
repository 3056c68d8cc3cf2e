#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "base/memory/TanORNMemoryHeapAllocator.h"
#include "dicom/elements/element/ElementClasses.h"
#include "dicom/elements/tests/LoadDictionary.h"

namespace ORN_dicom {
namespace {

using Bytes = std::vector<unsigned char>;

class Element : public ::testing::Test {
 protected:
  void SetUp() override { testing::LoadDictionary(); }
};

// Every class is made in the pool of its own size and released there.
template <class T>
void CheckPool(uint16_t vrCode) {
  SCOPED_TRACE(sizeof(T));
  using Handle = nalloc::TanORNMemoryHeapAllocator<T>;
  const int32_t before = Handle::UseCount();
  T* e = new T(0x0011, 0x0010, vrCode);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(Handle::UseCount(), before + 1);
  EXPECT_NE(Handle::PoolPointer(), nullptr);
  iDDE* asInterface = e;
  delete asInterface;
  EXPECT_EQ(Handle::UseCount(), before);
}

TEST_F(Element, EachClassLivesInThePoolOfItsSize) {
  CheckPool<dde::ImplicitDelimiter>(vr::no);
  CheckPool<dde::ImplicitItem>(vr::no);
  CheckPool<dde::ImplicitText>(vr::LO);
  CheckPool<dde::ImplicitUS>(vr::US);
  CheckPool<dde::ShortText>(vr::LO);
  CheckPool<dde::LongBytes>(vr::OB);
  CheckPool<dde::LongPixelData>(vr::OB);
  CheckPool<dde::ShortFDBE>(vr::FD);
  CheckPool<dde::LongSequenceBE>(vr::SQ);
}

TEST_F(Element, ReadFromRecordsInBothByteOrders) {
  struct Case {
    Bytes record;
    bool bigEndian;
    uint16_t group, element;
    const char* vr;
    uint32_t length, headerSize;
    const char* tagText;
    std::string text;
  };
  const Case cases[] = {
      {{0x28, 0x00, 0x10, 0x00, 'U', 'S', 0x02, 0x00, 0x00, 0x02}, false, 0x0028, 0x0010, "US", 2, 8, "0028,0010", "512"},
      {{0x00, 0x28, 0x00, 0x10, 'U', 'S', 0x00, 0x02, 0x02, 0x00}, true, 0x0028, 0x0010, "US", 2, 8, "0028,0010", "512"},
      {{0x08, 0x00, 0x60, 0x00, 'C', 'S', 0x02, 0x00, 'C', 'T'}, false, 0x0008, 0x0060, "CS", 2, 8, "0008,0060", "CT"},
      {{0x00, 0x08, 0x00, 0x60, 'C', 'S', 0x00, 0x02, 'M', 'R'}, true, 0x0008, 0x0060, "CS", 2, 8, "0008,0060", "MR"},
      {{0x10, 0x00, 0x10, 0x00, 0x04, 0x00, 0x00, 0x00, 'A', '^', 'B', ' '}, false, 0x0010, 0x0010, "PN", 4, 8, "0010,0010", "A^B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tagText);
    std::unique_ptr<iDDE> e;
    if (c.bigEndian) {
      if (c.vr == std::string("US")) e.reset(new dde::ShortUSBE(c.record.data()));
      else e.reset(new dde::ShortTextBE(c.record.data()));
    } else if (c.record[4] == 'U') {
      e.reset(new dde::ShortUS(c.record.data()));
    } else if (c.record[4] == 'C') {
      e.reset(new dde::ShortText(c.record.data()));
    } else {
      e.reset(new dde::ImplicitText(c.record.data()));
    }
    EXPECT_TRUE(e->IsValid());
    EXPECT_EQ(e->FHeader->FTag->FGroup->Group(), c.group);
    EXPECT_EQ(e->FHeader->FTag->FElement->Element(), c.element);
    EXPECT_EQ(e->Tag(), uint32_t{c.group} << 16 | c.element);
    EXPECT_EQ(e->FHeader->FVR->VRText(), c.vr);
    EXPECT_EQ(e->FHeader->FVL->Length(), c.length);
    EXPECT_EQ(e->HeaderSize(), c.headerSize);
    EXPECT_EQ(e->TagText(), c.tagText);
    EXPECT_EQ(e->GroupText() + "," + e->ElementText(), c.tagText);
    EXPECT_EQ(e->FValueInterface->GetString(), c.text);
    EXPECT_EQ(e->Size(), c.record.size());
    Bytes out(e->Size());
    EXPECT_EQ(e->CopyTo(out.data()), e.get());
    EXPECT_EQ(out, c.record);
    std::ostringstream os;
    e->WriteTo(os);
    EXPECT_EQ(os.str(), std::string(c.record.begin(), c.record.end()));
  }
}

TEST_F(Element, UndefinedLengthRecordMakesAnEmptyValue) {
  const Bytes sq = {0x08, 0x00, 0x15, 0x11, 'S', 'Q', 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  dde::LongSequence e(sq.data());
  EXPECT_EQ(e.Length(), kUndefinedLength);
  EXPECT_EQ(e.LengthText(), "FFFFFFFFh");
  EXPECT_EQ(e.GetLength(), 0u);
  EXPECT_EQ(e.Size(), 12u);
}

TEST_F(Element, FromStream) {
  const std::string bytes("\x28\x00\x10\x00US\x02\x00\x00\x02" "\x28\x00\x11\x00US", 16);
  std::istringstream in(bytes);
  dde::ShortUS rows(in);
  EXPECT_TRUE(rows.IsValid());
  EXPECT_EQ(rows.GetUShort(), 512);
  dde::ShortUS cut(in);  // ends inside its header
  EXPECT_FALSE(cut.IsValid());
  EXPECT_FALSE(cut.IsHeaderValid());
  std::istringstream shortValue(std::string("\x08\x00\x60\x00" "CS\x04\x00" "CT", 10));
  dde::ShortText cs(shortValue);  // ends inside its value
  EXPECT_TRUE(cs.IsHeaderValid());
  EXPECT_FALSE(cs.IsValid());
  EXPECT_STREQ(cs.GetLastError(), "Incorrect file stream operation.");
}

TEST_F(Element, EmptyExplicitLongElementWritesItsHeaderOnly) {
  dde::LongBytes ob(0x0009, 0x1001, vr::OB);
  EXPECT_EQ(ob.Size(), 12u);
  Bytes out(12, 0xAA);
  ob.CopyTo(out.data());
  EXPECT_EQ(out, (Bytes{0x09, 0x00, 0x01, 0x10, 'O', 'B', 0, 0, 0, 0, 0, 0}));
  dde::ImplicitDelimiter delimiter(0xFFFE, 0xE00D, vr::no);
  EXPECT_EQ(delimiter.Size(), 8u);
  Bytes d(8);
  delimiter.CopyTo(d.data());
  EXPECT_EQ(d, (Bytes{0xFE, 0xFF, 0x0D, 0xE0, 0, 0, 0, 0}));
  dde::ImplicitDelimiterBE delimiterBE(0xFFFE, 0xE0DD, vr::no);
  delimiterBE.CopyTo(d.data());
  EXPECT_EQ(d, (Bytes{0xFF, 0xFE, 0xE0, 0xDD, 0, 0, 0, 0}));
}

TEST_F(Element, HeaderLengthFollowsTheValue) {
  struct Counter {
    int calls = 0;
    static void On(void* self) { ++static_cast<Counter*>(self)->calls; }
  } owner;
  dde::ShortText lo(0x0010, 0x0020, vr::LO, "0123456789", 10);
  lo.FOnChange = {&Counter::On, &owner};
  lo.SetString("0123456789AB");
  EXPECT_EQ(lo.Length(), 12u);
  EXPECT_EQ(owner.calls, 1);
  lo.SetString("odd");
  EXPECT_EQ(lo.Length(), 4u);

  // Undefined length: stays while the value is not empty; becomes 0 when it is.
  dde::LongSequence sq(0x0008, 0x1115, vr::SQ, kUndefinedLength);
  EXPECT_EQ(sq.Length(), kUndefinedLength);
  dde::LongSequence::OnValueLengthChanged(&sq, 20);
  EXPECT_EQ(sq.Length(), kUndefinedLength);
  dde::LongSequence::OnValueLengthChanged(&sq, 0);
  EXPECT_EQ(sq.Length(), 0u);
  dde::LongSequence::OnValueLengthChanged(&sq, 20);
  EXPECT_EQ(sq.Length(), 20u);

  // Big-endian headers store the new length big endian.
  dde::ShortUSBE us(0x0028, 0x0010, vr::US);
  us.AddUShort(1).AddUShort(2);
  Bytes out(us.Size());
  us.CopyTo(out.data());
  EXPECT_EQ(out, (Bytes{0x00, 0x28, 0x00, 0x10, 'U', 'S', 0x00, 0x04, 0x00, 0x01, 0x00, 0x02}));
}

TEST_F(Element, ValueTooLongForA16BitFieldIsRefusedAtConstruction) {
  const std::string big(70000, 'x');
  dde::ShortChars st(0x0008, 0x0081, vr::ST, big.data(), static_cast<uint32_t>(big.size()));
  EXPECT_FALSE(st.IsValid());
  EXPECT_STREQ(st.GetLastError(), TanValueBasis::kTooLongText);
  EXPECT_EQ(st.Length(), 0u);
  EXPECT_EQ(st.Size(), 8u);  // what is written matches the header
  dde::LongChars ut(0x0040, 0xA160, vr::UT, big.data(), static_cast<uint32_t>(big.size()));
  EXPECT_TRUE(ut.IsValid());
  EXPECT_EQ(ut.Length(), 70000u);
}

TEST_F(Element, OddLengthNumberElementWritesAllItsBytes) {
  const Bytes record = {0x28, 0x00, 0x10, 0x00, 'U', 'S', 0x03, 0x00, 0x01, 0x00, 0x7F};
  dde::ShortUS us(record.data());
  EXPECT_EQ(us.Size(), record.size());
  EXPECT_EQ(us.GetCount(), 1);
  Bytes out(us.Size());
  us.CopyTo(out.data());
  EXPECT_EQ(out, record);
}

TEST_F(Element, Description) {
  struct Case {
    uint16_t group, element;
    const char* text;
  } cases[] = {
      {0x0010, 0x0010, "Patient's Name"},
      {0x0009, 0x0010, "Private Creator Data Element"},
      {0x0009, 0x1000, "Private Data Element"},
      {0x0008, 0x0040, "RETIRED - Data Set Type"},
  };
  for (const Case& c : cases) {
    dde::LongBytes e(c.group, c.element, vr::UN);
    EXPECT_EQ(e.Description(), c.text);
  }
  dde::ShortUSBE be(0x0028, 0x0010, vr::US);
  EXPECT_EQ(be.Description(), "Rows");
}

TEST(ElementWithoutDictionary, DescriptionThrows) {
  if (orn_dicom::IsDDERegistryReady()) GTEST_SKIP() << "dictionary already loaded in this process";
  dde::ShortUS e(0x0028, 0x0010, vr::US);
  EXPECT_THROW(e.Description(), std::runtime_error);
}

TEST_F(Element, ConvertingBetweenByteOrders) {
  dde::ShortUSBE be(0x0028, 0x0010, vr::US);
  be.AddUShort(0x0102);
  dde::ShortUS le(0x0028, 0x0010, vr::US, TanCVSingle<uint16_t, TanLEV>(be.ValuePart()));
  EXPECT_EQ(le.GetUShort(), 0x0102);
  EXPECT_EQ(le.Length(), 2u);
  dde::LongWordsBE owBE(0x7FE0, 0x0010, vr::OW, "\x01\x02\x03\x04", 4);
  dde::LongWords ow(0x7FE0, 0x0010, vr::OW, TanCVArray<uint16_t, TanLEV>(owBE.ValuePart()));
  EXPECT_EQ(ow.GetData()[0], 0x02);
  EXPECT_EQ(ow.GetString(), "0102|0304");
}

}  // namespace
}  // namespace ORN_dicom
