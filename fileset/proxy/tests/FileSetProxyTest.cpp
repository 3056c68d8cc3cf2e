#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "dicom/io/file/TanDicomFileObject.h"
#include "fileset/proxy/FileAccessProxies.h"
#include "fileset/proxy/ProxyCodes.h"
#include "fileset/proxy/tests/ProxyTestFolder.h"
#include "platform/com/Library.h"

using namespace ORN_dicom;
using namespace proxy_test;

namespace {

int gDeleted = 0;
class CountedFileSetProxy : public iDICOM_FILE_SET_PROXY {
 public:
  ~CountedFileSetProxy() override { ++gDeleted; }

 protected:
  int32_t LoadFileSet(TanDicomFileSet*, bool) override { return 5; }
  int32_t GetStartSelection(char*, char*, char*, int32_t*) override { return 5; }
  bool IsAvailable() override { return false; }
  int32_t SaveKeyObjects(const char*, platform::WindowHandle) override { return 5; }
  int32_t ShowPatientList() override { return 5; }
  int32_t FirstPatient() override { return 5; }
  int32_t LastPatient() override { return 5; }
  int32_t NextPatient() override { return 5; }
  int32_t PreviousPatient() override { return 5; }
  int32_t GetPatientPosition(int32_t*, int32_t*) override { return 5; }
  int32_t ShowStudyAttachments(const char*) override { return 5; }
  int32_t NotifySeriesDisplayed(const char*, const char*, const char*, uint8_t) override { return 5; }
  int32_t GetNextMessage(char*) override { return 5; }
  int32_t GetPatientStudyStatuses(const char*, const char**, int32_t*) override { return 5; }
  int32_t SetStudyStatus(const char*, uint8_t) override { return 5; }
  int32_t GetStudyStatusDefinitions(char*, const char**, int32_t*) override { return 5; }
  int32_t ReleaseBuffer(const char*) override { return 5; }
};

TEST(FileSetProxies, FirstUseInstallsALocalProxyForDicomdirInTheCurrentFolder) {
  ASSERT_EQ(GetFileSetProxy(), nullptr);
  iDICOM_FILE_SET_PROXY* first = GetOrCreateFileSetProxy();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLocalDicomDirPath(), "DICOMDIR");
  EXPECT_EQ(GetOrCreateFileSetProxy(), first);
}

TEST(FileSetProxies, InstallingAnotherDeletesThePreviousOne) {
  gDeleted = 0;
  auto* counted = new CountedFileSetProxy;
  ORN_dicom_impl::InstallFileSetProxy(counted);
  EXPECT_EQ(GetFileSetProxy(), counted);
  iDICOM_FILE_SET_PROXY* local = CreateLocalFileSetProxy("/some/where/DICOMDIR");
  ASSERT_NE(local, nullptr);
  EXPECT_EQ(gDeleted, 1);
  EXPECT_EQ(GetFileSetProxy(), local);
  EXPECT_EQ(GetLocalDicomDirPath(), "/some/where/DICOMDIR");
  // A null path makes the path empty; the proxy is then not available.
  iDICOM_FILE_SET_PROXY* empty = NewLocalFileSetProxy(nullptr);
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(GetLocalDicomDirPath(), "");
  EXPECT_FALSE(empty->CallIsAvailable());
}

TEST(FileSetProxies, SessionNumberKeepsBothHalves) {
  SetSessionNumber(0x89ABCDEFu, 0x01234567u);
  EXPECT_EQ(GetSessionNumber(), int64_t{0x0123456789ABCDEF});
  SetSessionNumber(0xFFFFFFFFu, 0xFFFFFFFFu);
  EXPECT_EQ(GetSessionNumber(), -1);
}

TEST(LocalFileSetProxy, HostOnlyOperationsAreNotSupported) {
  iDICOM_FILE_SET_PROXY* proxy = NewLocalFileSetProxy("DICOMDIR");
  ASSERT_NE(proxy, nullptr);
  char buffer[256] = "untouched";
  const char* text = nullptr;
  int32_t length = -3, count = 4, position = 2;
  const std::pair<const char*, std::function<int32_t()>> operations[] = {
      {"ShowPatientList", [&] { return proxy->CallShowPatientList(); }},
      {"FirstPatient", [&] { return proxy->CallFirstPatient(); }},
      {"LastPatient", [&] { return proxy->CallLastPatient(); }},
      {"NextPatient", [&] { return proxy->CallNextPatient(); }},
      {"PreviousPatient", [&] { return proxy->CallPreviousPatient(); }},
      {"GetPatientPosition", [&] { return proxy->CallGetPatientPosition(&count, &position); }},
      {"ShowStudyAttachments", [&] { return proxy->CallShowStudyAttachments("1.2.3"); }},
      {"NotifySeriesDisplayed", [&] { return proxy->CallNotifySeriesDisplayed("P", "1.2", "1.2.3", 0); }},
      {"GetNextMessage", [&] { return proxy->CallGetNextMessage(buffer); }},
      {"GetPatientStudyStatuses", [&] { return proxy->CallGetPatientStudyStatuses("P", &text, &length); }},
      {"SetStudyStatus", [&] { return proxy->CallSetStudyStatus("1.2", 3); }},
      {"GetStudyStatusDefinitions", [&] { return proxy->CallGetStudyStatusDefinitions(buffer, &text, &length); }},
      {"ReleaseBuffer", [&] { return proxy->CallReleaseBuffer("x"); }},
  };
  for (const auto& [name, call] : operations) EXPECT_EQ(call(), proxy_code::kNotSupported) << name;
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(length, -3);
  EXPECT_EQ(count, 4);
  EXPECT_EQ(position, 2);
}

