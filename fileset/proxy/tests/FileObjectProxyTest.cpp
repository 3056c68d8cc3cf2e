#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dicom/io/file/TanDicomFileObject.h"
#include "fileset/proxy/FileAccessProxies.h"
#include "fileset/proxy/ProxyCodes.h"
#include "fileset/proxy/tests/ProxyTestFolder.h"

using namespace ORN_dicom;
using namespace proxy_test;

namespace {

// A proxy that counts its destructions, to see what installing another one does.
int gDeleted = 0;
class CountedFileObjectProxy : public iDICOM_FILE_OBJECT_PROXY {
 public:
  ~CountedFileObjectProxy() override { ++gDeleted; }

 protected:
  int32_t ReadFileRange(const char*, int64_t, int64_t, void*, bool) override { return 5; }
  int32_t LoadHeader(const char*, TanDicomFileObject*, bool) override { return 5; }
  int32_t LoadFile(const char*, TanDicomFileObject*, bool) override { return 5; }
  bool IsAvailable() override { return false; }
};

// Runs first in this program (and each test runs alone under CTest): nothing is installed yet.
TEST(FileObjectProxies, FirstUseInstallsOneLocalProxy) {
  ASSERT_EQ(GetFileObjectProxy(), nullptr);
  iDICOM_FILE_OBJECT_PROXY* first = GetOrCreateFileObjectProxy();
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->IsAvailable());
  EXPECT_EQ(GetOrCreateFileObjectProxy(), first);
  EXPECT_EQ(GetFileObjectProxy(), first);
}

TEST(FileObjectProxies, InstallingAnotherDeletesThePreviousOne) {
  gDeleted = 0;
  auto* counted = new CountedFileObjectProxy;
  ORN_dicom_impl::InstallFileObjectProxy(counted);
  EXPECT_EQ(GetFileObjectProxy(), counted);
  EXPECT_FALSE(GetFileObjectProxy()->IsAvailable());
  iDICOM_FILE_OBJECT_PROXY* local = NewLocalFileObjectProxy();
  ASSERT_NE(local, nullptr);
  EXPECT_EQ(gDeleted, 1);
  EXPECT_EQ(GetFileObjectProxy(), local);
  EXPECT_TRUE(local->IsAvailable());
}

class FileObjectProxy : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ScratchFolder("proxy_file");
    bytes_.resize(1000);
    for (size_t i = 0; i < bytes_.size(); ++i) bytes_[i] = static_cast<char>(i * 13 + 1);
    WriteAll(folder_ / "range.bin", bytes_);
    proxy_ = NewLocalFileObjectProxy();
    ASSERT_NE(proxy_, nullptr);
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Calls the protected slot through the implementation's own public view.
  int32_t ReadRange(const char* path, int64_t offset, int64_t length, void* buffer, bool overlapped) {
    struct Open : ORN_dicom_impl::iDICOM_FILE_OBJECT_PROXY_PROTECTED {
      static int32_t Call(iDICOM_FILE_OBJECT_PROXY* p, const char* path, int64_t offset, int64_t length,
                          void* buffer, bool overlapped) {
        return (p->*(&Open::ReadFileRange))(path, offset, length, buffer, overlapped);
      }
    };
    return Open::Call(proxy_, path, offset, length, buffer, overlapped);
  }

  fs::path folder_;
  std::string bytes_;
  iDICOM_FILE_OBJECT_PROXY* proxy_ = nullptr;
};

TEST_F(FileObjectProxy, ReadFileRangeReadsExactlyTheRangeOrFails) {
  const std::string file = (folder_ / "range.bin").string();
  const std::string missing = (folder_ / "missing.bin").string();
  struct Case {
    const char* what;
    std::string path;
    int64_t offset, length;
    int32_t code;
  } cases[] = {
      {"whole file", file, 0, 1000, proxy_code::kDone},
      {"middle", file, 100, 250, proxy_code::kDone},
      {"up to the end", file, 900, 100, proxy_code::kDone},
      {"nothing", file, 10, 0, proxy_code::kDone},
      {"40 bytes before the end, 100 asked", file, 960, 100, proxy_code::kFailed},
      {"beyond the end", file, 2000, 10, proxy_code::kFailed},
      {"negative offset", file, -1, 10, proxy_code::kFailed},
      {"length with a high half", file, 0, int64_t{1} << 32, proxy_code::kFailed},
      {"missing file", missing, 0, 10, proxy_code::kFailed},
      {"empty path", "", 0, 10, proxy_code::kBadArgument},
  };
  for (bool overlapped : {false, true}) {
    for (const Case& c : cases) {
      std::vector<char> buffer(1100, '\x7f');
      EXPECT_EQ(ReadRange(c.path.c_str(), c.offset, c.length, buffer.data(), overlapped), c.code)
          << c.what << (overlapped ? " (overlapped)" : "");
      if (c.code == proxy_code::kDone) {
        EXPECT_EQ(std::string(buffer.data(), c.length), bytes_.substr(c.offset, c.length)) << c.what;
        EXPECT_EQ(buffer[c.length], '\x7f') << c.what << ": nothing written past the range";
      }
    }
  }
  EXPECT_EQ(ReadRange(nullptr, 0, 1, nullptr, false), proxy_code::kBadArgument);
}

TEST_F(FileObjectProxy, LoadFileObjectReadsTheHeaderOrTheWholeFile) {
  WriteImage(folder_ / "image.dcm", "1.2.3.9", 1);
  const std::string image = (folder_ / "image.dcm").string();
  for (bool flag : {false, true}) {
    TanDicomFileObject header;
    EXPECT_EQ(proxy_->LoadFileObject(image.c_str(), &header, false, flag), proxy_code::kDone);
    EXPECT_NE(header.FDataSet.Find(0x00080018u), nullptr);
    EXPECT_EQ(header.FDataSet.Find(0x7FE00010u), nullptr) << "the header stops before the pixel data";

    TanDicomFileObject whole;
    EXPECT_EQ(proxy_->LoadFileObject(image.c_str(), &whole, true, flag), proxy_code::kDone);
    EXPECT_NE(whole.FDataSet.Find(0x7FE00010u), nullptr);
  }
}

TEST_F(FileObjectProxy, LoadFileObjectReportsBadArgumentsAndFailedReads) {
  WriteAll(folder_ / "text.dcm", std::string(300, 'x'));
  const std::string notDicom = (folder_ / "text.dcm").string();
  const std::string missing = (folder_ / "missing.dcm").string();
  struct Case {
    const char* what;
    const char* path;
    int32_t code;
  } cases[] = {
      {"empty path", "", proxy_code::kBadArgument},
      {"null path", nullptr, proxy_code::kBadArgument},
      {"not a DICOM file", notDicom.c_str(), proxy_code::kFailed},
      {"missing file", missing.c_str(), proxy_code::kFailed},
  };
  for (const Case& c : cases) {
    for (bool whole : {false, true}) {
      TanDicomFileObject file;
      EXPECT_EQ(proxy_->LoadFileObject(c.path, &file, whole, false), c.code) << c.what << (whole ? " (whole)" : "");
    }
  }
}

}  // namespace
