#include <gtest/gtest.h>

#include <cmath>

#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/tests/RecordTestSupport.h"

namespace ORN_dicom {
namespace {

using testing::BuiltFile;

class SrDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::LoadDictionary();
    b.StandardMeta("1.2.840.10008.5.1.4.1.1.88.33");
  }
  // Verifying observers, one item each; nullptr gives an item without a date-time.
  void Observers(std::initializer_list<const char*> times) {
    iDDE* sq = b.Factory().MakeSequence(0x0040, 0xA073, 0);
    int n = 0;
    for (const char* t : times) {
      iDDE* item = b.Factory().MakeItem(0);
      const std::string name = "Observer" + std::to_string(++n);
      item->GetItem()->Insert(b.Factory().MakeDDE(0x0040, 0xA075, 1, name.c_str()));
      if (t != nullptr) item->GetItem()->Insert(b.Factory().MakeDDE(0x0040, 0xA030, 1, t));
      sq->GetSequence()->Append(item);
    }
    b.Add(sq);
  }
  BuiltFile b;
};

TEST_F(SrDocumentTest, FlagsDefaultAndNoDateTimeUnlessVerified) {
  Observers({"20240101120000"});
  TanSrDocumentIE r(b.File);
  EXPECT_EQ(r.GetText(0x0040A491), "PARTIAL");
  EXPECT_EQ(r.GetText(0x0040A493), "UNVERIFIED");
  EXPECT_EQ(r.GetDataSet().Find(0x0040A030), nullptr);
}

TEST_F(SrDocumentTest, VerifiedWithoutObserversGetsAnEmptyDateTime) {
  b.Text(0x0040A493, " VERIFIED ");
  TanSrDocumentIE r(b.File);
  ASSERT_NE(r.GetDataSet().Find(0x0040A030), nullptr);
  EXPECT_EQ(r.GetDataSet().Find(0x0040A030)->GetLength(), 0u);
}

TEST_F(SrDocumentTest, TheLatestObserverIsChosen) {
  struct Case {
    const char* name;
    std::initializer_list<const char*> times;
    const char* expected;  // "" for an empty (0040,A030)
  } cases[] = {
      {"latest wins", {"20240101120000", "20240301", "20240201"}, "20240301"},
      {"noon beats a second earlier", {"20240101120000", "20240101115959"}, "20240101120000"},
      {"equal keeps the first", {"20240101120000.500000+0100", "20240101120000.5"}, "20240101120000.500000+0100"},
      {"fraction counts to the millisecond", {"20240101120000.001", "20240101120000.002"}, "20240101120000.002"},
      {"items without a date-time are skipped", {nullptr, "20200101"}, "20200101"},
      {"at or before the start of the count", {"18991230", "18001231235959"}, ""},
      {"year out of range is year 1", {"99990101"}, ""},
  };
  for (const Case& c : cases) {
    b.File.FDataSet.Clear();
    b.Text(0x0040A493, "VERIFIED");
    Observers(c.times);
    TanSrDocumentIE r(b.File);
    ASSERT_NE(r.GetDataSet().Find(0x0040A030), nullptr) << c.name;
    EXPECT_EQ(r.GetText(0x0040A030), c.expected) << c.name;
  }
}

TEST_F(SrDocumentTest, PointInTime) {
  struct Case {
    const char* text;
    double expected;
  } cases[] = {
      {"", 0},
      {"18991230", 0},
      {"18991231", 1},
      {"19000101", 2},
      {"20000101", 36526},
      {"200001011200", 36526.5},
      {"2000-01-01T06:00", 36526.25},
      {"20001301", 36526},         // month 13 becomes 01
      {"2000013212", 36526.5},     // day 32 becomes 01
      {"20000101240000", 36526},   // hour 24 becomes 00
      {"20000101000000.5", 36526 + 500.0 / 86400000},
      {"20000101000000.000999", 36526},  // only milliseconds count
      {"2000", 36526},
      {"2000010112", 36526.5},
      {"20000101000000.500000+0100", 36526 + 500.0 / 86400000},  // the offset does not count
  };
  for (const Case& c : cases)
    EXPECT_NEAR(TanSrDocumentIE::PointInTime(c.text), c.expected, 1e-9) << c.text;
}

TEST_F(SrDocumentTest, ConversionErrorsEndTheConstruction) {
  for (const char* text : {"20230229", "20240431", "20240101000060", "2024011a", "20x40101", "20240101000000.1x"}) {
    EXPECT_THROW(TanSrDocumentIE::PointInTime(text), EConvertError) << text;
  }
  EXPECT_NO_THROW(TanSrDocumentIE::PointInTime("20240229"));
  b.Text(0x0040A493, "VERIFIED");
  Observers({"20230229"});
  EXPECT_THROW(TanSrDocumentIE r(b.File), EConvertError);
}

}  // namespace
}  // namespace ORN_dicom
