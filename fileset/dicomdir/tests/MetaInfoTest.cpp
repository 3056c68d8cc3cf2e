#include <gtest/gtest.h>

#include <regex>

#include "dicom/elements/element/iDDE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "dicom/io/iod/TanDDEFactory.h"
#include "fileset/dicomdir/TanFileMetaInfo.h"
#include "fileset/dicomdir/TanFileSetIdentification.h"

using namespace ORN_dicom;

namespace {

std::string Text(TanDDESet<iDDE>& set, uint32_t tag) {
  iDDE* e = set.Find(tag);
  return e ? e->GetString() : "<absent>";
}

bool ValidUID(const std::string& uid) {
  static const std::regex pattern("(0|[1-9][0-9]*)(\\.(0|[1-9][0-9]*))*");
  return uid.size() <= 64 && std::regex_match(uid, pattern);
}

}  // namespace

TEST(FileMetaInfo, NewObjectWritesTheGroupInOrderWithItsLength) {
  TanFileMetaInfo meta;
  EXPECT_TRUE(meta.FValid);
  TanDicomFileObject file;
  meta.WriteTo(file);
  TanDDESet<iDDE>& group = file.FMetaGroup;
  const uint32_t tags[] = {0x00020000, 0x00020001, 0x00020002, 0x00020003, 0x00020010, 0x00020012, 0x00020013};
  ASSERT_EQ(group.Count(), 7u);
  uint32_t rest = 0;
  for (uint32_t i = 0; i < 7; ++i) {
    EXPECT_EQ(group.At(i)->Tag(), tags[i]);
    if (i > 0) rest += group.At(i)->Size();
  }
  EXPECT_EQ(group.At(0)->GetULong(), rest);
  EXPECT_EQ(Text(group, 0x00020002), "1.2.840.10008.1.3.10");
  EXPECT_EQ(Text(group, 0x00020010), "1.2.840.10008.1.2.1");
  EXPECT_EQ(Text(group, 0x00020012), "2.25.40263187551.0.20041017");
  EXPECT_EQ(Text(group, 0x00020013), "ORN_V3");
  ASSERT_NE(group.Find(0x00020001), nullptr);
  EXPECT_EQ(group.Find(0x00020001)->GetLength(), 2u);
}

TEST(FileMetaInfo, InstanceUIDsAreValidUniqueAndOfOneLength) {
  TanFileMetaInfo meta;
  std::string previous;
  for (int i = 0; i < 200; ++i) {
    const std::string uid = meta.MakeInstanceUID();
    EXPECT_TRUE(ValidUID(uid)) << uid;
    EXPECT_EQ(uid.rfind("2.25.40263187551.0.20041017.", 0), 0u) << uid;
    if (!previous.empty()) {
      EXPECT_NE(uid, previous);
      EXPECT_EQ(uid.size(), previous.size());
    }
    previous = uid;
  }
  // An implementation class UID read from another producer that leaves no room: our own root.
  meta.FImplementationClassUID = "1.2.3.4.5.6.7.8.9.10.11.12.13.14.15.16.17.18.19.20";
  EXPECT_TRUE(ValidUID(meta.MakeInstanceUID()));
  EXPECT_EQ(meta.MakeInstanceUID().rfind("2.25.40263187551.0.20041017.", 0), 0u);
}

TEST(FileMetaInfo, ReadFromAFileKeepsItsImplementationAndChecksTheClass) {
  TanDDEFactory factory(2);
  struct Case {
    const char* sopClass;
    bool valid;
  } cases[] = {{"1.2.840.10008.1.3.10", true}, {"1.2.840.10008.5.1.4.1.1.2", false}, {nullptr, false}};
  for (const Case& c : cases) {
    TanDicomFileObject file;
    if (c.sopClass) file.FMetaGroup.Insert(factory->MakeDDE(0x0002, 0x0002, 1, c.sopClass));
    file.FMetaGroup.Insert(factory->MakeDDE(0x0002, 0x0012, 1, "1.2.276.0.7230010.3.0.3.6.7"));
    file.FMetaGroup.Insert(factory->MakeDDE(0x0002, 0x0013, 1, "OFFIS_DCMTK_367"));
    TanFileMetaInfo meta(file);
    EXPECT_EQ(meta.FValid, c.valid) << (c.sopClass ? c.sopClass : "none");
    EXPECT_EQ(meta.FImplementationClassUID, "1.2.276.0.7230010.3.0.3.6.7");
    EXPECT_EQ(meta.FImplementationVersionName, "OFFIS_DCMTK_367");
    EXPECT_EQ(file.FMetaGroup.Count(), c.sopClass ? 3u : 2u);
  }
}

TEST(FileSetIdentification, NewReadAndAbsent) {
  {
    TanFileSetIdentification id;
    ASSERT_NE(id.FFileSetID, nullptr);
    EXPECT_EQ(id.FFileSetID->GetString(), "DFS_FSU_ORN");
    TanDicomFileObject file;
    id.WriteTo(file);
    EXPECT_EQ(file.FDataSet.Count(), 1u);
    file.FDataSet.ReleaseAll();
  }
  {
    TanDDEFactory factory(2);
    TanDicomFileObject file;
    file.FDataSet.Insert(factory->MakeDDE(0x0004, 0x1130, 1, "OTHER"));
    file.FDataSet.Insert(factory->MakeDDE(0x0004, 0x1200, 1, uint32_t{0}));
    TanFileSetIdentification id(file);
    ASSERT_NE(id.FFileSetID, nullptr);
    EXPECT_EQ(id.FFileSetID->GetString(), "OTHER");
    EXPECT_EQ(file.FDataSet.Count(), 1u);
  }
  {
    TanDicomFileObject file;
    TanFileSetIdentification id(file);
    EXPECT_EQ(id.FFileSetID, nullptr);
    id.WriteTo(file);
    EXPECT_TRUE(file.FDataSet.IsEmpty());
  }
}
