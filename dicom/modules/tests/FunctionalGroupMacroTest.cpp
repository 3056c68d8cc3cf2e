#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dicom/modules/TanFunctionalGroupMacro.h"

namespace {

using Macro = ndl_impl::TanFunctionalGroupMacro<>;

TEST(Concatenation, EmptinessAndSetter) {
  ndl_impl::TanConcatination c;
  EXPECT_TRUE(c.IsEmpty());
  EXPECT_TRUE(c.SetConcatenation("1.2", 0, 1, -1));
  EXPECT_FALSE(c.IsEmpty());
  EXPECT_FALSE(c.SetConcatenation("", 0, 1, 2));
  EXPECT_FALSE(c.SetConcatenation("1.3", -1, 1, 2));
  EXPECT_FALSE(c.SetConcatenation(nullptr, 0, 1, 2));
  EXPECT_FALSE(c.SetConcatenation("1.3", 0, -1, 2));
  EXPECT_STREQ(c.GetConcatenationUID(), "1.2");
}

Macro Full() {
  Macro m;
  m.SetFrameLaterality('L').SetFrameType("ORIGINAL\\PRIMARY");
  m.ModalityLUT.SetRescale(2, 1, 0);
  m.FrameContent.SetStackID("1");
  return m;
}

TEST(FunctionalGroupMacro, EmptinessRule) {
  EXPECT_FALSE(Full().IsEmpty());
  Macro lower = Full();
  lower.SetFrameLaterality('l');
  Macro noType = Full();
  noType.SetFrameType("");
  Macro noModality = Full();
  noModality.ModalityLUT.Clear();
  Macro noContent = Full();
  noContent.FrameContent.Clear();
  for (const Macro* m : {&lower, &noType, &noModality, &noContent}) EXPECT_TRUE(m->IsEmpty());
  EXPECT_TRUE(Macro().IsEmpty());
}

TEST(FunctionalGroupMacro, CopiesDeeplyAndDropsEmptyVOIObjects) {
  Macro a = Full();
  a.FrameVOILUTs.InsertNew(-1).SetLinearWindow(40, 400, u"w");
  Macro b(a);
  EXPECT_TRUE(b.IsEqual(a));
  a.FrameVOILUTs.At(0).SetExplanation(u"changed");
  EXPECT_FALSE(b.IsEqual(a));
  a.ModalityLUT.SetRescale(2, 3, 0);
  EXPECT_DOUBLE_EQ(static_cast<double>(b.ModalityLUT.GetFirstMapped()), 1.0);
  Macro onlyEmpty = Full();
  onlyEmpty.FrameVOILUTs.InsertNew(-1);
  Macro copy(onlyEmpty);
  EXPECT_EQ(copy.FrameVOILUTs.GetCount(), 0u);
}

TEST(FunctionalGroupMacro, FrameOrder) {
  struct Key {
    const char* stack;
    int position, temporal;
  };
  auto sorted = [](std::vector<Key> keys) {
    ndl_impl::TanFunctionalGroupMacroCollection<> macros;
    for (const auto& k : keys)
      macros.InsertNew(-1).FrameContent.SetStackID(k.stack).SetInStackPositionNumber(k.position).SetTemporalPositionIndex(
          k.temporal);
    std::vector<Macro> v;
    for (uint32_t i = 0; i < macros.GetCount(); ++i) v.push_back(static_cast<const Macro&>(macros.At(i)));
    for (size_t i = 0; i < v.size(); ++i) v[i].SetFrameNumber(static_cast<int32_t>(i));
    std::stable_sort(v.begin(), v.end(), [](const Macro& a, const Macro& b) { return ndl_impl::FrameOrderLess(a, b); });
    std::vector<int> order;
    for (const auto& m : v) order.push_back(m.GetFrameNumber());
    return order;
  };
  EXPECT_EQ(sorted({{"1", 2, 0}, {"1", 1, 5}, {"10", 1, 0}, {"2", 1, 0}, {"1", 1, 3}}),
            (std::vector<int>{4, 1, 0, 2, 3}));
  EXPECT_EQ(sorted({{"2", 1, 0}, {"1", 1, 9}}), (std::vector<int>{1, 0}));
  EXPECT_EQ(sorted({{"1", -1, 0}, {"1", 7, 0}}), (std::vector<int>{1, 0}));
  EXPECT_EQ(sorted({{"1", 1, -1}, {"1", 1, 0}}), (std::vector<int>{1, 0}));
  EXPECT_EQ(sorted({{"1", 1, 1}, {"1", 1, 1}, {"", 5, 5}}), (std::vector<int>{2, 0, 1}));
}

}  // namespace
