#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "dicom/modules/TanImageSOPInstanceReferenceMacro.h"

namespace {

using ndl_impl::TanImageSOPInstanceReferenceMacro;
using ndl_impl::TanSOPUIDPair;
using Set = ndl_impl::TanImageSOPInstanceReferenceMacroSet<>;

TEST(ImageReference, FrameZeroMatchesEveryFrameOfTheSameImage) {
  TanImageSOPInstanceReferenceMacro all("1.2", "1.2.3", 0);
  for (int frame : {1, 2, 5}) {
    TanImageSOPInstanceReferenceMacro one("1.2", "1.2.3", frame);
    EXPECT_TRUE(all.IsEqual(&one));
    EXPECT_TRUE(one.IsEqual(&all));
  }
  TanImageSOPInstanceReferenceMacro two("1.2", "1.2.3", 2), three("1.2", "1.2.3", 3);
  EXPECT_FALSE(two.IsEqual(&three));
  TanImageSOPInstanceReferenceMacro blank("1.2 ", "1.2.3", 2);
  EXPECT_FALSE(two.IsEqual(&blank));
  EXPECT_FALSE(two.IsEqual(nullptr));
  TanSOPUIDPair pair("1.2", "1.2.3");
  EXPECT_FALSE(two.IsEqual(&pair));
}

TEST(ImageReference, ConstructorsAndSettersRefuseBadArguments) {
  EXPECT_THROW(TanSOPUIDPair(nullptr, "1"), std::runtime_error);
  try {
    TanImageSOPInstanceReferenceMacro("1", "2", -1);
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "IMAGE-SOP-INSTANCE-REFERENCE-MACRO-initializetion-error");
  }
  TanImageSOPInstanceReferenceMacro r("1.2", "1.2.3", 4);
  EXPECT_FALSE(r.SetReference("1.2", "", 1));
  EXPECT_FALSE(r.SetReference(nullptr, "5", 1));
  EXPECT_FALSE(r.SetReference("1.2", "5", -1));
  EXPECT_STREQ(r.GetSOPInstanceUID(), "1.2.3");
  EXPECT_EQ(r.GetFrameNumber(), 4);
  EXPECT_TRUE(r.SetUIDs("9", "8"));
  EXPECT_EQ(r.GetFrameNumber(), 1);
}

TEST(ImageReference, AssignFromEmptyAndFromPlainPair) {
  TanImageSOPInstanceReferenceMacro target("1", "2", 3), empty;
  target.Assign(empty);
  EXPECT_TRUE(target.IsEmpty());
  EXPECT_EQ(target.GetFrameNumber(), -1);
  target.Assign(TanSOPUIDPair("4", "5"));
  EXPECT_EQ(target.GetFrameNumber(), 1);
  EXPECT_STREQ(target.GetSOPClassUID(), "4");
}

TEST(ReferenceCollection, InsertAccessEraseAndClear) {
  Set set;
  EXPECT_THROW(set.Front(), std::out_of_range);
  set.InsertNew(-1);
  EXPECT_EQ(set.GetCount(), 1u);
  EXPECT_TRUE(set.IsEmpty());
  set.Back().SetReference("1", "2", 0);
  EXPECT_FALSE(set.IsEmpty());
  TanImageSOPInstanceReferenceMacro probe("1", "2", 7);
  EXPECT_TRUE(set.Contains(&probe));
  EXPECT_FALSE(set.Contains(nullptr));
  try {
    set.At(1);
    FAIL();
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "out-of-bounds");
  }
  set.InsertNew(0).SetReference("3", "4", 2);
  EXPECT_STREQ(set.Front().GetSOPClassUID(), "3");
  Set copy(set);
  set.Erase(-1);
  set.Erase(-1);
  EXPECT_EQ(set.GetCount(), 0u);
  EXPECT_TRUE(set.IsEmpty());
  EXPECT_EQ(copy.GetCount(), 2u);
  copy = copy;
  EXPECT_EQ(copy.GetCount(), 2u);
  copy.Clear();
  EXPECT_EQ(copy.GetCount(), 0u);
}

}  // namespace
