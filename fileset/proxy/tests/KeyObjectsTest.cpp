#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "fileset/proxy/FileAccessProxies.h"
#include "fileset/proxy/KeyFileProtocol.h"
#include "fileset/proxy/ProxyCodes.h"
#include "fileset/proxy/tests/ProxyTestFolder.h"
#include "platform/files/FileAttributes.h"
#include "platform/windows/Messages.h"
#include "platform/windows/Window.h"

using namespace ORN_dicom;
using namespace proxy_test;
namespace attr = platform::attr;

namespace {

// Only the bits of the hand-over protocol.
uint32_t ProtocolBits(const fs::path& path) {
  const uint32_t word = platform::GetFileAttributes(path.string());
  if (word == platform::kInvalidFileAttributes) return word;
  return word & (attr::ReadOnly | attr::Hidden | attr::Archive | attr::Offline);
}

void SetBits(const fs::path& path, uint32_t bits) {
  ASSERT_TRUE(platform::SetFileAttributes(path.string(), attr::Normal));
  ASSERT_TRUE(platform::SetFileAttributes(path.string(), bits == 0 ? attr::Normal : bits)) << path;
}

class KeyObjects : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ScratchFolder("proxy_keys");
    set_ = folder_ / "set";
    WriteImage(set_ / "IM1", "1.2.3.1", 1);
    SaveDicomDir(set_);
    keys_ = set_ / "KEYS";
    fs::create_directories(keys_ / "SUB");
    window_ = std::make_unique<platform::Window>([this](uint32_t message, platform::WParam w, platform::LParam l) {
      if (message == proxy_code::kKeyObjectSavedMessage) posted_.push_back({static_cast<int>(w), static_cast<int>(l)});
      return platform::LResult{0};
    });
    proxy_ = NewLocalFileSetProxy((set_ / "DICOMDIR").string().c_str());
    ASSERT_NE(proxy_, nullptr);
  }
  void TearDown() override {
    // Read-only files of the scratch folder must become writable to be removed.
    for (const auto& e : fs::recursive_directory_iterator(folder_))
      if (e.is_regular_file()) platform::SetFileAttributes(e.path().string(), attr::Normal);
    window_.reset();
    fs::remove_all(folder_);
  }

  // The Referenced File IDs of the images in the saved DICOMDIR.
  std::vector<std::string> SavedImages() {
    TanDicomFileSet fileSet;
    EXPECT_TRUE(fileSet.OpenDicomDir((set_ / "DICOMDIR").string())) << fileSet.GetLastError();
    std::vector<std::string> ids;
    if (!fileSet.GetDicomDir()) return ids;
    for (int32_t p = 0; p < fileSet.GetDicomDir()->Patients().Count(); ++p)
      for (int32_t s = 0; s < fileSet.GetDicomDir()->Patients().At(p)->FStudies.Count(); ++s) {
        TanStudyIE* study = fileSet.GetDicomDir()->Patients().At(p)->FStudies.At(s);
        for (int32_t r = 0; r < study->FSeries.Count(); ++r)
          for (int32_t i = 0; i < study->FSeries.At(r)->FImages.Count(); ++i)
            ids.push_back(study->FSeries.At(r)->FImages.At(i)->GetReferencedFileID());
      }
    std::sort(ids.begin(), ids.end());
    return ids;
  }

  struct Posted {
    int wParam, lParam;
  };
  fs::path folder_, set_, keys_;
  std::unique_ptr<platform::Window> window_;
  std::vector<Posted> posted_;
  iDICOM_FILE_SET_PROXY* proxy_ = nullptr;
};

TEST_F(KeyObjects, OnlyReadyFilesAreTakenAddedAndReported) {
  struct Case {
    const char* name;
    uint32_t bits;
    bool ready;
  } cases[] = {
      {"READY.ornkitmp", attr::ReadOnly | attr::Archive, true},
      {"SUB/DEEP.ornkitmp", attr::ReadOnly | attr::Archive, true},
      {"HIDDEN.ornkitmp", attr::ReadOnly | attr::Archive | attr::Hidden, false},
      {"WRITABLE.ornkitmp", attr::Archive, false},
      {"NOARCH.ornkitmp", attr::ReadOnly, false},
      {"TAKEN.ornkitmp", attr::Offline, false},
      {"OFFLINE.ornkitmp", attr::ReadOnly | attr::Archive | attr::Offline, false},
  };
  int number = 10;
  for (const Case& c : cases) {
    WriteImage(keys_ / c.name, "1.2.3.7", ++number);
    SetBits(keys_ / c.name, c.bits);
  }
  EXPECT_EQ(proxy_->CallSaveKeyObjects(keys_.string().c_str(), window_->Handle()), proxy_code::kDone);
  platform::ProcessMessages();

  ASSERT_EQ(posted_.size(), 2u) << "one message per ready file";
  for (const Posted& p : posted_) {
    EXPECT_EQ(p.wParam, 0);
    EXPECT_EQ(p.lParam, proxy_code::kDone);
  }
  for (const Case& c : cases)
    EXPECT_EQ(ProtocolBits(keys_ / c.name), c.ready ? attr::Offline : c.bits) << c.name;
  EXPECT_EQ(SavedImages(), (std::vector<std::string>{"IM1", "KEYS\\READY.ornkitmp", "KEYS\\SUB\\DEEP.ornkitmp"}));
}