TEST(LocalFileSetProxy, StartSelectionLeavesTheBuffersAlone) {
  iDICOM_FILE_SET_PROXY* proxy = NewLocalFileSetProxy("DICOMDIR");
  char patient[65], study[65], series[65];
  std::memset(patient, 'p', sizeof patient);
  std::memset(study, 's', sizeof study);
  std::memset(series, 'e', sizeof series);
  int32_t stack = 7;
  EXPECT_EQ(proxy->CallGetStartSelection(patient, study, series, &stack), proxy_code::kDone);
  EXPECT_EQ(std::string(patient, 65), std::string(65, 'p'));
  EXPECT_EQ(std::string(study, 65), std::string(65, 's'));
  EXPECT_EQ(std::string(series, 65), std::string(65, 'e'));
  EXPECT_EQ(stack, 7);
}

class LocalFileSetLoad : public ::testing::Test {
 protected:
  void SetUp() override { folder_ = ScratchFolder("proxy_set"); }
  void TearDown() override { fs::remove_all(folder_); }
  fs::path folder_;
};

TEST_F(LocalFileSetLoad, AvailabilityAndLoadFollowTheDicomdirPath) {
  WriteImage(folder_ / "set" / "IM1", "1.2.3.1", 1, "PID1");
  WriteImage(folder_ / "set" / "IM2", "1.2.3.2", 1, "PID2");
  SaveDicomDir(folder_ / "set");
  WriteAll(folder_ / "notes.txt", std::string(400, 'n'));
  const std::string dicomdir = (folder_ / "set" / "DICOMDIR").string();
  const std::string image = (folder_ / "set" / "IM1").string();
  const std::string text = (folder_ / "notes.txt").string();
  const std::string missing = (folder_ / "set" / "NODIR").string();
  const std::string folder = (folder_ / "set").string();
  struct Case {
    const char* what;
    std::string path;
    bool available;
    int32_t code;
    bool namesTheFile;  // the last error text names the path
  } cases[] = {
      {"own DICOMDIR", dicomdir, true, proxy_code::kDone, false},
      {"missing file", missing, false, proxy_code::kNotPresent, false},
      {"empty path", "", false, proxy_code::kNotPresent, false},
      {"a folder", folder, false, proxy_code::kNotPresent, false},
      {"an image, not a DICOMDIR", image, true, proxy_code::kFailed, true},
      {"a text file", text, true, proxy_code::kFailed, false},
  };
  for (const Case& c : cases) {
    iDICOM_FILE_SET_PROXY* proxy = NewLocalFileSetProxy(c.path.c_str());
    ASSERT_NE(proxy, nullptr);
    EXPECT_EQ(proxy->CallIsAvailable(), c.available) << c.what;
    TanDicomFileSet fileSet;
    EXPECT_EQ(proxy->CallLoadFileSet(&fileSet, false), c.code) << c.what;
    EXPECT_EQ(fileSet.FValid, c.code == proxy_code::kDone) << c.what;
    if (c.code == proxy_code::kNotPresent) {
      EXPECT_EQ(fileSet.GetDicomDir(), nullptr) << c.what << ": the file set is left untouched";
      EXPECT_EQ(fileSet.GetLastError(), "") << c.what;
    }
    if (c.code == proxy_code::kFailed) {
      EXPECT_NE(fileSet.GetLastError(), "") << c.what;
    }
    if (c.namesTheFile) {
      EXPECT_NE(fileSet.GetLastError().find(c.path), std::string::npos) << fileSet.GetLastError();
    }
    if (c.code == proxy_code::kDone) {
      ASSERT_NE(fileSet.GetDicomDir(), nullptr);
      ASSERT_EQ(fileSet.GetDicomDir()->Patients().Count(), 2);
      EXPECT_TRUE(fileSet.IsOwnDicomDir());
      EXPECT_EQ(fileSet.GetFolderWithSeparator(), (folder_ / "set").string() + "/");
    }
  }
  EXPECT_EQ(NewLocalFileSetProxy(dicomdir.c_str())->CallLoadFileSet(nullptr, false), proxy_code::kBadArgument);
}

}  // namespace

namespace {

// The stand-alone start opens the DICOMDIR in the program's folder: the build puts the sample
// file set there.
TEST(LocalFileSetProxy, TheSampleBesideTheProgramOpensAsOurOwn) {
  const std::string dicomdir = platform::ProgramFolder() + "DICOMDIR";
  iDICOM_FILE_SET_PROXY* proxy = CreateLocalFileSetProxy(dicomdir.c_str());
  ASSERT_TRUE(proxy->CallIsAvailable()) << dicomdir;
  TanDicomFileSet fileSet;
  ASSERT_EQ(proxy->CallLoadFileSet(&fileSet, false), proxy_code::kDone) << fileSet.GetLastError();
  EXPECT_TRUE(fileSet.IsOwnDicomDir());
  EXPECT_EQ(fileSet.GetDicomDir()->Patients().Count(), 6);

  // Every image of it reads through the file-object proxy.
  iDICOM_FILE_OBJECT_PROXY* files = GetOrCreateFileObjectProxy();
  int images = 0;
  for (TanPatientIE* patient : fileSet.GetDicomDir()->Patients())
    for (TanStudyIE* study : patient->FStudies)
      for (TanSeriesIE* series : study->FSeries)
        for (auto* image : series->FImages) {
          const std::string path = fileSet.GetFolderWithSeparator() + image->GetReferencedFilePath();
          TanDicomFileObject file;
          EXPECT_EQ(files->LoadFileObject(path.c_str(), &file, true, false), proxy_code::kDone) << path;
          ++images;
        }
  EXPECT_EQ(images, 8);
}

}  // namespace
