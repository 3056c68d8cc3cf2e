#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dicom/entities/registry/RecordKeys.h"
#include "dicom/entities/registry/TanIEKind.h"
#include "dicom/entities/registry/TanReestrSOPClassUID.h"

namespace ORN_dicom {
namespace {

TanIEKind KindOf(const std::string& uid) {
  TanReestrSOPClassUID r;
  r.Classify(uid);
  return r.kind;
}

TEST(TanReestrSOPClassUID, ClassifiesByExactUID) {
  struct Case {
    const char* uid;
    TanIEKind kind;
  } cases[] = {
      {"1.2.840.10008.5.1.4.1.1.2", ieImage},
      {"1.2.840.10008.5.1.4.1.1.2.2", ieNone},
      {"1.2.840.10008.5.1.4.1.1.11.1", iePresentation},
      {"1.2.840.10008.5.1.4.1.1.11", ieVoiLut},
      {"1.2.840.10008.5.1.4.38.1", ieHangingProtocol},
      {"2.16.840.1.113883.1.7.2", ieHL7StrucDoc},
      {"1.2.840.10008.5.1.4.1.1.77.1.5.3", ieStereometric},
      {"1.2.840.10008.5.1.4.1.1.66", ieRawData},
      {"1.2.840.10008.5.1.4.1.1.66.4", ieImage},
      {"1.2.840.10008.3.1.2.1.1", iePatient},
      {"", ieNone},
  };
  for (const Case& c : cases) EXPECT_EQ(KindOf(c.uid), c.kind) << c.uid;
}

TEST(TanReestrSOPClassUID, NoMatchLeavesKindAndTypeAlone) {
  TanReestrSOPClassUID r;
  r.Classify("1.2.840.10008.5.1.4.1.1.88.59");
  EXPECT_EQ(r.kind, ieKeyObjectDoc);
  EXPECT_EQ(r.recordType, "KEY OBJECT DOC");
  r.Classify("1.2.3");
  EXPECT_EQ(r.kind, ieKeyObjectDoc);
  EXPECT_EQ(r.recordType, "KEY OBJECT DOC");
}

TEST(TanIEKind, RecordTypesAndSeriesLevel) {
  EXPECT_STREQ(IEKindRecordType(ieRtTreatRecord), "RT TREAT RECORD");
  EXPECT_STREQ(IEKindRecordType(iePrivate), "PRIVATE");
  EXPECT_STREQ(IEKindRecordType(ieNone), "");
  EXPECT_STREQ(IEKindRecordType(static_cast<TanIEKind>(26)), "");
  EXPECT_TRUE(IsSeriesLevelKind(ieImage));
  EXPECT_TRUE(IsSeriesLevelKind(iePrivate));
  EXPECT_TRUE(IsSeriesLevelKind(ieStereometric));
  EXPECT_FALSE(IsSeriesLevelKind(static_cast<TanIEKind>(26)));
  EXPECT_FALSE(IsSeriesLevelKind(ieHL7StrucDoc));
}

}  // namespace
}  // namespace ORN_dicom

#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"

namespace ORN_dicom {
namespace {

TEST(TanReestrSOPClassUID, ReadsTheMetaGroupTrimmed) {
  EnsureDDERegistry();
  TanDDEFactory factory(2);
  TanDicomFileObject file;
  ASSERT_TRUE(file.FMetaGroup.Insert(factory->MakeDDE(0x0002, 0x0002, 1, "1.2.840.10008.5.1.4.1.1.2 ")));
  TanReestrSOPClassUID r(file);
  EXPECT_EQ(r.kind, ieImage);
  EXPECT_EQ(r.recordType, "IMAGE");
  EXPECT_EQ(TrimText(r.sopClassUID), "1.2.840.10008.5.1.4.1.1.2");

  TanDicomFileObject empty;
  TanReestrSOPClassUID none(empty);
  EXPECT_EQ(none.kind, ieNone);
  EXPECT_EQ(none.recordType, "");
  EXPECT_EQ(none.sopClassUID, "");
}

}  // namespace
}  // namespace ORN_dicom
