#include <gtest/gtest.h>

#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "fileset/stacks/SeriesOrder.h"
#include "fileset/testing/TestImages.h"

using namespace ORN_dicom;
using ORN_dicom::testing::TestImage;

namespace {

struct SeriesSpec {
  const char* uid;
  const char* number;  // "" for none
  const char* date;
  const char* time;
  const char* modality;
};

std::unique_ptr<TanStudyIE> Study(const std::vector<SeriesSpec>& specs) {
  TanDicomFileObject studyFile;
  ORN_dicom::testing::BuildTestImage(studyFile, TestImage());
  auto study = std::make_unique<TanStudyIE>(studyFile);
  for (const SeriesSpec& s : specs) {
    TestImage image;
    image.seriesUID = s.uid;
    image.seriesNumber = s.number;
    image.modality = s.modality;
    image.extra = [s](TanDDESet<iDDE>& data, iDDEFactory& f) {
      data.DeleteByTag(0x00200011u);
      if (*s.number) data.Insert(f.MakeDDE(0x0020, 0x0011, 1, s.number));
      if (*s.date) data.Insert(f.MakeDDE(0x0008, 0x0021, 1, s.date));
      if (*s.time) data.Insert(f.MakeDDE(0x0008, 0x0031, 1, s.time));
    };
    TanDicomFileObject file;
    ORN_dicom::testing::BuildTestImage(file, image);
    study->FSeries.Append(ntl::auto_ptr<TanSeriesIE>(new TanSeriesIE(file)));
  }
  return study;
}

std::string Order(TanStudyIE& study) {
  std::string order;
  for (TanSeriesIE* s : study.FSeries) order += s->GetSeriesInstanceUID() + " ";
  return order;
}

}  // namespace

TEST(SeriesOrder, GroupingChoosesTheOrder) {
  struct Case {
    const char* name;
    int32_t grouping;
    std::vector<SeriesSpec> series;
    const char* order;
  } cases[] = {
      {"numbers", 0, {{"3", "3", "20240101", "", "CT"}, {"1", "1", "20250101", "", "CT"}, {"2", "2", "", "", "CT"},
                      {"0", "", "20240101", "", "CT"}},
       "0 1 2 3 "},
      {"kept below 0", -1, {{"3", "3", "", "", "CT"}, {"1", "1", "", "", "CT"}}, "3 1 "},
      {"dates", 0, {{"u", "1", "", "", "CT"}, {"b", "1", "20240102", "", "CT"}, {"a", "1", "20240101", "", "CT"}},
       "a b u "},
      {"times", 0, {{"late", "1", "20240101", "101500", "CT"}, {"early", "1", "20240101", "093000.5", "CT"}},
       "early late "},
      {"modalities", 1,
       {{"pr", "1", "", "", "PR"}, {"mr2", "2", "", "", "MR"}, {"ct", "5", "", "", "CT"}, {"mr1", "1", "", "", "MR"}},
       "ct mr1 mr2 pr "},
  };
  for (const Case& c : cases) {
    auto study = Study(c.series);
    series_order::OrganizeSeries(*study, c.grouping);
    EXPECT_EQ(Order(*study), c.order) << c.name;
  }
}

TEST(SeriesOrder, EarlierTestRules) {
  auto study = Study({{"a", "1", "20240101", "000000", "CT"},
                      {"b", "1", "20240101", "", "CT"},
                      {"c", "1", "", "", "CT"},
                      {"d", "1", "", "", "CT"}});
  TanSeriesIE& a = *study->FSeries.At(0);
  TanSeriesIE& b = *study->FSeries.At(1);
  TanSeriesIE& c = *study->FSeries.At(2);
  TanSeriesIE& d = *study->FSeries.At(3);
  // A dated series goes before one without a date; two undated ones are before neither.
  EXPECT_TRUE(series_order::IsSeriesEarlier(b, c));
  EXPECT_FALSE(series_order::IsSeriesEarlier(c, b));
  EXPECT_FALSE(series_order::IsSeriesEarlier(c, d));
  EXPECT_FALSE(series_order::IsSeriesEarlier(d, c));
  // Midnight against a missing time: equal times, so the first images decide (none here).
  EXPECT_FALSE(series_order::IsSeriesEarlier(a, b));
}
