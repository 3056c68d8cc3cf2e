// Shared helpers of the module tests: an explicit little-endian factory and short ways to put
// attributes into a data set.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "dicom/elements/dataset/TanIOD.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ndl_test {

class ModulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ORN_dicom::EnsureDDERegistry();
    FFactory = std::make_unique<ORN_dicom::TanDDEFactory>(2);
    ASSERT_NE(FFactory->Get(), nullptr);
  }
  ORN_dicom::iDDEFactory* F() { return FFactory->Get(); }

  void Text(ORN_dicom::TanDDESet<ORN_dicom::iDDE>& set, uint16_t g, uint16_t e, const char* value) {
    ASSERT_TRUE(set.Insert(F()->MakeDDE(g, e, 1, value)));
  }
  void Number(ORN_dicom::TanDDESet<ORN_dicom::iDDE>& set, uint16_t g, uint16_t e, int value) {
    ASSERT_TRUE(set.Insert(F()->MakeDDE(g, e, 1, value)));
  }
  std::string StringOf(ORN_dicom::TanDDESet<ORN_dicom::iDDE>& set, uint32_t tag) {
    ORN_dicom::iDDE* e = set.Find(tag);
    return e == nullptr ? "<absent>" : e->GetString();
  }
  size_t ValueLength(ORN_dicom::TanDDESet<ORN_dicom::iDDE>& set, uint32_t tag, uint32_t i) {
    std::string text;
    ORN_dicom::iDDE* e = set.Find(tag);
    if (e == nullptr || !e->GetStringAt(text, i)) return 0;
    return text.size();
  }
  int CountOf(ORN_dicom::TanDDESet<ORN_dicom::iDDE>& set, uint32_t tag) {
    int n = 0;
    for (uint32_t i = 0; i < set.Count(); ++i) n += set.At(i)->Tag() == tag ? 1 : 0;
    return n;
  }

  std::unique_ptr<ORN_dicom::TanDDEFactory> FFactory;
};

}  // namespace ndl_test