TEST_F(KeyObjects, AFileThatCannotBeAddedIsHandedBack) {
  WriteAll(keys_ / "BROKEN.ornkitmp", std::string(300, 'b'));
  SetBits(keys_ / "BROKEN.ornkitmp", attr::ReadOnly | attr::Archive);
  const std::string before = ReadAll(set_ / "DICOMDIR");

  EXPECT_EQ(proxy_->CallSaveKeyObjects(keys_.string().c_str(), window_->Handle()), proxy_code::kFailed);
  platform::ProcessMessages();

  ASSERT_EQ(posted_.size(), 1u);
  EXPECT_EQ(posted_[0].lParam, proxy_code::kFailed);
  EXPECT_EQ(ProtocolBits(keys_ / "BROKEN.ornkitmp"), attr::ReadOnly | attr::Archive) << "ready again";
  EXPECT_EQ(ReadAll(set_ / "DICOMDIR"), before);
}

TEST_F(KeyObjects, ArgumentsAndMissingDicomdir) {
  // Nothing to take: done, nothing posted, the DICOMDIR not rewritten.
  const std::string before = ReadAll(set_ / "DICOMDIR");
  EXPECT_EQ(proxy_->CallSaveKeyObjects(keys_.string().c_str(), window_->Handle()), proxy_code::kDone);
  EXPECT_EQ(ReadAll(set_ / "DICOMDIR"), before);
  EXPECT_EQ(proxy_->CallSaveKeyObjects("", window_->Handle()), proxy_code::kBadArgument);
  EXPECT_EQ(proxy_->CallSaveKeyObjects(nullptr, window_->Handle()), proxy_code::kBadArgument);

  WriteImage(keys_ / "READY.ornkitmp", "1.2.3.7", 5);
  SetBits(keys_ / "READY.ornkitmp", attr::ReadOnly | attr::Archive);
  iDICOM_FILE_SET_PROXY* orphan = NewLocalFileSetProxy((folder_ / "DICOMDIR").string().c_str());
  EXPECT_EQ(orphan->CallSaveKeyObjects(keys_.string().c_str(), window_->Handle()), proxy_code::kNotPresent);
  platform::ProcessMessages();
  EXPECT_TRUE(posted_.empty());
  EXPECT_EQ(ProtocolBits(keys_ / "READY.ornkitmp"), attr::ReadOnly | attr::Archive);
}

TEST_F(KeyObjects, ProtocolStatesOnTheAttributeWord) {
  const fs::path file = keys_ / "F.ornkitmp";
  WriteAll(file, "x");
  struct Case {
    uint32_t bits;
    bool ready;
  } cases[] = {
      {attr::ReadOnly | attr::Archive, true},
      {attr::ReadOnly | attr::Archive | attr::System, true},
      {attr::ReadOnly | attr::Archive | attr::Hidden, false},
      {attr::ReadOnly | attr::Archive | attr::Offline, false},
      {attr::ReadOnly, false},
      {attr::Archive, false},
      {0, false},
  };
  for (const Case& c : cases) {
    SetBits(file, c.bits);
    EXPECT_EQ(ORN_dicom_impl::key_file::IsReady(file.string()), c.ready) << std::hex << c.bits;
  }
  SetBits(file, attr::ReadOnly | attr::Archive | attr::Hidden);
  EXPECT_TRUE(ORN_dicom_impl::key_file::Claim(file.string(), 3));
  EXPECT_EQ(ProtocolBits(file), attr::Offline);
  EXPECT_TRUE(ORN_dicom_impl::key_file::MakeReady(file.string()));
  EXPECT_EQ(ProtocolBits(file), attr::ReadOnly | attr::Archive);

  // A file that vanished cannot be claimed, and the attempts end.
  EXPECT_FALSE(ORN_dicom_impl::key_file::Claim((keys_ / "GONE.ornkitmp").string(), 5));
  EXPECT_FALSE(ORN_dicom_impl::key_file::MakeReady((keys_ / "GONE.ornkitmp").string()));
}

}  // namespace
