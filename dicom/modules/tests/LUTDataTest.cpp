#include <gtest/gtest.h>

#include <stdexcept>
#include <typeinfo>

#include "dicom/modules/TanLUTData.h"

namespace {

using ndl_impl::TanLUTData16;
using ndl_impl::TanLUTData8;
using ndl_impl::TanLUTDataGeneral;

TEST(LUTData, LookupClampsAtBothEnds) {
  const unsigned char e[] = {10, 20, 30};
  TanLUTData8 t(e, 3, -1, u"");
  EXPECT_EQ(t.GetLastMapped(), 1);
  EXPECT_EQ(t.GetCount(), 3);
  const struct {
    int in, out;
  } cases[] = {{-5, 10}, {-1, 10}, {0, 20}, {1, 30}, {100, 30}, {INT32_MIN, 10}, {INT32_MAX, 30}};
  for (const auto& c : cases) EXPECT_EQ(t.Lookup(c.in), c.out) << c.in;

  std::vector<unsigned short> big(4096);
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<unsigned short>(i * 16);
  big.back() = 0xFFFF;
  TanLUTData16 wide(big.data(), 4096, -1024, u"");
  EXPECT_EQ(wide.Lookup(-1024), 0);
  EXPECT_EQ(wide.Lookup(3071), 65535);
  const unsigned char ff[] = {0xFF};
  EXPECT_EQ(TanLUTData8(ff, 1, 0, u"").Lookup(0), 255);
}

TEST(LUTData, EmptyTablesKeepTheirRange) {
  TanLUTData16 none(nullptr, 5, 0, u"");
  EXPECT_TRUE(none.IsEmpty());
  EXPECT_EQ(none.GetCount(), 5);
  EXPECT_EQ(none.GetMinValue(), 0);
  EXPECT_EQ(none.GetMaxValue(), 0);
  EXPECT_THROW(none.Lookup(2), std::out_of_range);
  const unsigned short e[] = {1};
  TanLUTData16 zero(e, 0, 7, u"");
  EXPECT_TRUE(zero.IsEmpty());
  EXPECT_EQ(zero.GetCount(), 0);
  EXPECT_EQ(zero.GetLastMapped(), 6);
  const unsigned short m[] = {5, 3, 3, 9};
  TanLUTData16 mm(m, 4, 0, u"");
  EXPECT_EQ(mm.GetMinValue(), 3);
  EXPECT_EQ(mm.GetMaxValue(), 9);
}

TEST(LUTData, ExplanationsEqualityAndAssign) {
  const unsigned char e8[] = {1, 2};
  const unsigned short e16[] = {1, 2};
  TanLUTData8 a(e8, 2, 0, u"x"), b(e8, 2, 0, u"y");
  EXPECT_FALSE(a.IsEqual(&b));
  EXPECT_TRUE(a.TanLUTDataGeneral<unsigned char>::IsEqual(&b));
  TanLUTData16 w(e16, 2, 0, u"x");
  EXPECT_FALSE(a.IsEqual(&w));
  EXPECT_FALSE(a.IsEqual(nullptr));
  EXPECT_THROW(a.Assign(w), std::bad_cast);

  TanLUTData8 none(e8, 2, 0, u"");
  EXPECT_EQ(none.GetExplanation(), nullptr);
  none.SetExplanation(u"text");
  EXPECT_EQ(std::u16string(none.GetExplanation()), u"text");
  none.SetExplanation(nullptr);
  EXPECT_EQ(none.GetExplanation(), nullptr);

  TanLUTDataGeneral<unsigned char> plain(e8, 2, 3);
  a.Assign(plain);
  EXPECT_EQ(a.GetExplanation(), nullptr);
  EXPECT_EQ(a.GetFirstMapped(), 3);
  a.Assign(a);
  EXPECT_EQ(a.GetFirstMapped(), 3);
  TanLUTData8 copy(b);
  EXPECT_TRUE(copy.IsEqual(&b));
}

}  // namespace
